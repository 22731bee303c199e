// links: squeezr_effect
// What one paint costs: a ring knob, a magic eye (with its dB read-out), a lamp column, and the whole
// +squeezr editor (as after a palette change), on the headless window system.
#include "effects/squeezr/CSqueezrVSTEditor.h"
#include "effects/squeezr/squeezr.h"
#include "platform/GraphicsSession.h"
#include "platform/HeadlessWindowSystem.h"
#include "viewframework/CFrame.h"
#include "viewframework/COffscreenContext.h"
#include "widgets/VGGrommetKnob.h"
#include "widgets/VGMagicEye.h"
#include "widgets/VGVUBitMeter.h"

#include <benchmark/benchmark.h>

namespace {

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

template <class Widget, class Setup>
void paintWidget(benchmark::State& state, ViewRect r, Setup setup)
{
    platform::GraphicsSession session;
    VGPalette palette = CSqueezrVSTEditor::kDefaultPalette;
    Widget w(r, nullptr, 0, &palette);
    setup(w);
    auto* target = new COffscreenContext(nullptr, r.right, r.bottom, kColourWhite);
    for (auto _ : state) w.paint(target);
    target->release();
}

void BM_GrommetKnob66x66(benchmark::State& state)
{
    paintWidget<VGGrommetKnob>(state, ViewRect(0, 0, 66, 66), [](VGGrommetKnob& k) {
        k.setDisplayMin(-39.0f);
        k.setDisplayMax(3.0f);
        k.setRatioDisplay(1);
        k.setValue(0.4f);
    });
}
BENCHMARK(BM_GrommetKnob66x66);

void BM_MagicEye134x134(benchmark::State& state)
{
    paintWidget<VGMagicEye>(state, ViewRect(0, 0, 134, 134), [](VGMagicEye& e) {
        e.setLevelA(0.5f);
        e.setLevelB(0.2f);
    });
}
BENCHMARK(BM_MagicEye134x134);

void BM_VUBitMeter15x361(benchmark::State& state)
{
    paintWidget<VGVUBitMeter>(state, ViewRect(0, 0, 15, 361), [](VGVUBitMeter& m) { m.setValue(0.3f); });
}
BENCHMARK(BM_VUBitMeter15x361)->Unit(benchmark::kMicrosecond);

void BM_WholeSqueezrEditor(benchmark::State& state)
{
    platform::HeadlessWindowSystem headless;
    platform::WindowSystem::install(&headless);
    {
        squeezr effect(host);
        AEffect* e = effect.getAeffect();
        e->dispatcher(e, effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t(0x77)), 0);
        auto* editor = static_cast<CSqueezrVSTEditor*>(effect.getEditor());
        const platform::NativeWindow window = editor->getFrame()->window();
        for (auto _ : state) headless.paintNow(window, {0, 0, 424, 285});
        e->dispatcher(e, effEditClose, 0, 0, nullptr, 0);
    }
    platform::WindowSystem::install(nullptr);
}
BENCHMARK(BM_WholeSqueezrEditor)->Unit(benchmark::kMicrosecond);

}  // namespace
