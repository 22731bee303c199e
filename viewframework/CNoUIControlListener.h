// The listener of editors that live in a window the host's own plug-in library manages (the Pro Tools
// build): an Alt-click without Control resets a control to its default and reports that, as the host's
// own controls behave.
#pragma once

#include "viewframework/CControl.h"
#include "viewframework/CControlListener.h"
#include "viewframework/ViewConstants.h"

#include <cstdint>

class CNoUIControlListener : public CControlListener {
public:
    std::int32_t onModifierClick(CDrawContext* context, CControl* control, std::int32_t buttons) override
    {
        if ((buttons & kModControl) || !(buttons & kModAlt) || !control) return 0;
        control->setValue(control->defaultValue());
        onValueChanged(context, control);
        return 1;
    }

protected:
    ~CNoUIControlListener() = default;
};
