#include "effects/msgrid/msgrid.h"

#include "effects/msgrid/CMsgridVSTEditor.h"

#include <cmath>
#include <cstring>

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
constexpr float kOneTwentyFourth = 0.041666664f; // 1/24 rounded down, as stored values have always used
} // namespace

msgrid::msgrid(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, 1, kNumParams)
{
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(fourCharCode('+', 'm', 's', 'g'));
    new CMsgridVSTEditor(this);  // registers itself; the effect owns it
}

// The mappings are float arithmetic, one rounding per step, as the stored gains always were; the
// power and the logarithm are rounded to a float once each.
float msgrid::gainFromHost(float value)
{
    const float exponent = (value - 0.5f) * 24.0f * 0.05f;
    return static_cast<float>(std::pow(10.0, static_cast<double>(exponent)));
}

float msgrid::decibelsOf(float gain)
{
    return 20.0f * static_cast<float>(std::log10(static_cast<double>(gain)));
}

float msgrid::hostFromGain(float gain)
{
    return decibelsOf(gain) * kOneTwentyFourth + 0.5f;
}

void msgrid::resume()
{
    stereo.store(isInputConnected(1) ? 1 : 0, relaxed);
}

bool msgrid::setBypass(bool on)
{
    bypass.store(on ? 1 : 0, relaxed);
    return on;
}

void msgrid::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if (stereo.load(relaxed) != 1) return;
    if (sampleFrames <= 0 || !inputs || !outputs) return;
    const float* in0 = inputs[0];
    const float* in1 = inputs[1];
    float* out0 = outputs[0];
    float* out1 = outputs[1];
    if (!in0 || !in1 || !out0 || !out1) return;

    const auto frames = static_cast<std::size_t>(sampleFrames);
    if (bypass.load(relaxed) == 1) {
        // memmove: the host may hand the same buffer in and out.
        if (out0 != in0) std::memmove(out0, in0, frames * sizeof(float));
        if (out1 != in1) std::memmove(out1, in1, frames * sizeof(float));
        return;
    }

    const float mid = midGain.load(relaxed);
    const float side = sideGain.load(relaxed);
    if (encode.load(relaxed) == 0) {
        for (std::size_t i = 0; i < frames; ++i) {
            const float a = in0[i];
            const float b = in1[i];
            out0[i] = (a + b) * mid * 0.5f;
            out1[i] = (a - b) * side * 0.5f;
        }
    } else {
        for (std::size_t i = 0; i < frames; ++i) {
            const float a = in0[i];
            const float b = in1[i];
            out0[i] = a * mid + b * side;
            out1[i] = a * mid - b * side;
        }
    }
}

void msgrid::setParameter(VstInt32 index, float value)
{
    if (sanitizeParameter(value)) {
        switch (index) {
        case kMidGain:
            midGain.store(gainFromHost(value), relaxed);
            break;
        case kSideGain:
            sideGain.store(gainFromHost(value), relaxed);
            break;
        case kEncode:
            encode.store(value > 0.5f ? 1 : 0, relaxed);
            break;
        default:
            break;
        }
    } else if (index >= 0 && index < kNumParams) {
        value = getParameter(index); // ignored: the editor is told the value that stands
    } else {
        value = 0.0f;
    }
    if (editor) editor->setParameter(index, value);
}

float msgrid::getParameter(VstInt32 index)
{
    switch (index) {
    case kMidGain:
        return hostFromGain(midGain.load(relaxed));
    case kSideGain:
        return hostFromGain(sideGain.load(relaxed));
    case kEncode:
        return encode.load(relaxed) == 1 ? 1.0f : 0.0f;
    default:
        return -1.0f;
    }
}

void msgrid::getParameterName(VstInt32 index, char* text)
{
    static const char* const names[kNumParams] = {"mid gain", "side gain", "encode"};
    std::strcpy(text, index >= 0 && index < kNumParams ? names[index] : "ERROR");
}

void msgrid::getParameterLabel(VstInt32 index, char* text)
{
    static const char* const labels[kNumParams] = {" dB", " dB", ""};
    std::strcpy(text, index >= 0 && index < kNumParams ? labels[index] : "ERROR");
}

void msgrid::getParameterDisplay(VstInt32 index, char* text)
{
    switch (index) {
    case kMidGain:
    case kSideGain: {
        const float gain = (index == kMidGain ? midGain : sideGain).load(relaxed);
        float2string(decibelsOf(gain), text, 23);
        break;
    }
    case kEncode:
        int2string(encode.load(relaxed), text, 23);
        break;
    default:
        std::strcpy(text, "ERROR");
        break;
    }
}

void msgrid::setProgramName(char* name)
{
    // A host's name is at most kVstMaxProgNameLen bytes and need not end in a zero.
    if (name) vst_strncpy(programName, name, kVstMaxProgNameLen - 1);
}

void msgrid::getProgramName(char* name)
{
    std::strcpy(name, programName);
}

bool msgrid::getEffectName(char* name)
{
    std::strcpy(name, "+msgrid");
    return true;
}

bool msgrid::getProductString(char* text)
{
    std::strcpy(text, "+msgrid");
    return true;
}

bool msgrid::getVendorString(char* text)
{
    std::strcpy(text, "Tonewerks");
    return true;
}
