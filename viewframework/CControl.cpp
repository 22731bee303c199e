#include "viewframework/CControl.h"

#include "platform/WindowSystem.h"
#include "viewframework/CControlListener.h"
#include "viewframework/CFrame.h"
#include "viewframework/ViewConstants.h"

#include <algorithm>
#include <cstring>

CControl::CControl(const ViewRect& size, CControlListener* listener, std::int32_t tag, CBitmap* backdrop)
    : CView(size), listenerOf(listener), tagValue(tag),
      doubleClickTime(std::max<std::uint32_t>(250, platform::WindowSystem::current().doubleClickTime()))
{
    setSeeThrough(false);
    setAcceptsMouse(true);
    setBackdrop(backdrop);
}

bool CControl::isKindOf(const char* name) const
{
    return (name && std::strcmp(name, "CControl") == 0) || CView::isKindOf(name);
}

bool CControl::needsRedraw() const
{
    return lastDrawn != valueNow || dirty;
}

void CControl::setNeedsRedraw(bool flag)
{
    dirty = flag;
    if (flag)
        lastDrawn = valueNow == -1.0f ? 0.0f : -1.0f;  // anything the value is not
    else
        lastDrawn = valueNow;
}

void CControl::runIdle()
{
    if (frame) frame->runIdle();
}

void CControl::beginEdit()
{
    if (!frame) return;
    frame->setFocusView(this);
    frame->beginEdit(tagValue);
}

void CControl::endEdit()
{
    if (frame) frame->endEdit(tagValue);
}

void CControl::bounceValue()
{
    if (valueNow > maximumValue)
        valueNow = maximumValue;
    else if (valueNow < minimumValue)
        valueNow = minimumValue;
}

bool CControl::resetOnDefaultClick(CDrawContext* context, std::int32_t buttons)
{
    if (buttons != (kButtonLeft | kModControl)) return false;
    if (startEdit()) {
        valueNow = defaultValue();
        if (needsRedraw()) reportValue(context);
    }
    endEdit();
    return true;
}

bool CControl::gestureAlive() const
{
    return !frame || frame->isOpen();
}

bool CControl::startEdit()
{
    beginEdit();
    return gestureAlive();
}

bool CControl::reportValue(CDrawContext* context)
{
    if (listenerOf && gestureAlive()) listenerOf->onValueChanged(context, this);
    return gestureAlive();
}

bool CControl::idleTurn()
{
    if (gestureAlive()) runIdle();
    return gestureAlive();
}

bool CControl::modifierClickTaken(CDrawContext* context, std::int32_t buttons)
{
    if (listenerOf && gestureAlive() && listenerOf->onModifierClick(context, this, buttons) != 0) return true;
    return !gestureAlive();
}
