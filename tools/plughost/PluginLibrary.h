// Loads a VST 2 plug-in library as any host would and calls its entry point. The only view of the
// plug-in is the published record: nothing of the plug-in's own code is linked in.
#pragma once

#include "effectbase/VstAbi.h"
#include "tools/plughost/SharedLibrary.h"

#include <string>

class PluginLibrary {
public:
    PluginLibrary() = default;
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // Opens the library and asks its entry point for an effect. On failure answers null and sets error
    // to one line saying what went wrong.
    AEffect* load(const std::string& path, audioMasterCallback host, std::string& error);

    // Closes the effect (effClose) if it is still open, then unloads the library.
    void unload();
    // Closes the effect but keeps the library: a host may close an effect from inside one of the
    // effect's own calls to it, and unloading there would take the code from under that call.
    void closeEffect();

    AEffect* effect() const { return effect_; }

private:
    SharedLibrary library_;
    AEffect* effect_ = nullptr;
};
