// links: vectorgram_effect
// Cost of one stereo frame through the vector display effect, next to a plain copy of the same buffers
// and next to counting the 48 bit toggles one by one.
#include "effects/vectorgram/vectorgram.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0; // 0 to the pin query: the right input is connected
}

struct Buffers {
    explicit Buffers(std::size_t frames) : in{std::vector<float>(frames), std::vector<float>(frames)},
                                           out{std::vector<float>(frames), std::vector<float>(frames)}
    {
        std::mt19937 random(7);
        std::uniform_real_distribution<float> audio(-0.9f, 0.9f);
        for (auto& channel : in)
            for (float& s : channel) s = audio(random);
        inputs[0] = in[0].data();
        inputs[1] = in[1].data();
        outputs[0] = out[0].data();
        outputs[1] = out[1].data();
    }
    std::vector<float> in[2];
    std::vector<float> out[2];
    float* inputs[2];
    float* outputs[2];
};

void perFrame(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["ns/frame"] = benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Process(benchmark::State& state)
{
    const auto frames = static_cast<VstInt32>(state.range(0));
    Buffers b(static_cast<std::size_t>(frames));
    vectorgram effect(host);
    effect.resume();
    for (auto _ : state) {
        effect.processReplacing(b.inputs, b.outputs, frames);
        benchmark::DoNotOptimize(b.out[0].data());
        benchmark::ClobberMemory();
    }
    perFrame(state);
}

void BM_PlainCopy(benchmark::State& state)
{
    const auto frames = static_cast<std::size_t>(state.range(0));
    Buffers b(frames);
    for (auto _ : state) {
        std::memcpy(b.outputs[0], b.inputs[0], frames * sizeof(float));
        std::memcpy(b.outputs[1], b.inputs[1], frames * sizeof(float));
        benchmark::DoNotOptimize(b.out[0].data());
        benchmark::ClobberMemory();
    }
    perFrame(state);
}

// The toggle count alone, the obvious way: what the packed counter replaces.
void BM_OneByOneCount(benchmark::State& state)
{
    const auto frames = static_cast<std::size_t>(state.range(0));
    Buffers b(frames);
    std::int32_t last[2] = {};
    for (auto _ : state) {
        std::uint32_t counts[2][24] = {};
        for (std::size_t i = 0; i < frames; ++i) {
            for (int c = 0; c < 2; ++c) {
                const std::int32_t word = vectorgram::sampleToWord(b.inputs[c][i]);
                const auto changed = static_cast<std::uint32_t>(word ^ last[c]);
                last[c] = word;
                for (int s = 0; s < 24; ++s)
                    if (changed & (0x100u << s)) ++counts[c][s];
            }
        }
        benchmark::DoNotOptimize(counts);
    }
    perFrame(state);
}

} // namespace

BENCHMARK(BM_Process)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_PlainCopy)->Arg(64)->Arg(512)->Arg(4096);
BENCHMARK(BM_OneByOneCount)->Arg(64)->Arg(512)->Arg(4096);
