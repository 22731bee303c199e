#include "platform/HeadlessWindowSystem.h"

#include "platform/BorrowedDeviceContext.h"

namespace platform {

int HeadlessWindowSystem::liveButtons()
{
    if (nextStep < steps.size()) {
        buttons = steps[nextStep].buttons;
        pointer = steps[nextStep].pointer;
        ++nextStep;
    }
    return buttons;
}

void HeadlessWindowSystem::script(std::vector<InputStep> s)
{
    steps = std::move(s);
    nextStep = 0;
}

void HeadlessWindowSystem::sleep(std::uint32_t milliseconds)
{
    clock += milliseconds;
    if (sleepHook) sleepHook();
}

Point HeadlessWindowSystem::windowOrigin(NativeWindow window)
{
    auto it = origins.find(window);
    return it == origins.end() ? Point{} : it->second;
}

std::unique_ptr<DeviceContext> HeadlessWindowSystem::windowContext(NativeWindow window)
{
    auto it = windows.find(window);
    if (it == windows.end() || !it->second.image) return nullptr;
    return std::make_unique<BorrowedDeviceContext>(*it->second.image);
}

NativeWindow HeadlessWindowSystem::createChildWindow(NativeWindow parent, int w, int h, WindowClient* client)
{
    if (failNext || !parent) {
        failNext = false;
        return 0;
    }
    auto image = DeviceContext::createOffscreen(0, w, h);
    if (!image) return 0;
    const NativeWindow id = nextWindow++;
    windows[id] = Window{parent, client, nullptr, std::move(image), true};
    return id;
}

void HeadlessWindowSystem::destroyWindow(NativeWindow window)
{
    ++destroyed;
    windows.erase(window);
    std::erase_if(paints, [window](const auto& p) { return p.first == window; });
}

void HeadlessWindowSystem::hideWindow(NativeWindow window)
{
    auto it = windows.find(window);
    if (it != windows.end()) it->second.visible = false;
}

void HeadlessWindowSystem::resizeWindow(NativeWindow window, int w, int h)
{
    auto it = windows.find(window);
    if (it == windows.end()) return;
    if (auto image = DeviceContext::createOffscreen(0, w, h)) it->second.image = std::move(image);
}

bool HeadlessWindowSystem::handlePendingPaint()
{
    if (paints.empty()) return false;
    const auto [window, rect] = paints.front();
    paints.pop_front();
    paintNow(window, rect);
    return true;
}

bool HeadlessWindowSystem::registerDropTarget(NativeWindow window, DropClient* client)
{
    auto it = windows.find(window);
    if (it == windows.end()) return false;
    it->second.drop = client;
    return true;
}

void HeadlessWindowSystem::revokeDropTarget(NativeWindow window)
{
    auto it = windows.find(window);
    if (it != windows.end()) it->second.drop = nullptr;
}

bool HeadlessWindowSystem::visible(NativeWindow window) const
{
    auto it = windows.find(window);
    return it != windows.end() && it->second.visible;
}

NativeWindow HeadlessWindowSystem::parentOf(NativeWindow window) const
{
    auto it = windows.find(window);
    return it == windows.end() ? 0 : it->second.parent;
}

void HeadlessWindowSystem::press(NativeWindow window, Point where)
{
    auto it = windows.find(window);
    if (it != windows.end() && it->second.client) it->second.client->windowPressed(where);
}

void HeadlessWindowSystem::wheel(NativeWindow window, Point onScreen, int notches)
{
    auto it = windows.find(window);
    if (it != windows.end() && it->second.client) it->second.client->windowWheel(onScreen, notches);
}

void HeadlessWindowSystem::damage(NativeWindow window, Rect damaged)
{
    if (windows.count(window)) paints.emplace_back(window, damaged);
}

void HeadlessWindowSystem::paintNow(NativeWindow window, Rect damaged)
{
    auto it = windows.find(window);
    if (it == windows.end() || !it->second.client || damaged.empty()) return;
    BorrowedDeviceContext dc(*it->second.image);
    it->second.client->windowPaint(dc, damaged);
}

void HeadlessWindowSystem::destroyWithParent(NativeWindow window)
{
    auto it = windows.find(window);
    if (it == windows.end()) return;
    WindowClient* client = it->second.client;
    windows.erase(it);
    std::erase_if(paints, [window](const auto& p) { return p.first == window; });
    if (client) client->windowDestroyed();
}

std::uint32_t HeadlessWindowSystem::pixel(NativeWindow window, int x, int y) const
{
    auto it = windows.find(window);
    return it == windows.end() ? 0 : it->second.image->pixel(x, y);
}

DropClient* HeadlessWindowSystem::dropClient(NativeWindow window) const
{
    auto it = windows.find(window);
    return it == windows.end() ? nullptr : it->second.drop;
}

}  // namespace platform
