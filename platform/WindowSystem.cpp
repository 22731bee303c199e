#include "platform/WindowSystem.h"

namespace platform {

WindowSystem& systemWindowSystem();  // defined by the implementation the build selected

namespace {
WindowSystem* replacement = nullptr;
}

WindowSystem& WindowSystem::current()
{
    return replacement ? *replacement : systemWindowSystem();
}

void WindowSystem::install(WindowSystem* r)
{
    replacement = r;
}

void WindowSystem::keepForLater()
{
    systemWindowSystem();
}

std::uint16_t WindowSystem::registerWindowClass(const WindowClassRecord& record, std::uint32_t& error)
{
    if (record.recordSize != windowClassRecordSize() || !record.className || !*record.className) {
        error = kErrorInvalidParameter;
        return 0;
    }
    const auto key = std::make_pair(record.instance, std::string(record.className));
    if (classes.count(key)) {
        error = kErrorClassAlreadyExists;
        return 0;
    }
    // Atoms of registered classes lie in 0xC000..0xFFFF.
    if (nextAtom == 0) nextAtom = 0xC000;
    const std::uint16_t atom = nextAtom++;
    classes[key] = atom;
    error = 0;
    return atom;
}

bool WindowSystem::unregisterWindowClass(const char* className, ModuleHandle instance, std::uint32_t& error)
{
    if (!className || classes.erase(std::make_pair(instance, std::string(className))) == 0) {
        error = kErrorClassDoesNotExist;
        return false;
    }
    error = 0;
    return true;
}

bool WindowSystem::classIsRegistered(const char* className, ModuleHandle instance) const
{
    return className && classes.count(std::make_pair(instance, std::string(className))) != 0;
}

}  // namespace platform
