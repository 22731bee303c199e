#include "viewframework/CViewContainer.h"

#include "viewframework/CBitmap.h"
#include "viewframework/CDrawContext.h"
#include "viewframework/CFrame.h"
#include "viewframework/COffscreenContext.h"

#include <cstring>

namespace {
ViewRect bounded(ViewRect r, const ViewRect& by)
{
    r.bound(by);
    return r;
}

// Moves a context's offsets for the duration of a call into a nested coordinate space.
class ShiftedOffsets {
public:
    ShiftedOffsets(CDrawContext* c, ViewPoint by) : context(c)
    {
        if (!context) return;
        offset = context->drawOffset();
        origin = context->windowOrigin();
        context->setDrawOffset({offset.h + by.h, offset.v + by.v});
        context->setWindowOrigin({origin.h + by.h, origin.v + by.v});
    }
    ~ShiftedOffsets()
    {
        if (!context) return;
        context->setDrawOffset(offset);
        context->setWindowOrigin(origin);
    }

private:
    CDrawContext* context;
    ViewPoint offset, origin;
};
}  // namespace

CViewContainer::CViewContainer(const ViewRect& size, CFrame* owner, CBitmap* backdrop) : CView(size)
{
    frame = owner;
    if (backdrop) setBackdrop(backdrop);
    setNeedsRedraw(false);
}

CViewContainer::~CViewContainer()
{
    removeAll(true);
    dropOffscreen();
}

bool CViewContainer::isFrame() const
{
    return static_cast<const CView*>(frame) == this;
}

void CViewContainer::makeOffscreen()
{
    if (offscreen) return;
    offscreen = new COffscreenContext(frame, boundsRect.width(), boundsRect.height(), kColourBlack);
    if (!offscreen->valid()) dropOffscreen();  // no memory: this pass paints nothing and stays dirty
}

void CViewContainer::dropOffscreen()
{
    if (offscreen) offscreen->release();
    offscreen = nullptr;
}

void CViewContainer::paint(CDrawContext* context)
{
    paintArea(context, boundsRect, true);
}

void CViewContainer::paintRegion(CDrawContext* context, const ViewRect& rect)
{
    paintArea(context, rect, false);
}

void CViewContainer::paintArea(CDrawContext* context, const ViewRect& updated, bool whole)
{
    if (!context) return;
    if (drawInOffscreen) {
        makeOffscreen();
        if (!offscreen) return;
    }
    CDrawContext* target = drawInOffscreen ? offscreen : context;
    const ViewPoint corner = boundsRect.topLeft();
    const ViewPoint savedOffset = context->drawOffset(), savedOrigin = context->windowOrigin();
    if (!drawInOffscreen) {
        context->setDrawOffset({savedOffset.h + corner.h, savedOffset.v + corner.v});
        context->setWindowOrigin({savedOrigin.h + corner.h, savedOrigin.v + corner.v});
    }

    ViewRect area = localArea();
    if (!whole) {
        area = bounded(updated, boundsRect);
        area.offset(-corner.h, -corner.v);
    }

    const ViewRect savedClip = target->clipBox();
    ViewRect clip = context->clipBox();
    if (drawInOffscreen && !isFrame()) clip.offset(-clip.left, -clip.top);
    clip = bounded(area, clip);
    target->setClipBox(clip);

    if (whole) {
        if (backdropBitmap)
            backdropBitmap->draw(target, area, offsetOfBackdrop);
        else if (!seeThrough) {
            target->setBrushColour(background);
            target->fillBox(area);
        }
    } else {
        paintBackground(target, area);
    }

    const bool scroll = isKindOf("CScrollContainer");
    for (CView* child : children) {
        if (!whole && !child->touchesRegion(area)) continue;
        const ViewRect childClip = bounded(child->getBounds(), clip);
        if (!whole && (childClip.width() <= 0 || childClip.height() <= 0)) continue;
        target->setClipBox(childClip);
        if (whole) {
            child->paint(target);
        } else {
            const bool wanted = child->needsRedraw();
            child->paintRegion(target, area);
            if (wanted && !(child->getBounds() == childClip) && !scroll) child->setNeedsRedraw(true);
        }
    }
    target->setClipBox(savedClip);

    if (drawInOffscreen) {
        ViewRect dest = whole ? boundsRect : area;
        if (!whole) dest.offset(corner.h, corner.v);
        offscreen->blitTo(context, dest, {dest.left - corner.h, dest.top - corner.v});
    } else {
        context->setDrawOffset(savedOffset);
        context->setWindowOrigin(savedOrigin);
    }
    setNeedsRedraw(false);
}

void CViewContainer::paintBackground(CDrawContext* context, const ViewRect& rect)
{
    if (backdropBitmap) {
        backdropBitmap->draw(context, rect, offsetOfBackdrop);
    } else if (!seeThrough) {
        context->setBrushColour(background);
        context->fillBox(rect);
    }
}

bool CViewContainer::needsRedraw() const
{
    if (dirty) return true;
    const ViewRect local = localArea();
    for (CView* child : children) {
        if (!child->needsRedraw()) continue;
        const ViewRect r = bounded(child->getBounds(), local);
        if (r.width() > 0 && r.height() > 0) return true;
    }
    return false;
}

void CViewContainer::refresh(CDrawContext* context)
{
    const ViewRect local = localArea();
    if (mode_ == 0) {
        if (needsRedraw()) {
            repaintRegion(context, local);
            setNeedsRedraw(false);
        }
    } else if (mode_ == 1) {
        if (dirty) {
            repaintRegion(context, local);
        } else {
            for (CView* child : children) {
                if (!child->needsRedraw() || !child->touchesRegion(local)) continue;
                if (child->onNotify(this, kMsgCheckIfViewContainer) == 1)
                    child->refresh(context);
                else
                    child->repaintRegion(context, bounded(child->getBounds(), local));
            }
        }
        setNeedsRedraw(false);
    }
}

void CViewContainer::repaintRegion(CDrawContext* context, const ViewRect& rect)
{
    ViewRect r = rect;
    r.offset(boundsRect.left, boundsRect.top);
    if (seeThrough) {
        if (parent)
            parent->repaintRegion(context, r);
        else if (frame && !isFrame())
            frame->paintRegion(context, r);
        return;
    }
    if (parent) {
        ViewPoint corner;
        parent->toFrame(corner);
        ShiftedOffsets shift(context, corner);
        paintRegion(context, r);
    } else {
        paintRegion(context, r);
    }
}

void CViewContainer::setBounds(const ViewRect& rect)
{
    CView::setBounds(rect);
    if (offscreen && drawInOffscreen) {
        dropOffscreen();
        makeOffscreen();
    }
}

bool CViewContainer::onAttached(CView*)
{
    if (drawInOffscreen && !offscreen) makeOffscreen();
    return true;
}

bool CViewContainer::onDetached(CView*)
{
    dropOffscreen();
    return true;
}

ViewPoint& CViewContainer::toLocal(ViewPoint& point) const
{
    point.h -= boundsRect.left;
    point.v -= boundsRect.top;
    return CView::toLocal(point);
}

ViewPoint& CViewContainer::toFrame(ViewPoint& point) const
{
    point.h += boundsRect.left;
    point.v += boundsRect.top;
    return CView::toFrame(point);
}

std::int32_t CViewContainer::onNotify(CView*, const char* message)
{
    return message == kMsgCheckIfViewContainer ? 1 : 0;
}

bool CViewContainer::isKindOf(const char* name) const
{
    return (name && std::strcmp(name, "CViewContainer") == 0) || CView::isKindOf(name);
}

void CViewContainer::onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons)
{
    ViewPoint local(where.h - boundsRect.left, where.v - boundsRect.top);
    if (buttons == kButtonsUnread) buttons = context ? context->readButtons() : 0;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CView* child = *it;
        if (child->acceptsMouse() && child->containsPoint(local, buttons)) {
            child->onMouseDown(context, local, buttons);
            return;
        }
    }
}

std::int32_t CViewContainer::onKeyPressed(VstKeyCode& key)
{
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (const std::int32_t r = (*it)->onKeyPressed(key); r != -1) return r;
    return -1;
}

std::int32_t CViewContainer::onKeyReleased(VstKeyCode& key)
{
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (const std::int32_t r = (*it)->onKeyReleased(key); r != -1) return r;
    return -1;
}

bool CViewContainer::onWheelAxis(CDrawContext* context, const ViewPoint& where, std::int32_t axis, float distance)
{
    CView* target = viewAt(where, false);
    if (!target) return false;
    const ViewPoint local(where.h - boundsRect.left, where.v - boundsRect.top);
    ShiftedOffsets shift(context, boundsRect.topLeft());
    return target->onWheelAxis(context, local, axis, distance);
}

bool CViewContainer::onWheelTurned(CDrawContext* context, const ViewPoint& where, float distance)
{
    return onWheelAxis(context, where, 1, distance);
}

bool CViewContainer::onDropped(CDrawContext* context, CDragContainer* drag, const ViewPoint& where)
{
    CView* target = viewAt(where, false);
    const ViewPoint local(where.h - boundsRect.left, where.v - boundsRect.top);
    if (currentDragView && currentDragView != target) currentDragView->onDragLeft(context, drag, local);
    currentDragView = nullptr;
    return target ? target->onDropped(context, drag, local) : false;
}

void CViewContainer::onDragEntered(CDrawContext* context, CDragContainer* drag, const ViewPoint& where)
{
    currentDragView = viewAt(where, false);
    const ViewPoint local(where.h - boundsRect.left, where.v - boundsRect.top);
    if (currentDragView) currentDragView->onDragEntered(context, drag, local);
}

void CViewContainer::onDragLeft(CDrawContext* context, CDragContainer* drag, const ViewPoint& where)
{
    const ViewPoint local(where.h - boundsRect.left, where.v - boundsRect.top);
    if (currentDragView) currentDragView->onDragLeft(context, drag, local);
    currentDragView = nullptr;
}

void CViewContainer::onDragMoved(CDrawContext* context, CDragContainer* drag, const ViewPoint& where)
{
    CView* target = viewAt(where, false);
    const ViewPoint local(where.h - boundsRect.left, where.v - boundsRect.top);
    if (target != currentDragView) {
        if (currentDragView) currentDragView->onDragLeft(context, drag, local);
        currentDragView = target;
        if (target) target->onDragEntered(context, drag, local);
    } else if (target) {
        target->onDragMoved(context, drag, local);
    }
}

void CViewContainer::onFocusLost(CDrawContext* context)
{
    for (CView* child : children) child->onFocusLost(context);
}

void CViewContainer::onFocusGained(CDrawContext* context)
{
    for (CView* child : children) child->onFocusGained(context);
}

void CViewContainer::addViewWithArea(CView* view, const ViewRect& area, bool accepts)
{
    if (!view) return;
    view->setAcceptsMouse(accepts);
    view->setHitArea(area);
    addView(view);
}

void CViewContainer::addView(CView* view)
{
    if (!view) return;
    children.push_back(view);
    view->setParentFrame(frame);
    view->setParentView(this);
    view->onAttached(this);
    view->setNeedsRedraw(true);
}

void CViewContainer::removeView(CView* view, bool withRelease)
{
    if (!view) return;
    for (auto it = children.begin(); it != children.end(); ++it) {
        if (*it != view) continue;
        if (frame && frame->focusView() == view) frame->setFocusView(nullptr);
        if (currentDragView == view) currentDragView = nullptr;
        children.erase(it);
        view->onDetached(this);
        if (withRelease) view->release();
        return;
    }
}

void CViewContainer::removeAll(bool withRelease)
{
    while (!children.empty()) removeView(children.front(), withRelease);
}

bool CViewContainer::isChild(CView* view) const
{
    for (CView* child : children)
        if (child == view) return true;
    return false;
}

CView* CViewContainer::childAt(std::int32_t index) const
{
    if (index < 0) return nullptr;
    for (CView* child : children)
        if (index-- == 0) return child;
    return nullptr;
}

void CViewContainer::setBackgroundColour(ViewColour colour)
{
    background = colour;
    setNeedsRedraw(true);
}

void CViewContainer::setDrawInOffscreen(bool flag)
{
    drawInOffscreen = flag;
    if (!flag) dropOffscreen();
}

CView* CViewContainer::viewUnderPointer()
{
    if (!frame) return nullptr;
    ViewPoint where;
    frame->currentPointer(where);
    toLocal(where);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if ((*it)->hitArea().touches(where)) return *it;
    return nullptr;
}

CView* CViewContainer::viewAt(const ViewPoint& where, bool deep)
{
    const ViewPoint local(where.h - boundsRect.left, where.v - boundsRect.top);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CView* child = *it;
        if (!child->hitArea().touches(local)) continue;
        if (deep && child->onNotify(this, kMsgCheckIfViewContainer) == 1) {
            if (CView* inner = static_cast<CViewContainer*>(child)->viewAt(local, true)) return inner;
        }
        return child;
    }
    return nullptr;
}

bool CViewContainer::advanceFocus(CView* current, bool backwards)
{
    bool started = current == nullptr;
    auto visit = [&](CView* child) {
        if (!started) {
            if (child == current) started = true;
            return false;
        }
        if (child->takesFocus()) {
            if (frame) frame->setFocusView(child);
            return true;
        }
        if (child->onNotify(this, kMsgCheckIfViewContainer) == 1)
            return static_cast<CViewContainer*>(child)->advanceFocus(nullptr, backwards);
        return false;
    };
    if (backwards) {
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if (visit(*it)) return true;
    } else {
        for (CView* child : children)
            if (visit(child)) return true;
    }
    return false;
}
