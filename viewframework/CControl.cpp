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
    beginEdit();
    valueNow = defaultValue();
    if (needsRedraw() && listenerOf) listenerOf->onValueChanged(context, this);
    endEdit();
    return true;
}
