// +msgrid: left/right to mid/side and back, with a gain of -12 to +12 dB on mid and on side.
#pragma once

#include "effectbase/AudioEffectX.h"
#include "effectbase/ParameterInfo.h"

#include <atomic>
#include <cstdint>

class msgrid : public AudioEffectX {
public:
    enum Parameter : VstInt32 { kMidGain, kSideGain, kEncode, kNumParams };
    // Host value per decibel of gain: 1/24 rounded down, which is what stored values have always used.
    static constexpr float kHostPerDecibel = 0.041666664f;
    // Gains of -12..+12 dB (0 dB at host value 0.5), kept as linear factors; encode off below 0.5 and at it.
    static constexpr ParameterInfo kParameters[kNumParams] = {
        {"mid gain", " dB", -12.0f, 24.0f, ParameterInfo::Mapping::kDecibels, ParameterInfo::Display::kFloat, 0.0f,
         kHostPerDecibel},
        {"side gain", " dB", -12.0f, 24.0f, ParameterInfo::Mapping::kDecibels, ParameterInfo::Display::kFloat, 0.0f,
         kHostPerDecibel},
        {"encode", "", 0.0f, 1.0f, ParameterInfo::Mapping::kSwitchAbove, ParameterInfo::Display::kInteger, 0.0f},
    };

    explicit msgrid(audioMasterCallback audioMaster);

    void resume() override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    bool setBypass(bool on) override;

    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void getParameterName(VstInt32 index, char* text) override;
    void getParameterLabel(VstInt32 index, char* text) override;
    void getParameterDisplay(VstInt32 index, char* text) override;

    void setProgramName(char* name) override;
    void getProgramName(char* name) override;

    bool getEffectName(char* name) override;
    bool getProductString(char* text) override;
    bool getVendorString(char* text) override;
    VstInt32 getVendorVersion() override { return 1000; }
    VstInt32 getPlugCategory() override { return kPlugCategEffect; }

    // Host value and linear gain, both ways, as the two gain parameters map them.
    static float gainFromHost(float value) { return kParameters[kMidGain].toUnit(value); }
    static float hostFromGain(float gain) { return kParameters[kMidGain].toHost(gain); }

private:
    static constexpr int kProgramNameSize = 32;

    float unit(VstInt32 index) const { return units[index].load(std::memory_order_relaxed); }

    // Written on the control thread, read per block on the audio thread.
    std::atomic<std::int32_t> stereo{0};
    std::atomic<std::uint8_t> bypass{0};
    // By parameter index, in the table's units: linear gains (unity at first), encode 0 or 1.
    std::atomic<float> units[kNumParams] = {1.0f, 1.0f, 0.0f};
    char programName[kProgramNameSize] = "Default";
};
