// links: squeezr_effect
// +squeezr's audio path, in nanoseconds per stereo frame ("per_frame"), 512-frame blocks.
#include "effects/squeezr/squeezr.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kBlock = 512;
constexpr int kBlocks = 32; // cycled, so no block is the same as the one before

VstIntPtr VSTCALLBACK stereoHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

VstIntPtr VSTCALLBACK monoHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : opcode == audioMasterPinConnected ? 1 : 0;
}

enum class Input { kMusic, kSilence, kDenormal };

// Noise under a moving swell: the envelope attacks, releases and sits in the knee by turns.
std::vector<float> makeInput(Input kind, unsigned seed)
{
    std::vector<float> v(static_cast<std::size_t>(kBlock) * kBlocks);
    for (std::size_t i = 0; i < v.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        const float noise = static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
        switch (kind) {
        case Input::kMusic:
            v[i] = noise * static_cast<float>(0.05 + 0.6 * std::fabs(std::sin(static_cast<double>(i) * 0.0007)));
            break;
        case Input::kSilence:
            v[i] = 0.0f;
            break;
        case Input::kDenormal:
            v[i] = noise * 1e-39f;
            break;
        }
    }
    return v;
}

struct Setup {
    bool stereo = true;
    bool rms = false;
    bool linked = false;
    bool bypass = false;
    Input input = Input::kMusic;
};

void runBlocks(benchmark::State& state, const Setup& s)
{
    auto e = std::make_unique<squeezr>(s.stereo ? stereoHost : monoHost);
    e->setSampleRate(44100.0f);
    e->resume();
    e->setParameter(squeezr::kThreshold, 0.5f);       // -30 dB
    e->setParameter(squeezr::kRatio, 36.0f / 42.0f);  // 1:4
    e->setParameter(squeezr::kKnee, 0.5f);
    e->setParameter(squeezr::kRelease, 0.0f);         // 0.1 s
    e->setParameter(squeezr::kRmsMode, s.rms ? 1.0f : 0.0f);
    e->setParameter(squeezr::kStereoLink, s.linked ? 1.0f : 0.0f);
    e->setBypass(s.bypass);

    const auto in0 = makeInput(s.input, 1), in1 = makeInput(s.input, 2);
    std::vector<float> out0(kBlock), out1(kBlock);
    float* outs[2] = {out0.data(), out1.data()};
    e->processReplacing(nullptr, outs, 0); // the first block builds the curve; not what we time

    std::size_t block = 0;
    for (auto _ : state) {
        const std::size_t offset = block * kBlock;
        float* ins[2] = {const_cast<float*>(in0.data()) + offset, const_cast<float*>(in1.data()) + offset};
        e->processReplacing(ins, outs, kBlock);
        benchmark::DoNotOptimize(out0.data());
        benchmark::DoNotOptimize(out1.data());
        benchmark::ClobberMemory();
        block = (block + 1) % kBlocks;
    }
    state.counters["per_frame"] = benchmark::Counter(static_cast<double>(state.iterations()) * kBlock,
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PeakUnlinked(benchmark::State& state) { runBlocks(state, {}); }
void BM_PeakLinked(benchmark::State& state) { runBlocks(state, {.linked = true}); }
void BM_RmsUnlinked(benchmark::State& state) { runBlocks(state, {.rms = true}); }
void BM_RmsLinked(benchmark::State& state) { runBlocks(state, {.rms = true, .linked = true}); }
void BM_OneChannel(benchmark::State& state) { runBlocks(state, {.stereo = false}); }
void BM_Bypass(benchmark::State& state) { runBlocks(state, {.bypass = true}); }
void BM_PeakSilence(benchmark::State& state) { runBlocks(state, {.input = Input::kSilence}); }
void BM_PeakDenormal(benchmark::State& state) { runBlocks(state, {.input = Input::kDenormal}); }
void BM_RmsSilence(benchmark::State& state) { runBlocks(state, {.rms = true, .input = Input::kSilence}); }
void BM_RmsDenormal(benchmark::State& state) { runBlocks(state, {.rms = true, .input = Input::kDenormal}); }

// One rebuild per iteration, as the block after a knob change does it, on an empty block.
void rebuild(benchmark::State& state, VstInt32 parameter, float a, float b)
{
    squeezr e(stereoHost);
    e.resume();
    e.setParameter(squeezr::kKnee, 0.5f);
    float* outs[2] = {nullptr, nullptr};
    bool flip = false;
    for (auto _ : state) {
        e.setParameter(parameter, (flip = !flip) ? a : b);
        e.processReplacing(nullptr, outs, 0);
    }
}

// Threshold and knee: the knee edges, then the curve.
void BM_RebuildThreshold(benchmark::State& state) { rebuild(state, squeezr::kThreshold, 0.5f, 0.6f); }
void BM_RebuildRatioCompress(benchmark::State& state) { rebuild(state, squeezr::kRatio, 0.1f, 0.2f); }
void BM_RebuildRatioExpand(benchmark::State& state) { rebuild(state, squeezr::kRatio, 0.95f, 1.0f); }

} // namespace

BENCHMARK(BM_PeakUnlinked);
BENCHMARK(BM_PeakLinked);
BENCHMARK(BM_RmsUnlinked);
BENCHMARK(BM_RmsLinked);
BENCHMARK(BM_OneChannel);
BENCHMARK(BM_Bypass);
BENCHMARK(BM_PeakSilence);
BENCHMARK(BM_PeakDenormal);
BENCHMARK(BM_RmsSilence);
BENCHMARK(BM_RmsDenormal);
BENCHMARK(BM_RebuildThreshold)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RebuildRatioCompress)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RebuildRatioExpand)->Unit(benchmark::kMicrosecond);
