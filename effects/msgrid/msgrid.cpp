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

    const float mid = unit(kMidGain);
    const float side = unit(kSideGain);
    if (unit(kEncode) == 0.0f) {
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
    const bool known = index >= 0 && index < kNumParams;
    if (!sanitizeParameter(value))
        value = known ? getParameter(index) : 0.0f; // ignored: the editor is told the value that stands
    else if (known)
        units[index].store(kParameters[index].toUnit(value), relaxed);
    if (editor) editor->setParameter(index, value);
}

float msgrid::getParameter(VstInt32 index)
{
    return index >= 0 && index < kNumParams ? kParameters[index].toHost(unit(index)) : -1.0f;
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
        kParameters[index].format(unit(index), text);
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
