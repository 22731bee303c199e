// A host that does to one plug-in whatever the plug-in ABI lets a host do, and more: random
// dispatcher calls over every opcode with null, exact, large and inaccessible pointers, extreme
// indices and values, parameter and program abuse, hostile audio, transport and sample-rate changes
// mid-stream and effects closed and made again. Every answer is checked against what the effect
// documents. Driven by one seed, so a failure replays exactly.
#pragma once

#include "tests/e2e/robustness/GuardedBuffer.h"
#include "tests/e2e/robustness/PluginFacts.h"
#include "tools/plughost/PluginHost.h"

#include <cstdint>
#include <memory>
#include <random>
#include <string>

class HostAbuser {
public:
    // parentWindow: an X11 window the editor may be opened into; 0 keeps editors closed (their
    // opcodes are still sent, with no window).
    HostAbuser(const PluginFacts& facts, std::uint64_t seed, unsigned long parentWindow);
    ~HostAbuser();
    HostAbuser(const HostAbuser&) = delete;
    HostAbuser& operator=(const HostAbuser&) = delete;

    // Abuses the plug-in until it has made `calls` dispatcher calls or `seconds` have passed
    // (0: no limit of that kind). Failures are reported to the test as they are found.
    void run(std::uint64_t calls, double seconds);

    std::uint64_t dispatcherCalls() const { return calls_; }
    std::uint64_t steps() const { return step_; }
    int failures() const { return failures_; }

    // What the process was doing, printed should the plug-in bring it down.
    static void describeCrashes();

private:
    void startEffect();
    void stopEffect();
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    void randomDispatcherCall();
    void textQuery(VstInt32 opcode, VstInt32 index, std::size_t field);
    void parameterAbuse();
    void programAbuse();
    void audioAbuse();
    void transportAbuse();
    void checkParameters();
    void checkRecovery();
    void processSane(VstInt32 frames, bool check, const char* when);

    std::uint64_t next() { return rng_(); }
    std::uint64_t below(std::uint64_t n) { return n ? next() % n : 0; }
    bool chance(unsigned percent) { return below(100) < percent; }
    float hostileFloat();
    VstInt32 hostileIndex(VstInt32 count);
    VstIntPtr hostileValue();
    float hostileSample();

    void fail(const std::string& what);

    const PluginFacts& facts_;
    std::uint64_t seed_;
    std::mt19937_64 rng_;
    unsigned long parentWindow_;
    std::string path_;
    void* anchor_ = nullptr;  // keeps the library loaded while effects come and go
    std::unique_ptr<PluginHost> host_;
    AEffect* effect_ = nullptr;
    bool editorOpen_ = false;
    bool sawBadAudio_ = false;

    GuardedBuffer pointerBuffer_{4096};
    GuardedBuffer valueBuffer_{4096};
    GuardedBuffer audio_[4] = {GuardedBuffer(kMaxFrames * sizeof(float)), GuardedBuffer(kMaxFrames * sizeof(float)),
                               GuardedBuffer(kMaxFrames * sizeof(float)), GuardedBuffer(kMaxFrames * sizeof(float))};
    GuardedBuffer doubles_[4] = {GuardedBuffer(4096 * sizeof(double)), GuardedBuffer(4096 * sizeof(double)),
                                 GuardedBuffer(4096 * sizeof(double)), GuardedBuffer(4096 * sizeof(double))};

    std::uint64_t calls_ = 0;
    std::uint64_t step_ = 0;
    int failures_ = 0;

    static constexpr std::size_t kMaxFrames = 1 << 16;
};
