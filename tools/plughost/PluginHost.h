// A host for one VST 2 effect: answers the effect's calls back, and wraps the record's calls in
// plain operations. Used by the plughost command and by the end-to-end tests.
#pragma once

#include "tools/plughost/PluginLibrary.h"

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class PluginHost {
public:
    struct Automation {
        VstInt32 index;
        float value;
    };

    PluginHost();
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    bool open(const std::string& path, std::string& error);
    void close();
    // effClose only, the library stays loaded; safe from inside the effect's calls to the host.
    void closeEffect();
    AEffect* effect() const { return library_.effect(); }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0) const;
    // A text the effect writes into a host buffer (names, labels, displays, identity strings).
    std::string text(VstInt32 opcode, VstInt32 index = 0) const;

    std::string effectName() const { return text(effGetEffectName); }
    std::string vendor() const { return text(effGetVendorString); }
    std::string product() const { return text(effGetProductString); }
    std::string parameterName(VstInt32 index) const { return text(effGetParamName, index); }
    std::string parameterLabel(VstInt32 index) const { return text(effGetParamLabel, index); }
    std::string parameterDisplay(VstInt32 index) const { return text(effGetParamDisplay, index); }
    std::string programName() const { return text(effGetProgramName); }

    void setParameter(VstInt32 index, float value) const;
    float getParameter(VstInt32 index) const;
    void processReplacing(float** inputs, float** outputs, VstInt32 frames) const;

    // Host state the effect may ask for, and what it told the host.
    float sampleRate = 44100.0f;
    VstInt32 blockSize = 512;
    bool inputsConnected = true;
    std::vector<Automation> automations;
    std::vector<VstInt32> beginEdits;
    std::vector<VstInt32> endEdits;
    // Read by threads that synthesise input while the effect's drag loop keeps idling the host.
    std::atomic<int> idleCalls{0};
    // Whether the host offers to size the editor's window, and the sizes the effect asked for.
    bool offersSizeWindow = true;
    std::vector<std::pair<VstInt32, VstInt32>> windowSizes;
    // Told of every automation, beginEdit and endEdit as it happens (opcode, index, value), so that a
    // command can show them in the order the effect made them.
    std::function<void(VstInt32 opcode, VstInt32 index, float value)> onEdit;
    // Told of every audioMasterIdle, after it is counted.
    std::function<void()> onIdle;

    // Calls from an effect record that no host has open (one closed already, say); answered 0.
    static int strayCallbacks();

    // Answers a host callback; public so that tests can drive it like an effect would.
    VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

private:
    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                          void* ptr, float opt);

    PluginLibrary library_;
};
