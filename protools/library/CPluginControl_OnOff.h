// A switch: control value 0 is off, 1 is on, shown "Off" and "On".
#pragma once

#include "protools/library/CPluginControl.h"

class CPluginControl_OnOff : public CPluginControl {
public:
    CPluginControl_OnOff(std::uint32_t id, std::string names, bool defaultOn, bool automatable);

    int kind() const override;
    bool accepts(std::int32_t value) const override { return value == 0 || value == 1; }
    std::int32_t defaultValue() const override { return defaultOn ? 1 : 0; }
    std::int32_t minimum() const override { return 0; }
    std::int32_t maximum() const override { return 1; }
    std::int32_t shown(std::int32_t value) const override { return value != 0 ? 1 : 0; }
    std::string text(std::int32_t value) const override { return value != 0 ? "On" : "Off"; }

private:
    bool defaultOn;
};
