// A control of whole steps minimum..maximum (a user sees 10..512, say). Its control values span the
// whole signed 32-bit range, cut into equal bands, one per step:
//   control value c shows minimum + floor(x * (maximum - minimum)), x = (c + 2^31) / (2^32 - 1),
// the way a plug-in that reads c as x in 0..1 and truncates does. A step is sent as the control value
// in the middle of its band, so that such a plug-in lands on exactly that step.
#pragma once

#include "protools/library/CPluginControl.h"

class CPluginControl_Discrete : public CPluginControl {
public:
    // Throws CDAEError unless minimum < maximum and the default lies between them.
    CPluginControl_Discrete(std::uint32_t id, std::string names, std::int32_t minimum, std::int32_t maximum,
                            std::int32_t defaultStep, bool automatable);

    int kind() const override;
    bool accepts(std::int32_t) const override { return true; }
    std::int32_t defaultValue() const override { return valueOfStep(defaultStep); }
    std::int32_t minimum() const override { return lowest; }
    std::int32_t maximum() const override { return highest; }
    std::int32_t shown(std::int32_t value) const override;
    std::string text(std::int32_t value) const override;

    // The control value that sends a step (clamped into minimum..maximum).
    std::int32_t valueOfStep(std::int32_t step) const;

private:
    std::int32_t lowest;
    std::int32_t highest;
    std::int32_t defaultStep;
};
