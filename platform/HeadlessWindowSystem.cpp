#include "platform/HeadlessWindowSystem.h"

namespace platform {

Point HeadlessWindowSystem::windowOrigin(NativeWindow window)
{
    auto it = origins.find(window);
    return it == origins.end() ? Point{} : it->second;
}

std::unique_ptr<DeviceContext> HeadlessWindowSystem::windowContext(NativeWindow)
{
    // Headless windows get their images with the frame; until then no window draws.
    return nullptr;
}

}  // namespace platform
