// +squeezr: one ratio control from compression (1:40) through 1:1 to downward expansion (4:1 below
// the threshold), with soft knee, attack, release, makeup gain, peak or RMS sensing and stereo link.
#pragma once

#include "effectbase/AudioEffectX.h"
#include "effectbase/ParameterInfo.h"
#include "effects/squeezr/EnvelopeFollower.h"
#include "effects/squeezr/GainCurve.h"
#include "effects/squeezr/GainSmoother.h"
#include "effects/squeezr/RmsSensor.h"
#include "effects/squeezr/SqueezrProgram.h"

#include <atomic>
#include <cstdint>

class squeezr : public AudioEffectX {
public:
    enum Parameter : VstInt32 {
        kRatio, kThreshold, kAttack, kRelease, kMakeup, kKnee, kRmsMode, kStereoLink, kNumParams
    };
    // Names, units, ranges and mappings of the parameters above, in the same order. Initial values are
    // those of every program when the effect starts: ratio 1:1, -40 dB, 20 ms, 0.5 s, no makeup, hard knee.
    static constexpr ParameterInfo kParameters[kNumParams] = {
        {"ratio", "", -39.0f, 42.0f, ParameterInfo::Mapping::kLinear, ParameterInfo::Display::kRatio, 0.0f},
        {"threshold", " dB", -60.0f, 60.0f, ParameterInfo::Mapping::kLinear, ParameterInfo::Display::kFloat, -40.0f},
        {"attack", " ms", 1.0f, 99.0f, ParameterInfo::Mapping::kLinear, ParameterInfo::Display::kFloat, 20.0f},
        {"release", " s", 0.1f, 1.9f, ParameterInfo::Mapping::kLinear, ParameterInfo::Display::kFloat, 0.5f},
        {"makeup gain", " dB", 0.0f, 60.0f, ParameterInfo::Mapping::kLinear, ParameterInfo::Display::kFloat, 0.0f},
        {"soft knee", "", 0.0f, 1.0f, ParameterInfo::Mapping::kLinear, ParameterInfo::Display::kFloat, 0.0f},
        {"rms or peak level", "", 0.0f, 1.0f, ParameterInfo::Mapping::kSwitch, ParameterInfo::Display::kOnOff, 0.0f},
        {"stereo linked", "", 0.0f, 1.0f, ParameterInfo::Mapping::kSwitch, ParameterInfo::Display::kOnOff, 0.0f},
    };
    static constexpr VstInt32 kNumPrograms = 10;
    enum Meter : VstInt32 { kInPeakL, kInPeakR, kOutPeakL, kOutPeakR, kGainL, kGainR };

    explicit squeezr(audioMasterCallback audioMaster);
    ~squeezr() override;

    void resume() override;
    void setSampleRate(float newRate) override;
    void setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    bool setBypass(bool on) override;

    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void getParameterName(VstInt32 index, char* text) override;
    void getParameterLabel(VstInt32 index, char* text) override;
    void getParameterDisplay(VstInt32 index, char* text) override;

    void setProgram(VstInt32 program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;

    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    float getVu() override;

    // Meter values for the editor's idle pass; any thread.
    float getMeter(VstInt32 index) const;

    // The per-sample envelope factors in force (rise above 1, fall below 1).
    float attackCoefficient() const { return attackCoef.load(std::memory_order_relaxed); }
    float releaseCoefficient() const { return releaseCoef.load(std::memory_order_relaxed); }


private:
    enum class Channels { kOne, kTwo, kLinked };
    template <bool Rms, Channels Mode>
    void runChannels(const float* in0, const float* in1, float* out0, float* out1, VstInt32 frames);
    template <bool Rms>
    void runMode(const float* in0, const float* in1, float* out0, float* out1, VstInt32 frames);
    void bypassChannels(const float* in0, const float* in1, float* out0, float* out1, VstInt32 frames);

    void deriveFrom(VstInt32 index);
    float unit(VstInt32 index) const { return units[index].load(std::memory_order_relaxed); }

    void updateAttackCoef();
    void updateReleaseCoef();
    void updateMeterDecayLimit();

    SqueezrProgram programs[kNumPrograms];

    // Unit values and what is derived from them: written by setParameter, read by the audio thread.
    // By parameter index. Threshold and makeup start at 1.0, a value no program holds, so that the
    // first program computes everything that depends on them.
    std::atomic<float> units[kNumParams] = {0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    std::atomic<float> ratio{1.0f};
    std::atomic<float> attackCoef{1.0f};
    std::atomic<float> releaseCoef{1.0f};
    std::atomic<float> makeupGain{1.0f};
    std::atomic<std::uint8_t> curveDirty{0};
    std::atomic<std::uint8_t> thresholdDirty{0};
    std::atomic<std::uint8_t> bypass{0};
    std::atomic<std::int32_t> stereo{0};
    std::atomic<std::int32_t> meterDecayLimit{4410};

    // Meters: written once per block by the audio thread, read by the editor and getVu.
    std::atomic<float> inPeakL{0.0f}, inPeakR{0.0f}, outPeakL{0.0f}, outPeakR{0.0f};
    std::atomic<float> gainLMeter{1.0f}, gainRMeter{1.0f};

    // Everything below belongs to the audio thread alone.
    RmsSensor rms; // one window for both channels
    GainCurve curve;
    EnvelopeFollower envelopeL, envelopeR;
    GainSmoother smootherL, smootherR;
    std::int64_t meterCount = 0;
};
