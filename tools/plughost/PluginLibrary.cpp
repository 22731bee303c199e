#include "tools/plughost/PluginLibrary.h"

PluginLibrary::~PluginLibrary()
{
    unload();
}

AEffect* PluginLibrary::load(const std::string& path, audioMasterCallback host, std::string& error)
{
    unload();
    if (!library_.open(path, error)) return nullptr;

    void* entry = library_.symbol("VSTPluginMain");
    if (!entry) entry = library_.symbol("main");
    if (!entry) {
        error = path + ": not a VST 2 plug-in (no VSTPluginMain or main entry point)";
        unload();
        return nullptr;
    }
    AEffect* effect = reinterpret_cast<VstPluginMainProc>(entry)(host);
    if (!effect) {
        error = path + ": the entry point returned no effect";
        unload();
        return nullptr;
    }
    if (effect->magic != kEffectMagic) {
        error = path + ": the entry point returned a record without the VST magic number";
        unload();
        return nullptr;
    }
    effect_ = effect;
    return effect;
}

void PluginLibrary::closeEffect()
{
    if (effect_) {
        effect_->dispatcher(effect_, effClose, 0, 0, nullptr, 0);
        effect_ = nullptr;
    }
}

void PluginLibrary::unload()
{
    closeEffect();
    library_.close();
}
