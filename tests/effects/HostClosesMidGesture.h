// A host that closes the editor, or the whole effect, from inside each callback a press on a widget
// makes (beginEdit, automate, endEdit, idle), during a click, a drag and a control-click, on the
// headless window system. Whatever it closes: nothing crashes (the sanitizer build watches every
// access), a closed effect never calls the host again, and while the effect lives the host sees an
// endEdit for every beginEdit, exactly once. Shared by the three editors' tests.
#pragma once

#include "effectbase/AudioEffect.h"
#include "platform/HeadlessWindowSystem.h"
#include "viewframework/AEffGUIEditor.h"
#include "viewframework/CFrame.h"
#include "viewframework/ViewConstants.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace midgesture {

// A widget to press, and whether it edits a parameter (the host then hears beginEdit, automate and
// endEdit) or is display-only (it reaches the host through idle alone).
struct Widget {
    const char* name;
    platform::Point at;
    bool edits;
};

struct Host {
    AEffect* effect = nullptr;  // null once the host closed it
    VstInt32 trigger = 0;
    bool closeEffect = false;
    bool fired = false;
    std::vector<std::pair<VstInt32, VstInt32>> edits;  // beginEdit and endEdit, with their index
    int callsAfterClose = 0;
};
inline Host* host = nullptr;

inline VstIntPtr VSTCALLBACK callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float)
{
    if (opcode == audioMasterVersion) return 2400;
    if (!host) return 0;
    if (!host->effect) {
        ++host->callsAfterClose;
        return 0;
    }
    if (opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit) host->edits.push_back({opcode, index});
    if (opcode == host->trigger && !host->fired) {
        host->fired = true;
        AEffect* fx = host->effect;
        if (host->closeEffect) host->effect = nullptr;
        fx->dispatcher(fx, host->closeEffect ? effClose : effEditClose, 0, 0, nullptr, 0);
    }
    return 0;
}

// Empty when every beginEdit was followed by one endEdit of its index and nothing else ended.
inline std::string unmatchedEdits(const std::vector<std::pair<VstInt32, VstInt32>>& edits)
{
    std::map<VstInt32, int> open;
    std::string wrong;
    for (const auto& [opcode, index] : edits)
        if (opcode == audioMasterBeginEdit)
            ++open[index];
        else if (open[index]-- == 0)
            wrong += "endEdit " + std::to_string(index) + " without beginEdit; ";
    for (const auto& [index, n] : open)
        if (n > 0) wrong += "beginEdit " + std::to_string(index) + " never ended; ";
    return wrong;
}

enum Gesture { kClick, kDrag, kDefaultClick };

inline std::vector<platform::HeadlessWindowSystem::InputStep> script(Gesture g, platform::Point at)
{
    if (g == kClick) return {{kButtonLeft, at}, {0, at}};
    if (g == kDefaultClick) return {{kButtonLeft | kModControl, at}, {0, at}};
    // Up and to the right, a pixel every other read: knobs and sliders change on the way.
    std::vector<platform::HeadlessWindowSystem::InputStep> steps;
    for (int i = 0; i < 40; ++i) steps.push_back({kButtonLeft, {at.x + i / 2, at.y - i / 2}});
    steps.push_back({0, steps.back().pointer});
    return steps;
}

// Every widget x callback it makes x (editor, effect) x gesture, each on a fresh effect whose editor
// is open and painted in a parent window of the host.
inline void run(platform::HeadlessWindowSystem& headless, const std::function<AudioEffect*(audioMasterCallback)>& make,
                platform::Rect whole, const std::vector<Widget>& widgets)
{
    const std::vector<VstInt32> all = {audioMasterBeginEdit, audioMasterAutomate, audioMasterEndEdit, audioMasterIdle};
    const std::vector<VstInt32> idleOnly = {audioMasterIdle};
    const auto parent = reinterpret_cast<void*>(platform::NativeWindow(0x7070));
    std::map<std::pair<std::string, VstInt32>, int> fired;
    for (const Widget& w : widgets)
        for (VstInt32 trigger : w.edits ? all : idleOnly)
            for (bool closeEffect : {false, true})
                for (Gesture g : {kClick, kDrag, kDefaultClick}) {
                    SCOPED_TRACE(std::string(w.name) + ", host opcode " + std::to_string(trigger) + " closes the " +
                                 (closeEffect ? "effect" : "editor") + ", gesture " + std::to_string(g));
                    Host h;
                    h.trigger = trigger;
                    h.closeEffect = closeEffect;
                    AudioEffect* fx = make(callback);
                    AEffect* ae = fx->getAeffect();
                    h.effect = ae;
                    host = &h;
                    ASSERT_EQ(ae->dispatcher(ae, effEditOpen, 0, 0, parent, 0), 1);
                    auto* editor = static_cast<AEffGUIEditor*>(fx->getEditor());
                    const platform::NativeWindow window = editor->getFrame()->window();
                    headless.paintNow(window, whole);
                    headless.setTicks(headless.ticks() + 1000);  // the gesture's first idle turn is due at once
                    headless.script(script(g, w.at));
                    headless.press(window, w.at);

                    EXPECT_EQ(h.callsAfterClose, 0);
                    if (h.fired) {
                        ++fired[std::make_pair(std::string(w.name), trigger)];
                        EXPECT_EQ(headless.windowCount(), 0u) << "the closed window went when the press unwound";
                    }
                    if (h.effect) {
                        EXPECT_EQ(unmatchedEdits(h.edits), "");
                        // The editor that was closed opens again and runs.
                        EXPECT_EQ(ae->dispatcher(ae, effEditOpen, 0, 0, parent, 0), 1);
                        ae->dispatcher(ae, effEditIdle, 0, 0, nullptr, 0);
                        ae->dispatcher(ae, effClose, 0, 0, nullptr, 0);
                    }
                    EXPECT_EQ(headless.windowCount(), 0u);
                    host = nullptr;
                }
    // Each widget made every callback of its kind, so the host really closed something in each row.
    for (const Widget& w : widgets)
        for (VstInt32 trigger : w.edits ? all : idleOnly)
            EXPECT_GT(fired[std::make_pair(std::string(w.name), trigger)], 0) << w.name << ", host opcode " << trigger;
}

}  // namespace midgesture
