// links: squeezr_effect
// +squeezr's stages one at a time, in nanoseconds per sample ("per_sample"), 256-sample chunks as the
// effect runs them; the curve rebuilds in microseconds.
#include "effects/squeezr/EnvelopeFollower.h"
#include "effects/squeezr/GainCurve.h"
#include "effects/squeezr/GainSmoother.h"
#include "effects/squeezr/PeakSensor.h"
#include "effects/squeezr/RmsSensor.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kChunk = 256;

// Noise under a swell, so that levels, envelope and curve index all move.
std::vector<float> makeInput(unsigned seed)
{
    std::vector<float> v(kChunk * 16);
    for (std::size_t i = 0; i < v.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        const float noise = static_cast<float>(seed >> 8) / 8388608.0f - 1.0f;
        v[i] = noise * static_cast<float>(0.05 + 0.6 * std::fabs(std::sin(static_cast<double>(i) * 0.003)));
    }
    return v;
}

void perSample(benchmark::State& state)
{
    state.counters["per_sample"] = benchmark::Counter(static_cast<double>(state.iterations()) * kChunk,
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PeakSensor(benchmark::State& state)
{
    const auto in = makeInput(1);
    float levels[kChunk];
    std::size_t offset = 0;
    for (auto _ : state) {
        PeakSensor::sense(in.data() + offset, levels, kChunk);
        benchmark::DoNotOptimize(levels);
        offset = (offset + kChunk) % in.size();
    }
    perSample(state);
}

void BM_RmsSensor(benchmark::State& state)
{
    const auto in = makeInput(1);
    RmsSensor rms;
    float levels[kChunk];
    std::size_t offset = 0;
    for (auto _ : state) {
        rms.sense(in.data() + offset, levels, kChunk);
        benchmark::DoNotOptimize(levels);
        offset = (offset + kChunk) % in.size();
    }
    perSample(state);
}

// Envelope, curve and smoothing for one channel: the chain of dependent steps the effect runs after sensing.
void BM_EnvelopeCurveSmoothing(benchmark::State& state)
{
    const auto in = makeInput(2);
    std::vector<float> levels(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) levels[i] = PeakSensor::sense(in[i]);
    GainCurve curve;
    curve.setKnee(-30.0f, 0.5f);
    curve.build(0.25f);
    EnvelopeFollower envelope;
    GainSmoother gain;
    const float attack = 1.0026141f, release = 0.99989558f;
    std::size_t offset = 0;
    for (auto _ : state) {
        for (int i = 0; i < kChunk; ++i) {
            envelope.age(attack, release);
            gain.next(curve.target<GainCurve::kOneChannelScale>(envelope.step(levels[offset + i])));
        }
        benchmark::DoNotOptimize(gain.value());
        offset = (offset + kChunk) % in.size();
    }
    perSample(state);
}

void BM_CurveBuild(benchmark::State& state)
{
    GainCurve curve;
    curve.setKnee(-30.0f, 0.5f);
    const float ratio = static_cast<float>(state.range(0)) / 100.0f;
    for (auto _ : state) {
        curve.build(ratio);
        benchmark::DoNotOptimize(curve.entry(0));
    }
}

} // namespace

BENCHMARK(BM_PeakSensor);
BENCHMARK(BM_RmsSensor);
BENCHMARK(BM_EnvelopeCurveSmoothing);
BENCHMARK(BM_CurveBuild)->Arg(25)->Arg(300)->Unit(benchmark::kMicrosecond);
