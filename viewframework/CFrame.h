// The root of an editor's tree: a container bound to a child window it makes inside the host's
// window. It turns the window's events into framework calls, keeps focus and modal view, and passes
// edit gestures and idle requests to the editor.
#pragma once

#include "platform/WindowClient.h"
#include "platform/WindowSystem.h"
#include "viewframework/CDrawContextOwner.h"
#include "viewframework/CViewContainer.h"

#include <memory>
#include <thread>
#include <vector>

class CDropTarget;

class CFrame : public CViewContainer, public CDrawContextOwner, private platform::WindowClient {
public:
    CFrame(const ViewRect& size, platform::NativeWindow parentWindow, AEffGUIEditor* editor);
    ~CFrame() override;

    void paint(CDrawContext* context) override;
    void paintRegion(CDrawContext* context, const ViewRect& rect) override;
    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override;
    std::int32_t onKeyPressed(VstKeyCode& key) override;
    std::int32_t onKeyReleased(VstKeyCode& key) override;
    bool onWheelAxis(CDrawContext* context, const ViewPoint& where, std::int32_t axis, float distance) override;
    bool onWheelTurned(CDrawContext* context, const ViewPoint& where, float distance) override;
    void setBounds(const ViewRect& rect) override;
    bool isKindOf(const char* name) const override;
    void refresh(CDrawContext* context) override;
    CView* viewUnderPointer() override;
    bool advanceFocus(CView* current, bool backwards) override;

    virtual bool openWindow(ViewPoint) { return false; }  // frames here never own their window
    virtual void closeWindow() {}
    virtual bool openFlag() const { return isOpenNow; }
    virtual void idlePass();
    virtual void runIdle();
    virtual std::uint32_t ticks() const;
    virtual std::int32_t knobMode() const;
    virtual std::int32_t reserved() { return 0; }
    virtual bool outerWindowPosition(std::int32_t& h, std::int32_t& v);
    virtual bool setFrameSize(std::int32_t width, std::int32_t height);
    virtual bool outerWindowRect(ViewRect& rect);
    virtual bool outerWindowRect2(ViewRect& rect) { return outerWindowRect(rect); }
    virtual std::int32_t setModalView(CView* view);
    virtual CView* modalView() const { return modal; }
    // An edit begun through the frame reaches the editor's endEdit exactly once, even after the
    // frame was abandoned, as long as the editor (and with it the effect) still lives.
    virtual void beginEdit(std::int32_t tag);
    virtual void endEdit(std::int32_t tag);
    virtual void currentPointer(ViewPoint& point) const;
    virtual void setCursor(std::int32_t kind);
    virtual void setFocusView(CView* view);
    virtual CView* focusView() const { return focus; }
    virtual bool setDropActive(bool flag);
    virtual bool dropActive() const { return dropOn; }
    virtual void setOpenFlag(bool flag) { isOpenNow = flag; }
    virtual bool isOpen() const { return isOpenNow; }
    virtual void invalidate(const ViewRect& rect);
    virtual bool disableUpdates(bool flag);
    virtual bool updatesDisabled() const { return updatesOff; }
    virtual void paintView(CView* view);

    AEffGUIEditor* editor() const { return editorOf; }
    platform::NativeWindow window() const { return windowHandle; }
    platform::NativeWindow parentWindow() const { return parentHandle; }
    // The outermost window around ours that is still about the frame's size: where the editor's
    // window, as the user sees it, ends. 0 without a window.
    platform::NativeWindow outerWindow() const;
    CDrawContext* makeContext();

    // True while a press (and any drag loop inside it) is being handled.
    bool inMouseHandling() const { return mouseDepth > 0; }
    // For an editor closed during a gesture: the frame forgets its editor (but for ending the edits
    // begun through it), hides, stops every loop (isOpen is false) and deletes itself when the
    // outermost handler returns.
    void abandon();

    ViewRect contextBounds() const override { return boundsRect; }
    platform::NativeWindow contextWindow() const override { return windowHandle; }

private:
    void windowPressed(platform::Point where) override;
    void windowWheel(platform::Point where, int notches) override;
    void windowPaint(platform::DeviceContext& dc, const platform::Rect& damaged) override;
    void windowDestroyed() override;
    void leaveHandler();
    void resizeWindowChain(std::int32_t width, std::int32_t height);
    void resizeOne(platform::NativeWindow target, int width, int height);

    AEffGUIEditor* editorOf;
    // The editor that made the frame, whether or not it still holds it, and its lifeline: where the
    // edits begun here end.
    AEffGUIEditor* maker;
    std::shared_ptr<bool> makerAlive;
    std::vector<std::int32_t> openEdits;
    platform::NativeWindow parentHandle;
    CView* modal = nullptr;
    CView* focus = nullptr;
    bool firstPaintPending = true;
    bool isOpenNow = true;
    bool dropOn = false;
    bool updatesOff = false;
    platform::NativeWindow windowHandle = 0;
    CDropTarget* dropTarget = nullptr;
    bool cursorSaved = false;
    platform::CursorHandle savedCursor = 0;
    int mouseDepth = 0;
    bool abandoned = false;
    bool threadServices = false;
    std::thread::id startedOn;
};
