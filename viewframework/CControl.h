// A view that carries a value in a range and tells its listener when the user changes it. A changed
// value is its own redraw request: the control repaints whenever value and lastValue differ.
#pragma once

#include "viewframework/CView.h"

class CControlListener;

class CControl : public CView {
public:
    CControl(const ViewRect& size, CControlListener* listener, std::int32_t tag, CBitmap* backdrop = nullptr);

    void paint(CDrawContext* context) override = 0;
    bool isKindOf(const char* name) const override;
    bool needsRedraw() const override;
    void setNeedsRedraw(bool flag) override;

    virtual void runIdle();
    virtual void setValue(float v) { valueNow = v; }
    virtual float value() const { return valueNow; }
    virtual void setMinimum(float v) { minimumValue = v; }
    virtual float minimum() const { return minimumValue; }
    virtual void setMaximum(float v) { maximumValue = v; }
    virtual float maximum() const { return maximumValue; }
    virtual void setLastValue(float v) { lastDrawn = v; }
    virtual float lastValue() const { return lastDrawn; }
    virtual void setDefaultValue(float v) { defaultValueNow = v; }
    virtual float defaultValue() const { return defaultValueNow; }
    virtual void setTag(std::int32_t t) { tagValue = t; }
    virtual std::int32_t tag() const { return tagValue; }
    virtual void beginEdit();
    virtual void endEdit();
    virtual void setBackdropOffset(ViewPoint p) { offsetOfBackdrop = p; }
    virtual void copyBackdropOffset() { offsetOfBackdrop = boundsRect.topLeft(); }
    virtual void setWheelStep(float v) { wheelStepValue = v; }
    virtual float wheelStep() const { return wheelStepValue; }
    virtual void bounceValue();
    virtual bool resetOnDefaultClick(CDrawContext* context, std::int32_t buttons);

    CControlListener* listener() const { return listenerOf; }
    ViewPoint backdropOffset() const { return offsetOfBackdrop; }

    // Whether a gesture may go on: the control stands alone, or its frame is still open. The frame
    // closes, and stays on the stack until the press unwinds, whenever the host closes the editor
    // or the whole effect, which it may do inside any call below that reaches it.
    bool gestureAlive() const;

protected:
    // The steps of a gesture that may reach the host, each answering gestureAlive() once it
    // returned. A gesture goes on only while they answer true and then touches nothing of its
    // editor; a begun one still calls endEdit, which the frame passes on only while the effect
    // lives, and only once.
    bool startEdit();
    // The listener's onValueChanged, if there is a listener and the gesture is alive.
    bool reportValue(CDrawContext* context);
    bool idleTurn();
    // True when a click stops at the listener: it took the modifier click, or the offer ended the
    // gesture.
    bool modifierClickTaken(CDrawContext* context, std::int32_t buttons);

    CControlListener* listenerOf;
    std::int32_t tagValue;
    float lastDrawn = 1.0f;
    float defaultValueNow = 0.5f;
    float valueNow = 0.0f;
    float minimumValue = 0.0f;
    float maximumValue = 1.0f;
    float wheelStepValue = 0.1f;
    std::int32_t lastClickTicks = -1;
    std::uint32_t doubleClickTime;
    ViewPoint offsetOfBackdrop;
};
