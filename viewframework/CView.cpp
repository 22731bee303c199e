#include "viewframework/CView.h"

#include "viewframework/CBitmap.h"
#include "viewframework/CDrawContext.h"
#include "viewframework/CFrame.h"
#include "viewframework/CViewContainer.h"

#include <cstring>

const char* const kMsgCheckIfViewContainer = "kMsgCheckIfViewContainer";

CView::CView(const ViewRect& size) : boundsRect(size), hitRect(size) {}

CView::~CView()
{
    if (backdropBitmap) backdropBitmap->release();
}

void CView::paint(CDrawContext* context)
{
    if (backdropBitmap) backdropBitmap->draw(context, boundsRect, {});
    setNeedsRedraw(false);
}

void CView::paintRegion(CDrawContext* context, const ViewRect&)
{
    paint(context);
}

bool CView::touchesRegion(const ViewRect& rect) const
{
    return rect.overlaps(boundsRect);
}

void CView::onMouseDown(CDrawContext*, ViewPoint&, std::int32_t) {}

void CView::setBackdrop(CBitmap* bitmap)
{
    if (backdropBitmap) backdropBitmap->release();
    backdropBitmap = bitmap;
    if (backdropBitmap) backdropBitmap->retain();
    setNeedsRedraw(true);
}

std::int32_t CView::onKeyPressed(VstKeyCode&)
{
    return -1;
}

std::int32_t CView::onKeyReleased(VstKeyCode&)
{
    return -1;
}

bool CView::onWheelAxis(CDrawContext* context, const ViewPoint& where, std::int32_t, float distance)
{
    return onWheelTurned(context, where, distance);
}

bool CView::onWheelTurned(CDrawContext*, const ViewPoint&, float)
{
    return false;
}

bool CView::onDropped(CDrawContext*, CDragContainer*, const ViewPoint&)
{
    return false;
}

void CView::onDragEntered(CDrawContext*, CDragContainer*, const ViewPoint&) {}
void CView::onDragLeft(CDrawContext*, CDragContainer*, const ViewPoint&) {}
void CView::onDragMoved(CDrawContext*, CDragContainer*, const ViewPoint&) {}
void CView::onFocusLost(CDrawContext*) {}
void CView::onFocusGained(CDrawContext*) {}

bool CView::containsPoint(const ViewPoint& where, std::int32_t) const
{
    return hitRect.touches(where);
}

void CView::setBounds(const ViewRect& rect)
{
    boundsRect = rect;
    setNeedsRedraw(true);
}

bool CView::onDetached(CView*)
{
    return true;
}

bool CView::onAttached(CView*)
{
    return true;
}

void CView::pointerInView(CDrawContext* context, ViewPoint& point)
{
    if (!context) return;
    if (parent && parent->onNotify(this, kMsgCheckIfViewContainer) == 1) {
        const ViewPoint offset = context->drawOffset(), origin = context->windowOrigin();
        const ViewPoint corner = parent->bounds().topLeft();
        context->setDrawOffset({offset.h + corner.h, offset.v + corner.v});
        context->setWindowOrigin({origin.h + corner.h, origin.v + corner.v});
        parent->pointerInView(context, point);
        context->setDrawOffset(offset);
        context->setWindowOrigin(origin);
    } else {
        context->readPointer(point);
    }
}

ViewPoint& CView::toLocal(ViewPoint& point) const
{
    return parent ? parent->toLocal(point) : point;
}

ViewPoint& CView::toFrame(ViewPoint& point) const
{
    return parent ? parent->toFrame(point) : point;
}

AEffGUIEditor* CView::owningEditor() const
{
    return frame ? frame->editor() : nullptr;
}

std::int32_t CView::onNotify(CView*, const char*)
{
    return 0;
}

void CView::repaintRegion(CDrawContext* context, const ViewRect& rect)
{
    if (parent)
        parent->repaintRegion(context, rect);
    else if (frame)
        frame->paintRegion(context, rect);
}

bool CView::isKindOf(const char* name) const
{
    return name && std::strcmp(name, "CView") == 0;
}

void CView::refresh(CDrawContext* context)
{
    if (!needsRedraw()) return;
    if (context)
        repaintRegion(context, boundsRect);
    else
        repaintNow();
    setNeedsRedraw(false);
}

void CView::repaintNow()
{
    if (frame) frame->paintView(this);
}
