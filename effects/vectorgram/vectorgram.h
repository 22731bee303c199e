// +vectorgram: passes stereo audio through untouched and keeps what the vector display shows: the latest
// 512 frames of each channel, a held positive peak per channel, and how often each of the upper 24 bits
// of the sample words changes.
//
// One class, two builds: compiled with VECTORGRAM_PROTOOLS it is the variant the Pro Tools process
// drives (three parameters, "display" at index 2, no input gate, no editor of its own).
#pragma once

#include "effectbase/AudioEffectX.h"
#include "effectbase/ParameterInfo.h"

#include <atomic>
#include <cstdint>
#include <memory>

class vectorgram : public AudioEffectX {
public:
#if defined(VECTORGRAM_PROTOOLS)
    static constexpr bool kProToolsBuild = true;
#else
    static constexpr bool kProToolsBuild = false;
#endif
    static constexpr VstInt32 kNumParams = kProToolsBuild ? 3 : 1;
    static constexpr VstInt32 kDisplay = kProToolsBuild ? 2 : 0;
    static constexpr int kCaptureLength = 512;
    static constexpr int kActivityBits = 24;
    // The one parameter: how many of the captured samples the trace draws, 10..512, 200 at first.
    static constexpr ParameterInfo kDisplayParameter = {
        "display", "samples", 10.0f, 502.0f, ParameterInfo::Mapping::kCount, ParameterInfo::Display::kInteger, 200.0f};

    explicit vectorgram(audioMasterCallback audioMaster);

    void resume() override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

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

    // Meter reads for the editor's idle pass.
    float getPeak(VstInt32 channel) const;
    void getBitActivity(float* left, float* right) const;
    std::int32_t getDisplaySamples() const { return displaySamples.load(std::memory_order_relaxed); }

    // The capture windows, kCaptureLength frames each, oldest first. The display reads them in place
    // while the audio thread rewrites them; every element is a lock-free 32-bit float, so a trace drawn
    // mid-block may mix two blocks' frames but never sees a torn value.
    const std::atomic<float>* getCaptureLeft() const { return captureLeft.get(); }
    const std::atomic<float>* getCaptureRight() const { return captureRight.get(); }

    // The sample as a 32-bit word: trunc(sample x 2^31) to 64 bits, low 32 bits kept. Beyond the 64-bit
    // range it saturates, and NaN gives 0, so no input is undefined.
    static std::int32_t sampleToWord(float sample);

private:
    using Window = std::unique_ptr<std::atomic<float>[]>;
    using Activity = std::atomic<float>[kActivityBits];
    static constexpr int kProgramNameSize = 32;

    // Written by the audio thread, read by the editor; the gate and the sample count go the other way.
    std::atomic<std::int32_t> secondInputConnected{0}; // the Pro Tools build never looks at it
    Window captureLeft;
    Window captureRight;
    Activity bitActivityLeft{};
    Activity bitActivityRight{};
    std::atomic<float> peakLeft{0.0f};
    std::atomic<float> peakRight{0.0f};
    // Only the audio thread touches these.
    std::int32_t lastWordLeft = 0;
    std::int32_t lastWordRight = 0;
    std::atomic<std::int32_t> displaySamples{static_cast<std::int32_t>(kDisplayParameter.initial)};
    char programName[kProgramNameSize] = "Default";
};

static_assert(std::atomic<float>::is_always_lock_free && sizeof(std::atomic<float>) == sizeof(float),
              "the windows keep the layout of 512 plain floats, and the audio path never locks");
