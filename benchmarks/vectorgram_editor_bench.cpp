// links: vectorgram_effect
// What one paint costs: the vector scope with a full 512-frame trace, and the whole +vectorgram editor
// (as after a palette change) with the trace of a block of audio, on the headless window system.
#include "effects/vectorgram/CVectorgramVSTEditor.h"
#include "effects/vectorgram/vectorgram.h"
#include "platform/GraphicsSession.h"
#include "platform/HeadlessWindowSystem.h"
#include "viewframework/CFrame.h"
#include "viewframework/COffscreenContext.h"
#include "widgets/VGVectorgram.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <vector>

namespace {

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

// A Lissajous figure that keeps most of the trace inside the screen.
float left(int i) { return 0.8f * std::sin(float(i) * 0.037f); }
float right(int i) { return 0.6f * std::sin(float(i) * 0.051f + 0.5f); }

void BM_VectorScope340x340At512Samples(benchmark::State& state)
{
    platform::GraphicsSession session;
    VGPalette palette = CVectorgramVSTEditor::kDefaultPalette;
    std::vector<std::atomic<float>> a(512), b(512);
    for (int i = 0; i < 512; ++i) a[std::size_t(i)] = left(i), b[std::size_t(i)] = right(i);
    VGVectorgram scope(ViewRect(0, 0, 340, 340), nullptr, -99, &palette, a.data(), b.data(), 512);
    scope.setSampleCount(512.0f);
    auto* target = new COffscreenContext(nullptr, 340, 340, kColourWhite);
    for (auto _ : state) scope.paint(target);
    target->release();
}
BENCHMARK(BM_VectorScope340x340At512Samples)->Unit(benchmark::kMicrosecond);

void BM_WholeVectorgramEditor(benchmark::State& state)
{
    platform::HeadlessWindowSystem headless;
    platform::WindowSystem::install(&headless);
    {
        vectorgram effect(host);
        AEffect* e = effect.getAeffect();
        e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);
        std::vector<float> l(512), r(512);
        for (int i = 0; i < 512; ++i) l[std::size_t(i)] = left(i), r[std::size_t(i)] = right(i);
        float* io[2] = {l.data(), r.data()};
        e->processReplacing(e, io, io, 512);
        e->setParameter(e, 0, 1.0f);
        e->dispatcher(e, effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t(0x77)), 0);
        auto* editor = static_cast<CVectorgramVSTEditor*>(effect.getEditor());
        const platform::NativeWindow window = editor->getFrame()->window();
        for (auto _ : state) headless.paintNow(window, {0, 0, 390, 430});
        e->dispatcher(e, effEditClose, 0, 0, nullptr, 0);
    }
    platform::WindowSystem::install(nullptr);
}
BENCHMARK(BM_WholeVectorgramEditor)->Unit(benchmark::kMicrosecond);

}  // namespace
