#include "viewframework/CFrame.h"

#include "viewframework/AEffGUIEditor.h"
#include "viewframework/CDrawContext.h"
#include "viewframework/CDropTarget.h"
#include "effectbase/AudioEffectX.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
platform::WindowSystem& system()
{
    return platform::WindowSystem::current();
}

constexpr unsigned char kVirtualTab = 2;  // VKEY_TAB

// Parent chains are the host's; a broken one must not keep us walking.
constexpr int kMaxWindowDepth = 64;
// A parent within this much of the frame's size is still a wrapper of the editor's window.
constexpr int kOuterSlack = 60;
// A parent this much larger than the window resized below it is the host's own, laid out by it.
constexpr int kHostSlack = 80;
// The editor rectangle a host reads is 16-bit.
constexpr int kMaxFrameSize = 32767;
}  // namespace

CFrame::CFrame(const ViewRect& size, platform::NativeWindow parentWindow, AEffGUIEditor* editor)
    : CViewContainer(size, nullptr), editorOf(editor), maker(editor),
      makerAlive(editor ? editor->lifeline() : nullptr), parentHandle(parentWindow)
{
    frame = this;
    threadServices = system().startThreadServices();
    startedOn = std::this_thread::get_id();
    CDrawContext::setButtonsSwapped(system().buttonsSwapped());
    if (parentWindow)
        windowHandle = system().createChildWindow(parentWindow, size.width(), size.height(), this);
    setDropActive(true);
    if (drawInOffscreen) makeOffscreen();
}

CFrame::~CFrame()
{
    if (modal) removeView(modal, false);
    modal = nullptr;
    focus = nullptr;
    setCursor(0);
    setDropActive(false);
    if (windowHandle) system().destroyWindow(windowHandle);
    windowHandle = 0;
    // Only what this frame started, and only on the thread that started it.
    if (threadServices && startedOn == std::this_thread::get_id()) system().stopThreadServices();
    // Children go now, while this is still a frame they may ask about.
    removeAll(true);
}

void CFrame::abandon()
{
    editorOf = nullptr;
    isOpenNow = false;
    abandoned = true;
    if (windowHandle) system().hideWindow(windowHandle);
}

void CFrame::leaveHandler()
{
    if (--mouseDepth == 0 && abandoned) release();
}

void CFrame::windowPressed(platform::Point where)
{
    ++mouseDepth;
    CDrawContext* context = new CDrawContext(this, nullptr, windowHandle);
    ViewPoint at(where.x, where.y);
    onMouseDown(context, at, kButtonsUnread);
    context->release();
    leaveHandler();
}

void CFrame::windowWheel(platform::Point where, int notches)
{
    ++mouseDepth;
    CDrawContext* context = new CDrawContext(this, nullptr, windowHandle);
    onWheelTurned(context, ViewPoint(where.x, where.y), float(notches));
    context->release();
    leaveHandler();
}

void CFrame::windowPaint(platform::DeviceContext& dc, const platform::Rect& damaged)
{
    if (damaged.empty()) return;
    CDrawContext* context = new CDrawContext(this, &dc, windowHandle);
    paintRegion(context, ViewRect(damaged.left, damaged.top, damaged.right, damaged.bottom));
    context->release();
}

void CFrame::windowDestroyed()
{
    // The system took the window with its parent; the handle may be reused, so it is forgotten.
    isOpenNow = false;
    parentHandle = 0;
    windowHandle = 0;
    dropOn = false;
    delete dropTarget;
    dropTarget = nullptr;
}

CDrawContext* CFrame::makeContext()
{
    return new CDrawContext(this, nullptr, windowHandle);
}

void CFrame::paint(CDrawContext* context)
{
    firstPaintPending = false;
    CDrawContext* made = context ? nullptr : makeContext();
    CViewContainer::paint(context ? context : made);
    if (made) made->release();
}

void CFrame::paintRegion(CDrawContext* context, const ViewRect& rect)
{
    firstPaintPending = false;
    CDrawContext* made = context ? nullptr : makeContext();
    CDrawContext* c = context ? context : made;
    const ViewRect saved = c->clipBox();
    ViewRect clip = saved;
    clip.bound(rect);
    c->setClipBox(clip);
    if (rect.width() > 0 && rect.height() > 0) CViewContainer::paintRegion(c, rect);
    c->setClipBox(saved);
    if (made) made->release();
}

void CFrame::onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons)
{
    if (focus) setFocusView(nullptr);
    if (buttons == kButtonsUnread) buttons = context ? context->readButtons() : 0;
    if (!modal)
        CViewContainer::onMouseDown(context, where, buttons);
    else if (modal->containsPoint(where, buttons))
        modal->onMouseDown(context, where, buttons);
}

std::int32_t CFrame::onKeyPressed(VstKeyCode& key)
{
    std::int32_t result = -1;
    if (focus) result = focus->onKeyPressed(key);
    if (result == -1 && modal) result = modal->onKeyPressed(key);
    if (result == -1 && key.virt == kVirtualTab)
        result = advanceFocus(focus, (key.modifier & 1) != 0) ? 1 : -1;  // MODIFIER_SHIFT
    return result;
}

std::int32_t CFrame::onKeyReleased(VstKeyCode& key)
{
    std::int32_t result = -1;
    if (focus) result = focus->onKeyReleased(key);
    if (result == -1 && modal) result = modal->onKeyReleased(key);
    return result;
}

bool CFrame::onWheelAxis(CDrawContext* context, const ViewPoint& where, std::int32_t axis, float distance)
{
    CView* target = modal ? modal : viewAt(where, false);
    if (!target) return false;
    CDrawContext* made = context ? nullptr : makeContext();
    const bool answer = target->onWheelAxis(context ? context : made, where, axis, distance);
    if (made) made->release();
    return answer;
}

bool CFrame::onWheelTurned(CDrawContext* context, const ViewPoint& where, float distance)
{
    return onWheelAxis(context, where, 1, distance);
}

void CFrame::setBounds(const ViewRect& rect)
{
    CViewContainer::setBounds(rect);
}

bool CFrame::isKindOf(const char* name) const
{
    return (name && std::strcmp(name, "CFrame") == 0) || CViewContainer::isKindOf(name);
}

void CFrame::refresh(CDrawContext* context)
{
    if (!isOpenNow || updatesOff || !context) return;
    if (dirty) {
        paint(context);
        setNeedsRedraw(false);
        return;
    }
    const ViewRect saved = context->clipBox();
    if (modal && modal->needsRedraw()) modal->refresh(context);
    // Copy first: a refresh may not change the children, but a listener called from one might.
    for (CView* child : std::list<CView*>(children)) {
        if (!isChild(child)) continue;
        ViewRect clip = child->getBounds();
        clip.bound(saved);
        context->setClipBox(clip);
        child->refresh(context);
    }
    context->setClipBox(saved);
}

CView* CFrame::viewUnderPointer()
{
    return modal ? modal : CViewContainer::viewUnderPointer();
}

bool CFrame::advanceFocus(CView* current, bool backwards)
{
    if (modal) return false;
    return CViewContainer::advanceFocus(current, backwards);
}

void CFrame::idlePass()
{
    if (!isOpenNow || firstPaintPending || !needsRedraw()) return;
    CDrawContext* context = makeContext();
    refresh(context);
    context->release();
}

void CFrame::runIdle()
{
    if (editorOf) editorOf->runIdle();
}

std::uint32_t CFrame::ticks() const
{
    return editorOf ? system().ticks() : 0;
}

std::int32_t CFrame::knobMode() const
{
    return AEffGUIEditor::sharedKnobMode();
}

platform::NativeWindow CFrame::outerWindow() const
{
    if (!windowHandle) return 0;
    const platform::Rect own = system().outerRect(windowHandle, 0);
    platform::NativeWindow current = windowHandle;
    for (int depth = 0; depth < kMaxWindowDepth; ++depth) {
        const platform::NativeWindow parent = system().parentWindow(current);
        if (!parent || system().hasCaption(current)) break;
        const platform::Rect r = system().outerRect(parent, 0);
        if (std::abs(r.width() - own.width()) > kOuterSlack || std::abs(r.height() - own.height()) > kOuterSlack)
            break;
        current = parent;
    }
    return current;
}

bool CFrame::outerWindowPosition(std::int32_t& h, std::int32_t& v)
{
    if (!isOpenNow || !windowHandle) return false;
    const platform::NativeWindow outer = outerWindow();
    const platform::Rect r = system().outerRect(outer, system().parentWindow(outer));
    h = r.left;
    v = r.top;
    return true;
}

bool CFrame::setFrameSize(std::int32_t width, std::int32_t height)
{
    if (!isOpenNow || !windowHandle || (width == boundsRect.width() && height == boundsRect.height())) return false;
    if (width < 1 || height < 1 || width > kMaxFrameSize || height > kMaxFrameSize) return false;
    AudioEffectX* effect = editorOf ? dynamic_cast<AudioEffectX*>(editorOf->getEffect()) : nullptr;
    char sizeWindow[] = "sizeWindow";
    if (effect && effect->canHostDo(sizeWindow) && effect->sizeWindow(width, height)) {
        // The host resizes its own windows.
        boundsRect.right = boundsRect.left + width;
        boundsRect.bottom = boundsRect.top + height;
        system().resizeWindow(windowHandle, width, height);
    } else {
        resizeWindowChain(width, height);
        boundsRect = ViewRect(0, 0, width, height);
    }
    if (offscreen && drawInOffscreen) {
        dropOffscreen();
        makeOffscreen();
    }
    setNeedsRedraw(true);
    return true;
}

void CFrame::resizeWindowChain(std::int32_t width, std::int32_t height)
{
    // Each window up the chain gets the new size plus what its ancestors so far added around it
    // (differences measured before resizing). The walk ends at the window whose surround adds just
    // a dialog frame on each side, at a document area that lays out its own children, or under a
    // parent so much larger that it is the host's own layout (which is then left alone).
    platform::WindowSystem& ws = system();
    const int target = 2 * ws.dialogFrameHeight();
    int extraWidth = 0, extraHeight = 0;
    platform::NativeWindow current = windowHandle;
    for (int depth = 0; depth < kMaxWindowDepth; ++depth) {
        const platform::NativeWindow parent = ws.parentWindow(current);
        if (!parent || ws.isDocumentArea(parent)) break;
        const platform::Rect own = ws.outerRect(current, 0), around = ws.outerRect(parent, 0);
        resizeOne(current, width + extraWidth, height + extraHeight);
        // A host may answer its resize by destroying the editor's window: then nothing more is ours to do.
        if (!windowHandle) return;
        extraWidth += around.width() - own.width();
        extraHeight += around.height() - own.height();
        if (extraWidth > kHostSlack || extraHeight > kHostSlack) return;
        extraWidth = std::max(extraWidth, 0);
        extraHeight = std::max(extraHeight, 0);
        current = parent;
        if (extraWidth == target) break;
    }
    resizeOne(current, width + extraWidth, height + extraHeight);
}

void CFrame::resizeOne(platform::NativeWindow target, int width, int height)
{
    // Ours keeps its backing image in step; any other is the host's.
    if (target == windowHandle)
        system().resizeWindow(target, width, height);
    else
        system().resizeHostWindow(target, width, height);
}

bool CFrame::outerWindowRect(ViewRect& rect)
{
    if (!isOpenNow || !windowHandle) return false;
    const platform::NativeWindow parent = system().parentWindow(windowHandle);
    if (!parent) return false;
    const platform::NativeWindow above = system().parentWindow(system().parentWindow(parent));
    const platform::Rect r = system().outerRect(parent, above);
    rect = ViewRect(r.left, r.top, r.right, r.bottom);
    return true;
}

std::int32_t CFrame::setModalView(CView* view)
{
    if (modal && view) return 0;
    if (modal) removeView(modal, false);
    modal = view;
    if (view) addView(view);
    return 1;
}

void CFrame::beginEdit(std::int32_t tag)
{
    if (!editorOf) return;
    // Noted first: the host may close the editor before the call returns.
    openEdits.push_back(tag);
    editorOf->beginEdit(tag);
}

void CFrame::endEdit(std::int32_t tag)
{
    const auto begun = std::find(openEdits.begin(), openEdits.end(), tag);
    if (begun == openEdits.end()) return;
    openEdits.erase(begun);
    // A host whose effect is gone hears nothing more; one that only closed the editor hears the end
    // of what it heard begin.
    if (*makerAlive) maker->endEdit(tag);
}

void CFrame::currentPointer(ViewPoint& point) const
{
    const platform::Point p = system().pointerOnScreen(), o = system().windowOrigin(windowHandle);
    point = ViewPoint(p.x - o.x, p.y - o.y);
}

void CFrame::setCursor(std::int32_t kind)
{
    if (!cursorSaved) {
        savedCursor = system().cursorInUse();
        cursorSaved = true;
    }
    using platform::CursorShape;
    switch (kind) {
    case 1: system().useStandardCursor(CursorShape::Wait); break;
    case 2: system().useStandardCursor(CursorShape::ResizeHorizontal); break;
    case 3: system().useStandardCursor(CursorShape::ResizeVertical); break;
    case 4: system().useStandardCursor(CursorShape::Move); break;
    case 5: system().useStandardCursor(CursorShape::ResizeNeSw); break;
    case 6: system().useStandardCursor(CursorShape::ResizeNwSe); break;
    case 8: system().useStandardCursor(CursorShape::Forbidden); break;
    case 9: system().useStandardCursor(CursorShape::Hand); break;
    default: system().useCursor(savedCursor); break;
    }
}

void CFrame::setFocusView(CView* view)
{
    CView* old = focus;
    focus = view;
    if (focus && focus->takesFocus()) focus->setNeedsRedraw(true);
    if (old) {
        old->onFocusLost(nullptr);
        if (old->takesFocus()) old->setNeedsRedraw(true);
    }
}

bool CFrame::setDropActive(bool flag)
{
    if (!flag && !dropOn) return true;
    if (!windowHandle) return false;
    if (dropTarget) {
        system().revokeDropTarget(windowHandle);
        delete dropTarget;
        dropTarget = nullptr;
    }
    if (flag) {
        dropTarget = new CDropTarget(this);
        if (!system().registerDropTarget(windowHandle, dropTarget)) {
            delete dropTarget;
            dropTarget = nullptr;
            flag = false;
        }
    }
    dropOn = flag;
    return true;
}

void CFrame::invalidate(const ViewRect& rect)
{
    for (CView* child : children)
        if (rect.overlaps(child->getBounds())) child->setNeedsRedraw(true);
}

bool CFrame::disableUpdates(bool flag)
{
    const bool previous = updatesOff;
    updatesOff = flag;
    return previous;
}

void CFrame::paintView(CView* view)
{
    if (!windowHandle) return;
    CDrawContext* context = makeContext();
    if (view && isChild(view))
        view->paint(context);
    else
        paint(context);
    context->release();
}
