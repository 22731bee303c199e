#include "tests/e2e/robustness/EditorGestureHost.h"

#include "tests/e2e/PluginFiles.h"
#include "tools/plughost/EditorWindow.h"
#include "tools/plughost/PluginHost.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kMoves = 4;
constexpr int kStep = 8;  // pixels right and up per move: raises a knob or a slider either way

}  // namespace

EditorGestureHost::EditorGestureHost(const PluginFacts& facts) : facts_(facts)
{
    display_ = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!display_)
        problem_ = "no X display";
    else if (!XTestQueryExtension(display_, &event, &error, &major, &minor))
        problem_ = "the X display has no XTEST";
}

EditorGestureHost::~EditorGestureHost()
{
    if (display_) XCloseDisplay(display_);
}

bool EditorGestureHost::ready(std::string& why) const
{
    why = problem_;
    return problem_.empty();
}

const char* EditorGestureHost::name(Trigger trigger)
{
    switch (trigger) {
    case Trigger::BeginEdit: return "beginEdit";
    case Trigger::Automate: return "automate";
    case Trigger::EndEdit: return "endEdit";
    default: return "idle";
    }
}

const char* EditorGestureHost::name(Action action)
{
    return action == Action::CloseEditor ? "closes the editor" : "closes the effect";
}

void EditorGestureHost::inject(int x, int y, int button)
{
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
    if (button) XTestFakeButtonEvent(display_, 1, button > 0 ? True : False, CurrentTime);
    // Once the server has answered, the press or position is what any connection's next query reads,
    // and a press event is on its way to the editor's connection.
    XSync(display_, False);
}

bool EditorGestureHost::play(const WidgetPlace& widget, Trigger trigger, Action action)
{
    const std::string scene = std::string(facts_.target) + ", " + widget.name + ": the host " + name(action) +
                              " inside " + name(trigger);
    std::fprintf(stderr, "gesture: %s\n", scene.c_str());
    SCOPED_TRACE(scene);

    PluginHost host;
    std::string error;
    if (!host.open(pluginPath(facts_.target), error)) {
        ADD_FAILURE() << error;
        return false;
    }
    host.dispatch(effOpen);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    host.dispatch(effSetBlockSize, 0, 512);
    host.dispatch(effMainsChanged, 0, 1);

    EditorWindow window;
    if (!window.open(facts_.editorWidth, facts_.editorHeight, error)) {
        ADD_FAILURE() << error;
        return false;
    }
    if (host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window.id())) != 1) {
        ADD_FAILURE() << "the editor did not open";
        return false;
    }
    bool editorOpen = true, effectOpen = true;
    host.dispatch(effEditIdle);
    window.discardEvents();

    int x = 0, y = 0;
    window.screenPoint((widget.left + widget.right) / 2, (widget.top + widget.bottom) / 2, x, y);
    bool pressed = false, released = false, fired = false;
    int movesLeft = kMoves;
    const int straysBefore = PluginHost::strayCallbacks();

    const auto release = [&] {
        if (!pressed || released) return;
        inject(x, y, -1);
        released = true;
    };
    // Each call back from the effect may be the one the host acts on, and moves the gesture on.
    const auto heard = [&](VstInt32 opcode) {
        const bool matches = (trigger == Trigger::BeginEdit && opcode == audioMasterBeginEdit) ||
                             (trigger == Trigger::Automate && opcode == audioMasterAutomate) ||
                             (trigger == Trigger::EndEdit && opcode == audioMasterEndEdit) ||
                             (trigger == Trigger::Idle && opcode == audioMasterIdle);
        if (matches && !fired && effectOpen) {
            fired = true;
            if (action == Action::CloseEditor) {
                host.dispatch(effEditClose);
            } else {
                host.closeEffect();
                effectOpen = false;
            }
            editorOpen = false;
        }
        if (pressed && !released && (opcode == audioMasterAutomate || opcode == audioMasterIdle)) {
            if (movesLeft > 0) {
                --movesLeft;
                x += kStep;
                y -= kStep;
                inject(x, y, 0);
            } else {
                release();
            }
        }
    };
    host.onEdit = [&](VstInt32 opcode, VstInt32, float) { heard(opcode); };
    host.onIdle = [&] { heard(audioMasterIdle); };

    inject(x, y, 1);
    pressed = true;
    // The press reaches the editor in its next idle call; a widget that drags keeps that call until
    // the button goes up, which the calls back above bring about. A click returns at once.
    if (editorOpen) host.dispatch(effEditIdle);
    release();
    if (editorOpen) host.dispatch(effEditIdle);
    host.onEdit = nullptr;
    host.onIdle = nullptr;
    window.discardEvents();

    if (widget.parameter >= 0 && !fired && trigger != Trigger::Idle)
        ADD_FAILURE() << "the gesture never reached the host: the press missed the widget";

    // A gesture the host cut short still ends its edit while the effect lives.
    if (effectOpen) {
        for (VstInt32 index : host.beginEdits) {
            const auto begun = std::count(host.beginEdits.begin(), host.beginEdits.end(), index);
            const auto ended = std::count(host.endEdits.begin(), host.endEdits.end(), index);
            if (ended < begun) {
                ADD_FAILURE() << "beginEdit " << index << " was never followed by endEdit";
                break;
            }
        }
    }
    EXPECT_EQ(PluginHost::strayCallbacks(), straysBefore) << "the effect called the host after it was closed";

    // What is left still works: the editor opens again, idles and closes; audio runs.
    if (effectOpen) {
        EXPECT_EQ(host.dispatch(effEditIdle), 0);
        EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window.id())), 1)
            << "the editor does not open again";
        host.dispatch(effEditIdle);
        host.dispatch(effEditClose);
        std::vector<float> l(256, 0.25f), r(256, -0.25f), ol(256), orr(256);
        float* in[] = {l.data(), r.data()};
        float* out[] = {ol.data(), orr.data()};
        host.processReplacing(in, out, 256);
        EXPECT_TRUE(std::all_of(ol.begin(), ol.end(), [](float v) { return v == v; }));
    }
    host.close();
    return fired;
}
