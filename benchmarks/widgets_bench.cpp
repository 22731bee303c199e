// links: msgrid_effect
// What one paint costs: each widget into its own anti-aliased picture and copied out, and the whole
// +msgrid editor (as after a palette change), on the headless window system.
#include "effects/msgrid/CMsgridVSTEditor.h"
#include "effects/msgrid/msgrid.h"
#include "platform/GraphicsSession.h"
#include "platform/HeadlessWindowSystem.h"
#include "viewframework/CFrame.h"
#include "viewframework/COffscreenContext.h"
#include "widgets/VGLogo.h"
#include "widgets/VGSlider.h"
#include "widgets/VGTextButton.h"

#include <benchmark/benchmark.h>

namespace {

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

template <class Widget>
void paintWidget(benchmark::State& state, ViewRect r, const char* name)
{
    platform::GraphicsSession session;
    VGPalette palette = CMsgridVSTEditor::kDefaultPalette;
    Widget w(r, nullptr, 0, &palette);
    w.setName(name);
    w.setUnit("dB");
    w.setValue(0.4f);
    auto* target = new COffscreenContext(nullptr, r.right, r.bottom, kColourWhite);
    for (auto _ : state) w.paint(target);
    target->release();
}

void BM_Slider340x16(benchmark::State& state)
{
    paintWidget<VGSlider>(state, ViewRect(0, 0, 340, 16), "mid gain");
}
BENCHMARK(BM_Slider340x16);

void BM_TextButton80x18(benchmark::State& state)
{
    paintWidget<VGTextButton>(state, ViewRect(0, 0, 80, 18), "lr to ms");
}
BENCHMARK(BM_TextButton80x18);

void BM_Logo340x26(benchmark::State& state)
{
    paintWidget<VGLogo>(state, ViewRect(0, 0, 340, 26), "+ m s g r i d");
}
BENCHMARK(BM_Logo340x26);

void BM_WholeMsgridEditor(benchmark::State& state)
{
    platform::HeadlessWindowSystem headless;
    platform::WindowSystem::install(&headless);
    {
        msgrid effect(host);
        AEffect* e = effect.getAeffect();
        e->dispatcher(e, effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t(0x77)), 0);
        auto* editor = static_cast<CMsgridVSTEditor*>(effect.getEditor());
        const platform::NativeWindow window = editor->getFrame()->window();
        for (auto _ : state) headless.paintNow(window, {0, 0, 350, 110});
        e->dispatcher(e, effEditClose, 0, 0, nullptr, 0);
    }
    platform::WindowSystem::install(nullptr);
}
BENCHMARK(BM_WholeMsgridEditor)->Unit(benchmark::kMicrosecond);

}  // namespace
