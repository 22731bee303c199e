// A host that opens a plug-in's editor in an X11 window of its own, presses or drags one widget
// through XTEST, and from inside one of the effect's calls to it (beginEdit, automate, endEdit, idle)
// closes the editor or the whole effect, as real hosts do when a user closes a window or a track
// mid-gesture. The gesture is played from the host's own thread: each step is injected from inside
// the effect's calls back, so the widget's loop sees every position before the button goes up,
// however busy the machine.
#pragma once

#include "tests/e2e/robustness/PluginFacts.h"

#include <string>
#include <vector>

struct _XDisplay;

class EditorGestureHost {
public:
    enum class Trigger { BeginEdit, Automate, EndEdit, Idle };
    enum class Action { CloseEditor, CloseEffect };

    explicit EditorGestureHost(const PluginFacts& facts);
    ~EditorGestureHost();
    EditorGestureHost(const EditorGestureHost&) = delete;
    EditorGestureHost& operator=(const EditorGestureHost&) = delete;

    // False (with the reason) when there is no display with XTEST to play gestures on.
    bool ready(std::string& why) const;

    // One fresh effect, its editor open, one gesture on the widget; the host does `action` at the
    // first `trigger`. Checks what a host may rely on afterwards and reports failures to the test.
    // Answers whether the trigger came.
    bool play(const WidgetPlace& widget, Trigger trigger, Action action);

    static const char* name(Trigger trigger);
    static const char* name(Action action);

private:
    void inject(int x, int y, int button);  // button: 0 none, 1 press, -1 release

    const PluginFacts& facts_;
    _XDisplay* display_ = nullptr;
    std::string problem_;
};
