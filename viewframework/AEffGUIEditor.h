// The editor base of the plug-ins: ties the effect, the frame and the idle cycle together. Each
// product's editor derives from it, builds its frame in open and lets close take it down.
#pragma once

#include "effectbase/AEffEditor.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

class CFrame;

class AEffGUIEditor : public AEffEditor {
public:
    explicit AEffGUIEditor(AudioEffect* effect);
    ~AEffGUIEditor() override;

    bool getRect(ERect** rect) override;
    // Closes a frame that is still open, then records the host's window; the subclass makes the frame.
    bool open(void* parentWindow) override;
    // Deletes the frame; during a gesture the frame only stops and goes when the gesture unwinds.
    void close() override;
    // Handles what the window system queued, then, if the editor is still open after that (a press
    // handled there may have closed it, or the whole effect), runs idleOpen.
    void idle() override;
    bool onKeyDown(VstKeyCode& key) override;
    bool onKeyUp(VstKeyCode& key) override;
    bool onWheel(float distance) override;
    bool setKnobMode(VstInt32 mode) override;

    virtual void beginEdit(VstInt32 index);
    virtual void endEdit(VstInt32 index);
    // One turn of the shared idle cycle, for loops that hold the thread (drags): passes about every
    // 50 ms, a 4 ms sleep on each call in between.
    virtual void runIdle();

    CFrame* getFrame() const { return frame; }
    static std::int32_t sharedKnobMode();
    // Cleared when the editor is destroyed, which the effect does when the host closes it: callers
    // on the stack keep a copy and test it after calls that may end the editor.
    std::shared_ptr<bool> lifeline() const { return alive; }

protected:
    // For the subclass's constructor: the size getRect answers, at the origin.
    void setEditorSize(std::int16_t width, std::int16_t height);
    // For the subclass's open: the base open, then a frame of the editor's size, white, in the host's
    // window. False (and no frame) when it got no window of its own.
    bool openFrame(void* parentWindow);
    // For the subclass's open, after it made frame: true when the frame got its window; otherwise
    // the frame is deleted and the editor stays closed.
    bool frameIsUsable();
    bool isParameter(VstInt32 index) const;
    // For the subclasses' setParameter: a host may call it from any thread, but widgets belong to the
    // thread that opened the editor. From another thread the index (0..31) is only noted and this
    // answers true; the next idle takes the noted indices and shows them.
    bool deferredFromOtherThread(VstInt32 index);
    std::uint32_t takeDeferredParameters() { return deferred.exchange(0, std::memory_order_relaxed); }
    // setParameter's road in the subclasses, for a parameter index: show(index) at once on the
    // editor's own thread while it is open; from another thread only the note above.
    template <class Show>
    void followParameter(VstInt32 index, bool open, Show&& show)
    {
        if (!isParameter(index) || deferredFromOtherThread(index)) return;
        if (open) show(index);
    }
    // The noted indices, each to show(index) once; for the subclasses' idle.
    template <class Show>
    void showDeferredParameters(Show&& show)
    {
        const std::uint32_t noted = takeDeferredParameters();
        for (VstInt32 i = 0; i < 32; ++i)
            if (noted & (1u << i)) show(i);
    }
    // The editor's own share of an idle, on an open editor with its frame: the frame's idle pass.
    // Subclasses add what they refresh around it.
    virtual void idleOpen();

    ERect rect{};
    std::uint32_t nextIdleTick;
    bool inIdlePass = false;
    CFrame* frame = nullptr;

private:
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    bool threadServices = false;
    std::thread::id startedOn;
    std::atomic<std::thread::id> editorThread{};
    std::atomic<std::uint32_t> deferred{0};
};
