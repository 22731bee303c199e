#include "tools/plughost/SharedLibrary.h"

#include <sys/stat.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

SharedLibrary::~SharedLibrary()
{
    close();
}

bool SharedLibrary::open(const std::string& path, std::string& error)
{
    close();
    struct stat info{};
    if (stat(path.c_str(), &info) != 0) {
        error = path + ": no such file";
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = path + ": not a regular file";
        return false;
    }
#if defined(_WIN32)
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) error = path + ": not a loadable library (error " + std::to_string(GetLastError()) + ")";
    handle_ = reinterpret_cast<void*>(module);
#else
    // RTLD_LOCAL, as hosts do: two plug-ins must not see each other's symbols.
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = dlerror();
        error = path + ": not a loadable library (" + (why ? why : "unknown reason") + ")";
    }
#endif
    return handle_ != nullptr;
}

void SharedLibrary::close()
{
    if (!handle_) return;
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
    handle_ = nullptr;
}

void* SharedLibrary::symbol(const char* name) const
{
    if (!handle_) return nullptr;
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
#else
    return dlsym(handle_, name);
#endif
}
