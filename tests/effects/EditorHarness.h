// The plumbing of an editor test on the headless window system, written once: a host that records
// what the effect tells it, the effect made through that host, its editor opened through the opcodes
// as a host would, idle passes with time going by, clicks and scripted drags, and the window's
// pixels read back. A test derives its fixture from EditorHarness<effect, editor> and adds its
// layout and behaviour.
#pragma once

#include "platform/HeadlessWindowSystem.h"
#include "viewframework/CFrame.h"
#include "viewframework/ViewConstants.h"
#include "widgets/VGPalette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

namespace editortest {

struct HostCall {
    VstInt32 opcode;
    VstInt32 index;
    float opt;
};
inline std::vector<HostCall>* calls = nullptr;

// Answers 0 to everything but the version, so every input counts as connected; idle and pin
// questions are not recorded.
inline VstIntPtr VSTCALLBACK hostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt)
{
    if (opcode == audioMasterVersion) return 2400;
    if (calls && opcode != audioMasterIdle && opcode != audioMasterPinConnected) calls->push_back({opcode, index, opt});
    return 0;
}

// Colours as the window's pixel words.
inline std::uint32_t word(ViewColour c)
{
    return std::uint32_t(c.red) << 16 | std::uint32_t(c.green) << 8 | c.blue;
}

template <class Effect, class Editor>
class EditorHarness : public ::testing::Test {
protected:
    static constexpr platform::NativeWindow kHostWindow = 0x5252;
    static constexpr int kWidth = Editor::kWidth, kHeight = Editor::kHeight;

    void SetUp() override
    {
        platform::WindowSystem::install(&headless);
        calls = &log;
        headless.setTicks(5000);
        effect = new Effect(hostCallback);
        aeffect = effect->getAeffect();
        editor = static_cast<Editor*>(effect->getEditor());
    }
    void TearDown() override
    {
        if (aeffect) dispatch(effClose);
        calls = nullptr;
        platform::WindowSystem::install(nullptr);
    }

    VstIntPtr dispatch(VstInt32 opcode, VstIntPtr value = 0, float opt = 0)
    {
        return aeffect->dispatcher(aeffect, opcode, 0, value, nullptr, opt);
    }
    // A template, so that a literal 0 stays a value.
    template <class T>
    VstIntPtr dispatch(VstInt32 opcode, T* ptr)
    {
        return aeffect->dispatcher(aeffect, opcode, 0, 0, ptr, 0);
    }
    // A running effect at 44.1 kHz.
    void resume()
    {
        dispatch(effSetSampleRate, 0, 44100.0f);
        dispatch(effMainsChanged, 1);
    }
    bool open() { return dispatch(effEditOpen, reinterpret_cast<void*>(kHostWindow)) == 1; }
    platform::NativeWindow window() const { return editor->getFrame() ? editor->getFrame()->window() : 0; }
    void paintAll() { headless.paintNow(window(), {0, 0, kWidth, kHeight}); }
    std::uint32_t pixel(int x, int y) const { return headless.pixel(window(), x, y); }
    // Idle passes as the host's timer makes them, with time going by.
    void idle(int passes = 1)
    {
        for (int i = 0; i < passes; ++i) {
            headless.setTicks(headless.ticks() + 60);
            dispatch(effEditIdle);
        }
    }
    void click(platform::Point at)
    {
        headless.setButtons(kButtonLeft);
        headless.press(window(), at);
        headless.setButtons(0);
    }
    // A left-button drag from the first point through the others: each position held for
    // readsPerPoint reads of the buttons (a widget's loop may read them more than once a round), the
    // last for endHolds more, then released there.
    void drag(const std::vector<platform::Point>& path, int modifiers = 0)
    {
        std::vector<platform::HeadlessWindowSystem::InputStep> steps;
        for (const platform::Point& p : path)
            for (int i = 0; i < readsPerPoint; ++i) steps.push_back({kButtonLeft | modifiers, p});
        for (int i = 0; i < endHolds; ++i) steps.push_back({kButtonLeft | modifiers, path.back()});
        steps.push_back({0, path.back()});
        headless.script(steps);
        headless.press(window(), path.front());
    }
    int count(VstInt32 opcode) const
    {
        return int(std::count_if(log.begin(), log.end(), [&](const HostCall& c) { return c.opcode == opcode; }));
    }
    std::vector<HostCall> automations() const
    {
        std::vector<HostCall> out;
        std::copy_if(log.begin(), log.end(), std::back_inserter(out),
                     [](const HostCall& c) { return c.opcode == audioMasterAutomate; });
        return out;
    }
    std::vector<std::uint32_t> picture() const
    {
        std::vector<std::uint32_t> all;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) all.push_back(pixel(x, y));
        return all;
    }

    int readsPerPoint = 1;
    int endHolds = 0;
    platform::HeadlessWindowSystem headless;
    std::vector<HostCall> log;
    Effect* effect = nullptr;
    AEffect* aeffect = nullptr;
    Editor* editor = nullptr;
};

}  // namespace editortest
