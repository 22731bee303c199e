#include "effectbase/AudioEffect.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

AudioEffect* effectOf(AEffect* e)
{
    return e ? static_cast<AudioEffect*>(e->object) : nullptr;
}

// Names, labels and displays reach the host through this: at most 23 characters and a zero.
constexpr VstInt32 kTextLimit = 23;

template <typename Fill>
VstIntPtr writeBounded(void* ptr, Fill fill)
{
    if (!ptr) return 0;
    // No text holds this byte before its end: scratch without a zero means the effect wrote
    // nothing (an index it does not know), and then neither do we.
    char scratch[256];
    std::memset(scratch, 0x7F, sizeof scratch);
    fill(scratch);
    if (!std::memchr(scratch, 0, sizeof scratch - 1)) return 0;
    scratch[sizeof scratch - 1] = 0;
    vst_strncpy(static_cast<char*>(ptr), scratch, kTextLimit);
    return 0;
}

} // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams)
{
    std::memset(&cEffect, 0, sizeof cEffect);
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchTrampoline;
    cEffect.process = processTrampoline;
    cEffect.setParameter = setParameterTrampoline;
    cEffect.getParameter = getParameterTrampoline;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = fourCharCode('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingTrampoline;
    cEffect.processDoubleReplacing = processDoubleReplacingTrampoline;
}

AudioEffect::~AudioEffect()
{
    delete editor;
}

VstIntPtr VSTCALLBACK AudioEffect::dispatchTrampoline(AEffect* e, VstInt32 opcode, VstInt32 index,
                                                      VstIntPtr value, void* ptr, float opt)
{
    AudioEffect* effect = effectOf(e);
    if (!effect) return 0;
    // No exception may cross into the host.
    try {
        if (opcode == effClose) {
            effect->dispatcher(opcode, index, value, ptr, opt);
            delete effect;
            return 1;
        }
        return effect->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;
    }
}

void VSTCALLBACK AudioEffect::processTrampoline(AEffect* e, float** inputs, float** outputs, VstInt32 frames)
{
    if (AudioEffect* effect = effectOf(e)) effect->process(inputs, outputs, frames);
}

void VSTCALLBACK AudioEffect::processReplacingTrampoline(AEffect* e, float** inputs, float** outputs,
                                                         VstInt32 frames)
{
    if (AudioEffect* effect = effectOf(e)) effect->processReplacing(inputs, outputs, frames);
}

void VSTCALLBACK AudioEffect::processDoubleReplacingTrampoline(AEffect* e, double** inputs, double** outputs,
                                                               VstInt32 frames)
{
    if (AudioEffect* effect = effectOf(e)) effect->processDoubleReplacing(inputs, outputs, frames);
}

void VSTCALLBACK AudioEffect::setParameterTrampoline(AEffect* e, VstInt32 index, float value)
{
    if (AudioEffect* effect = effectOf(e)) effect->setParameter(index, value);
}

float VSTCALLBACK AudioEffect::getParameterTrampoline(AEffect* e, VstInt32 index)
{
    AudioEffect* effect = effectOf(e);
    return effect ? effect->getParameter(index) : 0.0f;
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 1;
    case effSetProgram:
        if (value >= 0 && value < numPrograms) setProgram(static_cast<VstInt32>(value));
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName: {
        if (!ptr) return 0;
        // Hosts pass names in fields of kVstMaxProgNameLen bytes that need not end in a zero: nothing
        // past the field is read, whatever the effect does with the name.
        char name[kVstMaxProgNameLen];
        vst_strncpy(name, static_cast<const char*>(ptr), kVstMaxProgNameLen - 1);
        setProgramName(name);
        return 0;
    }
    case effGetProgramName:
        return writeBounded(ptr, [&](char* s) { getProgramName(s); });
    case effGetParamLabel:
        return writeBounded(ptr, [&](char* s) { getParameterLabel(index, s); });
    case effGetParamDisplay:
        return writeBounded(ptr, [&](char* s) { getParameterDisplay(index, s); });
    case effGetParamName:
        return writeBounded(ptr, [&](char* s) { getParameterName(index, s); });
    case effGetVu: {
        const double vu = static_cast<double>(getVu()) * 32767.0;
        if (std::isnan(vu)) return 0;
        constexpr double lo = std::numeric_limits<VstInt32>::min();
        constexpr double hi = std::numeric_limits<VstInt32>::max();
        return static_cast<VstInt32>(vu < lo ? lo : vu > hi ? hi : vu);
    }
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<VstInt32>(value));
        return 0;
    case effMainsChanged:
        if (value)
            resume();
        else
            suspend();
        return 0;
    case effEditGetRect:
        if (!editor || !ptr) return 0;
        return editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
        return editor && editor->open(ptr) ? 1 : 0;
    case effEditClose:
        if (editor) editor->close();
        return 0;
    case effEditIdle:
        if (editor) editor->idle();
        return 0;
    case effIdentify:
        return fourCharCode('N', 'v', 'E', 'f');
    case effGetChunk:
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
        return 0;
    }
}

void AudioEffect::process(float**, float**, VstInt32) {}
void AudioEffect::processDoubleReplacing(double**, double**, VstInt32) {}

void AudioEffect::setParameter(VstInt32, float) {}
float AudioEffect::getParameter(VstInt32)
{
    return 0;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value)
{
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::setProgramName(char*) {}
void AudioEffect::getProgramName(char* name)
{
    if (name) *name = 0;
}
void AudioEffect::getParameterLabel(VstInt32, char* label)
{
    if (label) *label = 0;
}
void AudioEffect::getParameterDisplay(VstInt32, char* text)
{
    if (text) *text = 0;
}
void AudioEffect::getParameterName(VstInt32, char* text)
{
    if (text) *text = 0;
}

VstInt32 AudioEffect::getChunk(void**, bool)
{
    return 0;
}
VstInt32 AudioEffect::setChunk(void*, VstInt32, bool)
{
    return 0;
}

void AudioEffect::setEditor(AEffEditor* newEditor)
{
    editor = newEditor;
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state)
{
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

VstInt32 AudioEffect::getMasterVersion()
{
    const VstIntPtr version = callHost(audioMasterVersion);
    return audioMaster ? (version ? static_cast<VstInt32>(version) : 1) : 0;
}

VstInt32 AudioEffect::getCurrentUniqueId()
{
    return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle()
{
    callHost(audioMasterIdle);
}

bool AudioEffect::isInputConnected(VstInt32 input)
{
    return !audioMaster || callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output)
{
    return !audioMaster || callHost(audioMasterPinConnected, output, 1) == 0;
}

bool AudioEffect::beginEdit(VstInt32 index)
{
    return callHost(audioMasterBeginEdit, index) != 0;
}

bool AudioEffect::endEdit(VstInt32 index)
{
    return callHost(audioMasterEndEdit, index) != 0;
}

float AudioEffect::effectiveSampleRate() const
{
    const float rate = sampleRate.load(std::memory_order_relaxed);
    return std::isfinite(rate) && rate > 0 ? rate : 44100.0f;
}

bool AudioEffect::sanitizeParameter(float& value)
{
    if (!std::isfinite(value)) return false;
    value = value < 0.0f ? 0.0f : value > 1.0f ? 1.0f : value;
    return true;
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen)
{
    const float rate = sampleRate.load(std::memory_order_relaxed);
    const bool usable = std::isfinite(rate) && rate > 0;
    ::float2string(usable && samples != 0 ? rate / samples : 0.0f, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen)
{
    const float rate = sampleRate.load(std::memory_order_relaxed);
    const bool usable = std::isfinite(rate) && rate > 0;
    ::float2string(usable ? samples * 1000.0f / rate : 0.0f, text, maxLen);
}
