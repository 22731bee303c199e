// The one entry point of every VST deliverable, exported as VSTPluginMain and as main.
#include "effectbase/AudioEffect.h"

#include <new>

#if defined(_WIN32)
#define TW_EXPORT extern "C" // exported by the .def file
#else
#define TW_EXPORT extern "C" __attribute__((visibility("default")))
#endif

TW_EXPORT AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster)
{
    if (!audioMaster) return nullptr;
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0) == 0) return nullptr;
    try {
        AudioEffect* effect = createEffectInstance(audioMaster);
        return effect ? effect->getAeffect() : nullptr;
    } catch (...) {
        // A constructor that throws has already released what it built; the host just gets no effect.
        return nullptr;
    }
}

#if !defined(_WIN32)
// Older hosts look for "main". C++ reserves that name, so the alias is made at the symbol level.
TW_EXPORT AEffect* mainAlias(audioMasterCallback audioMaster) __asm__("main")
    __attribute__((alias("VSTPluginMain")));
#endif
