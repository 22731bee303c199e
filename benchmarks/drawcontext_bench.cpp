// links: viewframework platform
// What a widget's paint costs on the draw contexts: the set-operations when nothing changed (the skip
// rules), aliased fills, and one whole cycle of off-screen context, anti-aliased shapes and copy.
#include "platform/AntiAliasedGraphics.h"
#include "platform/GraphicsSession.h"
#include "viewframework/COffscreenContext.h"

#include <benchmark/benchmark.h>

namespace {
constexpr ViewColour kRed{220, 40, 30, 255};

void SettersThatChangeNothing(benchmark::State& state)
{
    COffscreenContext c(nullptr, 64, 64, kColourBlack);
    for (auto _ : state) {
        c.setPenColour(kRed);
        c.setBrushColour(kRed);
        c.setPenWidth(1);
        c.setRasterMode(kRasterCopy);
        c.selectFont(kFaceNormal, 12, 0);
    }
}
BENCHMARK(SettersThatChangeNothing);

void FillBox(benchmark::State& state)
{
    const int side = int(state.range(0));
    COffscreenContext c(nullptr, side, side, kColourBlack);
    c.setBrushColour(kRed);
    for (auto _ : state) c.fillBox(ViewRect(0, 0, side, side));
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(FillBox)->Arg(16)->Arg(128)->Arg(512);

void FillOval(benchmark::State& state)
{
    COffscreenContext c(nullptr, 256, 256, kColourBlack);
    c.setBrushColour(kRed);
    for (auto _ : state) c.fillOval(ViewRect(0, 0, 255, 255));
}
BENCHMARK(FillOval);

void WidgetPaintCycle(benchmark::State& state)
{
    platform::GraphicsSession session;
    COffscreenContext frame(nullptr, 400, 300, kColourBlack);
    for (auto _ : state) {
        COffscreenContext widget(nullptr, 60, 60, kColourBlack);
        widget.setBrushColour(kColourWhite);
        widget.fillBox(ViewRect(0, 0, 60, 60));
        auto g = platform::AntiAliasedGraphics::create(*widget.nativeContext());
        g->setBrush(0xFF336699);
        g->fillEllipse({4, 4, 52, 52});
        g->setPen(0xFFFFFFFF, 2);
        g->strokeArc({4, 4, 52, 52}, 135, 270);
        g->flush();
        widget.blitTo(&frame, ViewRect(100, 100, 160, 160), ViewPoint(0, 0));
    }
}
BENCHMARK(WidgetPaintCycle);
}  // namespace
