// A Pro Tools control of a process: a four-character ID, names of several lengths, and a current value.
// Control values are signed 32-bit numbers; each kind of control says which it takes and how a user
// sees them. The value is read by the audio thread (the master bypass) while the host's other thread
// changes it, so it is a relaxed atomic.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

class CPluginControl {
public:
    CPluginControl(std::uint32_t id, std::string names, bool automatable);
    virtual ~CPluginControl() = default;
    CPluginControl(const CPluginControl&) = delete;
    CPluginControl& operator=(const CPluginControl&) = delete;

    std::uint32_t id() const { return controlID; }
    const std::string& names() const { return nameList; }
    std::string name(int maxLength) const;
    bool automatable() const { return isAutomatable; }

    virtual int kind() const = 0;  // PI_ControlOnOff, PI_ControlDiscrete
    virtual bool accepts(std::int32_t value) const = 0;
    virtual std::int32_t defaultValue() const = 0;
    // The values a user sees, and the one a control value shows as.
    virtual std::int32_t minimum() const = 0;
    virtual std::int32_t maximum() const = 0;
    virtual std::int32_t shown(std::int32_t value) const = 0;
    virtual std::string text(std::int32_t value) const = 0;

    std::int32_t value() const { return current.load(std::memory_order_relaxed); }
    // Only values the control accepts; the caller has checked.
    void setValue(std::int32_t value) { current.store(value, std::memory_order_relaxed); }

private:
    std::uint32_t controlID;
    std::string nameList;
    bool isAutomatable;
    std::atomic<std::int32_t> current{0};
};
