// +msgrid: left/right to mid/side and back, with a gain of -12 to +12 dB on mid and on side.
#pragma once

#include "effectbase/AudioEffectX.h"

#include <atomic>
#include <cstdint>

class msgrid : public AudioEffectX {
public:
    enum Parameter : VstInt32 { kMidGain, kSideGain, kEncode, kNumParams };

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

    // Host value and linear gain, both ways.
    static float gainFromHost(float value);
    static float hostFromGain(float gain);
    // 20 log10 of a linear gain, as the display shows it.
    static float decibelsOf(float gain);

private:
    static constexpr int kProgramNameSize = 32;

    // Written on the control thread, read per block on the audio thread.
    std::atomic<std::int32_t> stereo{0};
    std::atomic<std::uint8_t> bypass{0};
    std::atomic<float> midGain{1.0f};
    std::atomic<float> sideGain{1.0f};
    std::atomic<std::int32_t> encode{0};
    char programName[kProgramNameSize] = "Default";
};
