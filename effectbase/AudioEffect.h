// The VST 2 effect base: owns the AEffect record the host sees and turns its C calls into virtual
// operations. Everything the host passes in is treated as untrusted.
#pragma once

#include "effectbase/AEffEditor.h"
#include "effectbase/VstAbi.h"
#include "effectbase/VstStrings.h"

#include <atomic>

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
    virtual ~AudioEffect();

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}

    virtual void setSampleRate(float newRate) { sampleRate.store(newRate, std::memory_order_relaxed); }
    virtual void setBlockSize(VstInt32 newSize) { blockSize.store(newSize, std::memory_order_relaxed); }

    virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames);
    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
    virtual void processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames);

    virtual void setParameter(VstInt32 index, float value);
    virtual float getParameter(VstInt32 index);
    virtual void setParameterAutomated(VstInt32 index, float value);

    virtual VstInt32 getProgram() { return curProgram.load(std::memory_order_relaxed); }
    virtual void setProgram(VstInt32 program) { curProgram.store(program, std::memory_order_relaxed); }
    virtual void setProgramName(char* name);
    virtual void getProgramName(char* name);

    virtual void getParameterLabel(VstInt32 index, char* label);
    virtual void getParameterDisplay(VstInt32 index, char* text);
    virtual void getParameterName(VstInt32 index, char* text);

    virtual float getVu() { return 0; }
    virtual VstInt32 getChunk(void** data, bool isPreset = false);
    virtual VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset = false);

    virtual void setUniqueID(VstInt32 id) { cEffect.uniqueID = id; }
    virtual void setNumInputs(VstInt32 inputs) { cEffect.numInputs = inputs; }
    virtual void setNumOutputs(VstInt32 outputs) { cEffect.numOutputs = outputs; }
    virtual void setInitialDelay(VstInt32 delay) { cEffect.initialDelay = delay; }

    virtual void hasVu(bool state = true) { setFlag(effFlagsHasVu, state); }
    virtual void hasClip(bool state = true) { setFlag(effFlagsHasClip, state); }
    virtual void canMono(bool state = true) { setFlag(effFlagsCanMono, state); }
    virtual void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }
    virtual void canDoubleReplacing(bool state = true) { setFlag(effFlagsCanDoubleReplacing, state); }
    virtual void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }

    virtual void setEditor(AEffEditor* newEditor);
    virtual AEffEditor* getEditor() { return editor; }

    virtual AEffect* getAeffect() { return &cEffect; }
    virtual float getSampleRate() { return sampleRate.load(std::memory_order_relaxed); }
    virtual VstInt32 getBlockSize() { return blockSize.load(std::memory_order_relaxed); }
    virtual VstInt32 getNumParams() { return numParams; }
    virtual VstInt32 getNumPrograms() { return numPrograms; }

    virtual VstInt32 getMasterVersion();
    virtual VstInt32 getCurrentUniqueId();
    virtual void masterIdle();
    virtual bool isInputConnected(VstInt32 input);
    virtual bool isOutputConnected(VstInt32 output);
    virtual bool beginEdit(VstInt32 index);
    virtual bool endEdit(VstInt32 index);

    // The sample rate to compute with: the host's, or 44100 when the host gave nonsense.
    float effectiveSampleRate() const;

    // Host value to store: false for a value that must be ignored (NaN, infinite); finite values are
    // clamped into 0..1.
    static bool sanitizeParameter(float& value);

    // Need the sample rate, so they live here; the other formatters are in VstStrings.h.
    void Hz2string(float samples, char* text, VstInt32 maxLen);
    void ms2string(float samples, char* text, VstInt32 maxLen);

protected:
    void setFlag(VstInt32 flag, bool state);
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0);

    audioMasterCallback audioMaster;
    AEffEditor* editor = nullptr;
    // The host sets these from its control thread while its audio thread (processing, or automation
    // through setParameter) reads them: relaxed atomics, like every other value the two threads share.
    std::atomic<float> sampleRate{44100.0f};
    std::atomic<VstInt32> blockSize{1024};
    VstInt32 numPrograms;
    VstInt32 numParams;
    std::atomic<VstInt32> curProgram{0};
    AEffect cEffect;

private:
    static VstIntPtr VSTCALLBACK dispatchTrampoline(AEffect* e, VstInt32 opcode, VstInt32 index,
                                                    VstIntPtr value, void* ptr, float opt);
    static void VSTCALLBACK processTrampoline(AEffect* e, float** inputs, float** outputs, VstInt32 frames);
    static void VSTCALLBACK processReplacingTrampoline(AEffect* e, float** inputs, float** outputs,
                                                       VstInt32 frames);
    static void VSTCALLBACK processDoubleReplacingTrampoline(AEffect* e, double** inputs, double** outputs,
                                                             VstInt32 frames);
    static void VSTCALLBACK setParameterTrampoline(AEffect* e, VstInt32 index, float value);
    static float VSTCALLBACK getParameterTrampoline(AEffect* e, VstInt32 index);
};

static_assert(std::atomic<float>::is_always_lock_free && std::atomic<VstInt32>::is_always_lock_free,
              "the audio thread never waits on a shared field");

// Each deliverable defines this: the effect object of that plug-in.
AudioEffect* createEffectInstance(audioMasterCallback audioMaster);
