// The VST 2 extended operations (opcodes 25 to 79) on top of the base dispatcher.
#pragma once

#include "effectbase/AudioEffect.h"

struct VstSpeakerArrangement;

class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

    virtual bool canParameterBeAutomated(VstInt32) { return true; }
    virtual bool string2parameter(VstInt32, char*) { return false; }
    virtual bool getProgramNameIndexed(VstInt32, VstInt32, char*) { return false; }
    virtual void inputConnected(VstInt32, bool) {}
    virtual void outputConnected(VstInt32, bool) {}
    virtual VstInt32 getPlugCategory();
    virtual void setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate)
    {
        blockSize.store(newBlockSize, std::memory_order_relaxed);
        sampleRate.store(newSampleRate, std::memory_order_relaxed);
    }
    virtual bool setBypass(bool) { return false; }
    virtual bool getEffectName(char*) { return false; }
    virtual bool getVendorString(char*) { return false; }
    virtual bool getProductString(char*) { return false; }
    virtual VstInt32 getVendorVersion() { return 0; }
    virtual VstInt32 canDo(char*) { return 0; }
    virtual bool keysRequired() { return false; }
    virtual VstInt32 getVstVersion() { return kVstVersion; }
    virtual VstInt32 getCurrentMidiProgram() { return -1; }
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output);

    virtual bool canHostDo(char* text);
    virtual bool sizeWindow(VstInt32 width, VstInt32 height);
};
