// links: vectorgram_effect squeezr_effect msgrid_effect
// What an open editor costs its host: the editor open on the headless window system, a 512-frame block
// of a changing stereo signal (a sine pair with some noise) processed between two idle calls, so that
// meters, eyes and scope have something new every pass. CPU per pass of the loop; the idle call's own
// share is the "idle" figure minus the "process only" figure of the same signal. "Silent": silence
// processed and no parameter change, so nothing an editor shows moves.
#include "effects/msgrid/msgrid.h"
#include "effects/squeezr/squeezr.h"
#include "effects/vectorgram/vectorgram.h"
#include "platform/HeadlessWindowSystem.h"
#include "viewframework/AEffGUIEditor.h"
#include "viewframework/CFrame.h"

#include <benchmark/benchmark.h>

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
constexpr std::uintptr_t kHostWindow = 0x77;

// A sine pair a fifth apart with a little noise, continuous from block to block.
class Signal {
public:
    void next(float* left, float* right)
    {
        for (int i = 0; i < kFrames; ++i, ++n) {
            left[i] = 0.5f * std::sin(float(n % 44100) * 0.0627f) + noise();
            right[i] = 0.4f * std::sin(float(n % 44100) * 0.0941f + 0.7f) + noise();
        }
    }

private:
    float noise()
    {
        seed = seed * 1664525u + 1013904223u;
        return 0.02f * (float(seed >> 8) / float(1u << 24) - 0.5f);
    }
    std::uint32_t seed = 12345;
    long n = 0;
};

enum class Loop { ProcessOnly, Idle };

template <class Effect>
void run(benchmark::State& state, bool silent, Loop loop)
{
    platform::HeadlessWindowSystem headless;
    platform::WindowSystem::install(&headless);
    {
        auto effect = std::make_unique<Effect>(host);
        AEffect* e = effect->getAeffect();
        e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
        e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);
        e->dispatcher(e, effEditOpen, 0, 0, reinterpret_cast<void*>(kHostWindow), 0);
        ERect* r = nullptr;
        e->dispatcher(e, effEditGetRect, 0, 0, &r, 0);
        // The first paint, as the system asks for it when the window shows.
        auto* editor = static_cast<AEffGUIEditor*>(effect->getEditor());
        const platform::NativeWindow window = editor->getFrame()->window();
        headless.paintNow(window, {0, 0, r ? r->right : 1000, r ? r->bottom : 1000});
        std::vector<float> inL(kFrames), inR(kFrames), outL(kFrames), outR(kFrames);
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        Signal signal;
        // Settle: a few passes so that peaks, averages and the scope's dot are under way.
        for (int i = 0; i < 20; ++i) {
            if (!silent) signal.next(inL.data(), inR.data());
            e->processReplacing(e, in, out, kFrames);
            headless.setTicks(headless.ticks() + 33);
            e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0);
        }
        for (auto _ : state) {
            if (!silent) signal.next(inL.data(), inR.data());
            e->processReplacing(e, in, out, kFrames);
            headless.setTicks(headless.ticks() + 33);
            if (loop == Loop::Idle) e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0);
            benchmark::DoNotOptimize(outL.data());
        }
        e->dispatcher(e, effEditClose, 0, 0, nullptr, 0);
        e->dispatcher(e, effClose, 0, 0, nullptr, 0);
        effect.release();  // effClose deleted it
    }
    platform::WindowSystem::install(nullptr);
}

#define IDLE_BENCH(Effect)                                                                                         \
    void BM_##Effect##_ProcessOnly(benchmark::State& s) { run<Effect>(s, false, Loop::ProcessOnly); }               \
    void BM_##Effect##_Idle(benchmark::State& s) { run<Effect>(s, false, Loop::Idle); }                             \
    void BM_##Effect##_SilentProcessOnly(benchmark::State& s) { run<Effect>(s, true, Loop::ProcessOnly); }          \
    void BM_##Effect##_SilentIdle(benchmark::State& s) { run<Effect>(s, true, Loop::Idle); }                        \
    BENCHMARK(BM_##Effect##_ProcessOnly)->Unit(benchmark::kMicrosecond);                                             \
    BENCHMARK(BM_##Effect##_Idle)->Unit(benchmark::kMicrosecond);                                                    \
    BENCHMARK(BM_##Effect##_SilentProcessOnly)->Unit(benchmark::kMicrosecond);                                       \
    BENCHMARK(BM_##Effect##_SilentIdle)->Unit(benchmark::kMicrosecond);

IDLE_BENCH(vectorgram)
IDLE_BENCH(squeezr)
IDLE_BENCH(msgrid)

}  // namespace
