// Widgets keep their picture between paints and show it again when nothing they draw from changed. Two
// editors of each effect get the same audio, parameter changes and idle passes; one of them loses all
// kept pictures before every pass, so each of its paints starts from nothing. After every pass the
// two windows must be identical to the last byte: no kept picture is ever stale.
#include "effects/squeezr/squeezr.h"
#include "effects/vectorgram/vectorgram.h"
#include "platform/HeadlessWindowSystem.h"
#include "viewframework/AEffGUIEditor.h"
#include "viewframework/CFrame.h"
#include "widgets/VGControl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

constexpr int kFrames = 512;

struct OpenEditor {
    OpenEditor(AudioEffect* made, platform::HeadlessWindowSystem& headless, std::uintptr_t parent)
        : fx(made), e(made->getAeffect())
    {
        e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
        e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);
        EXPECT_EQ(e->dispatcher(e, effEditOpen, 0, 0, reinterpret_cast<void*>(parent), 0), 1);
        ERect* r = nullptr;
        e->dispatcher(e, effEditGetRect, 0, 0, &r, 0);
        frame = static_cast<AEffGUIEditor*>(made->getEditor())->getFrame();
        headless.paintNow(frame->window(), {0, 0, r->right, r->bottom});
    }
    ~OpenEditor()
    {
        e->dispatcher(e, effEditClose, 0, 0, nullptr, 0);
        e->dispatcher(e, effClose, 0, 0, nullptr, 0);  // deletes the effect
    }
    void forgetPictures() const
    {
        for (std::int32_t i = 0; i < frame->childCount(); ++i)
            if (auto* w = dynamic_cast<VGControl*>(frame->childAt(i))) w->forgetPicture();
    }
    AudioEffect* fx;
    AEffect* e;
    CFrame* frame = nullptr;
};

// A sine pair with a little noise; `level` 0 is silence.
void block(long& n, float level, std::vector<float>& l, std::vector<float>& r)
{
    for (int i = 0; i < kFrames; ++i, ++n) {
        const float noise = 0.01f * float((n * 7919) % 101 - 50) / 50.0f;
        l[std::size_t(i)] = level * (0.6f * std::sin(float(n) * 0.0627f) + noise);
        r[std::size_t(i)] = level * (0.5f * std::sin(float(n) * 0.0941f + 0.7f) - noise);
    }
}

// Passes with signal, silence (where kept pictures are shown again), a parameter change and signal
// again; `change` is that parameter's index and value.
template <class Effect>
void runSideBySide(int change, float value)
{
    platform::HeadlessWindowSystem headless;
    platform::WindowSystem::install(&headless);
    {
        OpenEditor kept(new Effect(host), headless, 0x77);
        OpenEditor fresh(new Effect(host), headless, 0x78);
        std::vector<float> l(kFrames), r(kFrames), outL(kFrames), outR(kFrames);
        float* out[2] = {outL.data(), outR.data()};
        long n = 0;
        int differing = 0;
        for (int pass = 0; pass < 60; ++pass) {
            const float level = pass < 15 ? 1.0f : pass < 35 ? 0.0f : pass < 45 ? 0.3f : 0.0f;
            if (pass == 40) {
                kept.e->setParameter(kept.e, change, value);
                fresh.e->setParameter(fresh.e, change, value);
            }
            for (OpenEditor* ed : {&kept, &fresh}) {
                long m = n;
                block(m, level, l, r);
                float* in[2] = {l.data(), r.data()};
                ed->e->processReplacing(ed->e, in, out, kFrames);
            }
            n += kFrames;
            fresh.forgetPictures();
            headless.setTicks(headless.ticks() + 33);
            kept.e->dispatcher(kept.e, effEditIdle, 0, 0, nullptr, 0);
            fresh.e->dispatcher(fresh.e, effEditIdle, 0, 0, nullptr, 0);
            const auto a = headless.windowContext(kept.frame->window())->pixels();
            const auto b = headless.windowContext(fresh.frame->window())->pixels();
            ASSERT_EQ(a.size(), b.size());
            if (a != b) ++differing;
        }
        EXPECT_EQ(differing, 0) << "passes whose picture differs from a fresh paint of the same state";
    }
    platform::WindowSystem::install(nullptr);
}

}  // namespace

TEST(KeptPictures, VectorgramEditorMatchesFreshPaintsPassForPass)
{
    runSideBySide<vectorgram>(vectorgram::kDisplay, 0.3f);
}

TEST(KeptPictures, SqueezrEditorMatchesFreshPaintsPassForPass)
{
    runSideBySide<squeezr>(0, 0.2f);
}
