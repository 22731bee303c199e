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

protected:
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
