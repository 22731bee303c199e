#include "widgets/VGKnobBase.h"

#include "viewframework/CDrawContext.h"
#include "viewframework/ViewConstants.h"

VGKnobBase::VGKnobBase(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette)
    : VGControl(size, listener, tag, palette)
{
    displayMax = 1.0f;
    displayMin = 0.0f;
}

float VGKnobBase::drawnValue() const
{
    const float v = value();
    return v >= 0.0f ? (v <= 1.0f ? v : 1.0f) : 0.0f;
}

void VGKnobBase::onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons)
{
    // Unread buttons (-1) have every bit set and pass as a left press.
    if (!acceptsMouse() || !(buttons & kButtonLeft)) return;
    if (buttons == (kButtonLeft | kModControl)) {
        // The default arrives as one change, not as a gesture: no beginEdit, no endEdit.
        setValue(defaultValue());
        if (needsRedraw()) reportValue(context);
        return;
    }
    if (!context) return;

    const float lo = minimum(), hi = maximum();
    const auto coefficientFor = [&](std::int32_t b) {
        const float range = float(height) * ((b & kModShift) ? zoomFactor : 1.0f);
        return range != 0.0f ? (hi - lo) / range : 0.0f;
    };
    const ViewPoint first = where;
    // A value the host left unusable (NaN) starts the gesture from the bottom, not from nowhere.
    float entry = value() == value() ? value() : lo;
    float coef = coefficientFor(buttons);
    std::int32_t oldButtons = buttons;
    ViewPoint last(-1, -1);

    if (startEdit()) {
        std::int32_t b = 0;
        do {
            b = context->readButtons();
            if (where != last) {
                last = where;
                const float diff = float((first.v - where.v) + (where.h - first.h));
                if (b != oldButtons) {
                    // Re-anchor so that the value stays where it is under the new speed.
                    const float coef2 = coefficientFor(b);
                    entry += diff * (coef - coef2);
                    coef = coef2;
                    oldButtons = b;
                }
                setValue(entry + diff * coef);
                bounceValue();
                if (needsRedraw() && !reportValue(context)) break;
            }
            context->readPointer(where);
        } while (idleTurn() && (b & kButtonLeft));
    }
    endEdit();
}
