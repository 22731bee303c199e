// Whoever wants to hear of a control's edits: the editor.
#pragma once

#include <cstdint>

class CDrawContext;
class CControl;

class CControlListener {
public:
    virtual void onValueChanged(CDrawContext* context, CControl* control) = 0;
    virtual std::int32_t onModifierClick(CDrawContext*, CControl*, std::int32_t) { return 0; }

protected:
    ~CControlListener() = default;
};
