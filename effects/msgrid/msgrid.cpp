#include "effects/msgrid/msgrid.h"

#include "effects/msgrid/CMsgridVSTEditor.h"

#include <cstring>

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
} // namespace

msgrid::msgrid(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, 1, kNumParams)
{
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(fourCharCode('+', 'm', 's', 'g'));
    new CMsgridVSTEditor(this);  // registers itself; the effect owns it
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
        case kSideGain:
            (index == kMidGain ? midGain : sideGain).store(kParameters[index].toUnit(value), relaxed);
            break;
        case kEncode:
            encode.store(kParameters[kEncode].toUnit(value) != 0.0f ? 1 : 0, relaxed);
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
    return index >= 0 && index < kNumParams ? kParameters[index].toHost(unitOf(index)) : -1.0f;
}

float msgrid::unitOf(VstInt32 index) const
{
    switch (index) {
    case kMidGain:
        return midGain.load(relaxed);
    case kSideGain:
        return sideGain.load(relaxed);
    default:
        return encode.load(relaxed) == 1 ? 1.0f : 0.0f;
    }
}

void msgrid::getParameterName(VstInt32 index, char* text)
{
    std::strcpy(text, index >= 0 && index < kNumParams ? kParameters[index].name : "ERROR");
}

void msgrid::getParameterLabel(VstInt32 index, char* text)
{
    std::strcpy(text, index >= 0 && index < kNumParams ? kParameters[index].label : "ERROR");
}

void msgrid::getParameterDisplay(VstInt32 index, char* text)
{
    if (index >= 0 && index < kNumParams)
        kParameters[index].format(unitOf(index), text);
    else
        std::strcpy(text, "ERROR");
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
