// Helpers for driving a +squeezr instance the way a host does, in the units a user thinks in.
#pragma once

#include "effects/squeezr/squeezr.h"

#include <cmath>
#include <memory>
#include <vector>

namespace squeezr_test {

// Answers the version query and says whether the second input carries signal (0 = connected).
inline VstIntPtr VSTCALLBACK stereoHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

inline VstIntPtr VSTCALLBACK monoHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    if (opcode == audioMasterVersion) return 2400;
    return opcode == audioMasterPinConnected ? 1 : 0;
}

inline std::unique_ptr<squeezr> makeEffect(bool stereo, float sampleRate = 44100.0f)
{
    auto effect = std::make_unique<squeezr>(stereo ? stereoHost : monoHost);
    effect->setSampleRate(sampleRate);
    effect->resume();
    return effect;
}

// Host values from user units, by the effect's own table.
inline float hostValue(VstInt32 index, float unit) { return squeezr::kParameters[index].toHost(unit); }
inline float ratioValue(float ratioSetting) { return hostValue(squeezr::kRatio, ratioSetting); }
inline float thresholdValue(float db) { return hostValue(squeezr::kThreshold, db); }
inline float attackValue(float ms) { return hostValue(squeezr::kAttack, ms); }
inline float releaseValue(float seconds) { return hostValue(squeezr::kRelease, seconds); }
inline float makeupValue(float db) { return hostValue(squeezr::kMakeup, db); }

inline double dbOf(double linear) { return 20.0 * std::log10(linear); }
inline double linOf(double db) { return std::pow(10.0, db / 20.0); }

// Runs whole blocks of two channels (the second is ignored in one-channel mode); keeps the outputs.
struct Runner {
    explicit Runner(squeezr& effect) : effect(effect) {}

    squeezr& effect;
    std::vector<float> out0, out1;

    void run(const std::vector<float>& in0, const std::vector<float>& in1, int block = 512)
    {
        out0.assign(in0.size(), 0.0f);
        out1.assign(in1.size(), 0.0f);
        for (std::size_t start = 0; start < in0.size(); start += static_cast<std::size_t>(block)) {
            const auto n = static_cast<VstInt32>(std::min<std::size_t>(static_cast<std::size_t>(block), in0.size() - start));
            float* ins[2] = {const_cast<float*>(in0.data()) + start, const_cast<float*>(in1.data()) + start};
            float* outs[2] = {out0.data() + start, out1.data() + start};
            effect.processReplacing(ins, outs, n);
        }
    }

    void runConstant(float left, float right, std::size_t frames, int block = 512)
    {
        run(std::vector<float>(frames, left), std::vector<float>(frames, right), block);
    }
};

} // namespace squeezr_test
