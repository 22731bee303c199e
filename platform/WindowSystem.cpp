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

}  // namespace platform
