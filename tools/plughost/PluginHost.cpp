#include "tools/plughost/PluginHost.h"

#include <algorithm>
#include <cstring>

namespace {

// Hosts in this process; the callback finds its host by the effect record. While an entry point runs
// the record is not known yet, so the host that is loading answers those calls.
std::vector<PluginHost*>& hosts()
{
    static std::vector<PluginHost*> all;
    return all;
}
PluginHost* loadingHost = nullptr;
int strays = 0;

} // namespace

PluginHost::PluginHost()
{
    hosts().push_back(this);
}

PluginHost::~PluginHost()
{
    close();
    auto& all = hosts();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

bool PluginHost::open(const std::string& path, std::string& error)
{
    loadingHost = this;
    AEffect* loaded = library_.load(path, callback, error);
    loadingHost = nullptr;
    return loaded != nullptr;
}

void PluginHost::close()
{
    library_.unload();
}

void PluginHost::closeEffect()
{
    library_.closeEffect();
}

VstIntPtr VSTCALLBACK PluginHost::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                           void* ptr, float opt)
{
    if (opcode == audioMasterVersion) return kVstVersion;
    PluginHost* host = loadingHost;
    for (PluginHost* candidate : hosts())
        if (effect && candidate->effect() == effect) host = candidate;
    if (!host && effect) ++strays;
    return host ? host->answer(opcode, index, value, ptr, opt) : 0;
}

int PluginHost::strayCallbacks()
{
    return strays;
}

VstIntPtr PluginHost::answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    switch (opcode) {
    case audioMasterAutomate:
        automations.push_back({index, opt});
        if (onEdit) onEdit(opcode, index, opt);
        return 0;
    case audioMasterVersion:
        return kVstVersion;
    case audioMasterIdle:
        ++idleCalls;
        if (onIdle) onIdle();
        return 0;
    case audioMasterPinConnected:
        return inputsConnected ? 0 : 1; // 0 means connected
    case audioMasterGetSampleRate:
        return static_cast<VstIntPtr>(sampleRate);
    case audioMasterGetBlockSize:
        return blockSize;
    case audioMasterGetVendorString:
        if (ptr) std::strcpy(static_cast<char*>(ptr), "Tonewerks");
        return ptr ? 1 : 0;
    case audioMasterGetProductString:
        if (ptr) std::strcpy(static_cast<char*>(ptr), "plughost");
        return ptr ? 1 : 0;
    case audioMasterGetVendorVersion:
        return 1000;
    case audioMasterBeginEdit:
        beginEdits.push_back(index);
        if (onEdit) onEdit(opcode, index, 0);
        return 1;
    case audioMasterEndEdit:
        endEdits.push_back(index);
        if (onEdit) onEdit(opcode, index, 0);
        return 1;
    case audioMasterCanDo: {
        const char* what = static_cast<const char*>(ptr);
        return offersSizeWindow && what && (std::strcmp(what, "sizeWindow") == 0) ? 1 : 0;
    }
    case audioMasterSizeWindow:
        if (!offersSizeWindow) return 0;
        windowSizes.emplace_back(index, VstInt32(value));
        return 1;
    default:
        return 0;
    }
}

VstIntPtr PluginHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) const
{
    AEffect* e = effect();
    return e ? e->dispatcher(e, opcode, index, value, ptr, opt) : 0;
}

std::string PluginHost::text(VstInt32 opcode, VstInt32 index) const
{
    // Generous, as hosts are: an effect that writes past the published limits still lands in here.
    char buffer[512] = {};
    dispatch(opcode, index, 0, buffer);
    buffer[sizeof buffer - 1] = 0;
    return buffer;
}

void PluginHost::setParameter(VstInt32 index, float value) const
{
    if (AEffect* e = effect()) e->setParameter(e, index, value);
}

float PluginHost::getParameter(VstInt32 index) const
{
    AEffect* e = effect();
    return e ? e->getParameter(e, index) : 0.0f;
}

void PluginHost::processReplacing(float** inputs, float** outputs, VstInt32 frames) const
{
    if (AEffect* e = effect()) e->processReplacing(e, inputs, outputs, frames);
}
