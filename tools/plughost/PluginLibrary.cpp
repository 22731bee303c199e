#include "tools/plughost/PluginLibrary.h"

#include <sys/stat.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

void* openLibrary(const std::string& path, std::string& error)
{
#if defined(_WIN32)
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) error = path + ": not a loadable library (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(module);
#else
    // RTLD_LOCAL, as hosts do: two plug-ins must not see each other's symbols.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = path + ": not a loadable library (" + (why ? why : "unknown reason") + ")";
    }
    return handle;
#endif
}

void* findSymbol(void* handle, const char* name)
{
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
    return dlsym(handle, name);
#endif
}

void closeLibrary(void* handle)
{
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle));
#else
    dlclose(handle);
#endif
}

} // namespace

PluginLibrary::~PluginLibrary()
{
    unload();
}

AEffect* PluginLibrary::load(const std::string& path, audioMasterCallback host, std::string& error)
{
    unload();
    struct stat info{};
    if (stat(path.c_str(), &info) != 0) {
        error = path + ": no such file";
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        error = path + ": not a regular file";
        return nullptr;
    }
    handle_ = openLibrary(path, error);
    if (!handle_) return nullptr;

    void* entry = findSymbol(handle_, "VSTPluginMain");
    if (!entry) entry = findSymbol(handle_, "main");
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
    if (handle_) {
        closeLibrary(handle_);
        handle_ = nullptr;
    }
}
