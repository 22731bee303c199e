#include "viewframework/AEffGUIEditor.h"

#include "effectbase/AudioEffect.h"
#include "platform/WindowSystem.h"
#include "viewframework/CDrawContext.h"
#include "viewframework/CFrame.h"

namespace {
std::int32_t knobMode = 0;  // one per library, as every editor of it shares it

platform::WindowSystem& system()
{
    return platform::WindowSystem::current();
}

// Wrap-safe: a is before b when the signed distance is negative.
bool before(std::uint32_t a, std::uint32_t b)
{
    return std::int32_t(a - b) < 0;
}
}  // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect), nextIdleTick(system().ticks())
{
    if (effect) effect->setEditor(this);
    threadServices = system().startThreadServices();
    startedOn = std::this_thread::get_id();
}

AEffGUIEditor::~AEffGUIEditor()
{
    *alive = false;
    if (frame) close();
    if (threadServices && startedOn == std::this_thread::get_id()) system().stopThreadServices();
}

std::int32_t AEffGUIEditor::sharedKnobMode()
{
    return knobMode;
}

bool AEffGUIEditor::getRect(ERect** r)
{
    if (!r) return false;
    *r = &rect;
    return true;
}

bool AEffGUIEditor::open(void* parentWindow)
{
    if (frame) close();
    AEffEditor::open(parentWindow);
    editorThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
    deferred.store(0, std::memory_order_relaxed);
    return true;
}

void AEffGUIEditor::setEditorSize(std::int16_t width, std::int16_t height)
{
    rect.top = 0;
    rect.left = 0;
    rect.bottom = height;
    rect.right = width;
}

bool AEffGUIEditor::openFrame(void* parentWindow)
{
    AEffGUIEditor::open(parentWindow);
    frame = new CFrame(ViewRect(0, 0, rect.right, rect.bottom), platform::NativeWindow(parentWindow), this);
    if (!frameIsUsable()) return false;
    frame->setBackgroundColour(kColourWhite);
    return true;
}

bool AEffGUIEditor::deferredFromOtherThread(VstInt32 index)
{
    if (std::this_thread::get_id() == editorThread.load(std::memory_order_relaxed)) return false;
    if (index >= 0 && index < 32) deferred.fetch_or(1u << index, std::memory_order_relaxed);
    return true;
}

bool AEffGUIEditor::frameIsUsable()
{
    if (frame && frame->window()) return true;
    if (frame) frame->release();
    frame = nullptr;
    AEffEditor::close();
    return false;
}

void AEffGUIEditor::close()
{
    if (CFrame* f = frame) {
        frame = nullptr;
        if (f->inMouseHandling())
            f->abandon();
        else
            f->release();
    }
    AEffEditor::close();
}

void AEffGUIEditor::idle()
{
    if (inIdlePass || !frame) return;
    const std::shared_ptr<bool> stillHere = alive;
    // Events of systems that queue them for us (X11); never a second press inside a press.
    if (!frame->inMouseHandling()) system().handleEvents();
    if (!*stillHere || !frame) return;
    idleOpen();
}

void AEffGUIEditor::idleOpen()
{
    frame->idlePass();
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& key)
{
    return frame && frame->onKeyPressed(key) == 1;
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& key)
{
    return frame && frame->onKeyReleased(key) == 1;
}

bool AEffGUIEditor::onWheel(float distance)
{
    if (!frame) return false;
    CDrawContext* context = new CDrawContext(frame, nullptr, platform::NativeWindow(systemWindow));
    ViewPoint where;
    context->readPointer(where);
    const bool answer = frame->onWheelTurned(context, where, distance);
    context->release();
    return answer;
}

bool AEffGUIEditor::setKnobMode(VstInt32 mode)
{
    knobMode = mode;
    return true;
}

// Only parameters: widgets with display-only tags (negative ones) edit nothing the host knows.
bool AEffGUIEditor::isParameter(VstInt32 index) const
{
    return effect && index >= 0 && index < effect->getNumParams();
}

void AEffGUIEditor::beginEdit(VstInt32 index)
{
    if (isParameter(index)) effect->beginEdit(index);
}

void AEffGUIEditor::endEdit(VstInt32 index)
{
    if (isParameter(index)) effect->endEdit(index);
}

void AEffGUIEditor::runIdle()
{
    std::uint32_t now = system().ticks();
    if (before(now, nextIdleTick)) {
        system().sleep(4);
        now += 4;
        if (before(now, nextIdleTick - 50)) return;
    }
    const std::shared_ptr<bool> stillHere = alive;
    idle();
    if (!*stillHere) return;
    system().handlePendingPaint();
    if (!*stillHere) return;
    nextIdleTick = now + 100;
    inIdlePass = true;
    if (effect) effect->masterIdle();
    // The host may have closed the effect, and with it this editor, from inside masterIdle.
    if (!*stillHere) return;
    inIdlePass = false;
}
