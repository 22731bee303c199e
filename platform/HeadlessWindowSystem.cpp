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
    windows[id] = Window{parent, client, nullptr, std::move(image), true, Rect{0, 0, w, h}, {}};
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
    auto image = DeviceContext::createOffscreen(0, w, h);
    if (!image) return;
    it->second.image = std::move(image);
    it->second.rect.right = it->second.rect.left + w;
    it->second.rect.bottom = it->second.rect.top + h;
    resizeLog.push_back({window, w, h});
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

void HeadlessWindowSystem::handleEvents()
{
    while (!queuedPresses.empty()) {
        const auto [window, where] = queuedPresses.front();
        queuedPresses.pop_front();
        press(window, where);
    }
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
    return it == windows.end() || !it->second.image ? 0 : it->second.image->pixel(x, y);
}

DropClient* HeadlessWindowSystem::dropClient(NativeWindow window) const
{
    auto it = windows.find(window);
    return it == windows.end() ? nullptr : it->second.drop;
}

NativeWindow HeadlessWindowSystem::parentWindow(NativeWindow window)
{
    if (auto it = windows.find(window); it != windows.end()) return it->second.parent;
    if (auto it = hosts.find(window); it != hosts.end()) return it->second.parent;
    return 0;
}

Rect HeadlessWindowSystem::rectOf(NativeWindow window) const
{
    if (auto it = windows.find(window); it != windows.end()) return it->second.rect;
    if (auto it = hosts.find(window); it != hosts.end()) return it->second.rect;
    return {};
}

Rect HeadlessWindowSystem::outerRect(NativeWindow window, NativeWindow relativeTo)
{
    // Screen position of a window's top-left: its offsets summed up the chain. A test may build a
    // cycle, so the walk is bounded.
    auto onScreen = [this](NativeWindow w) {
        Point p;
        for (int depth = 0; w && depth < 256; ++depth) {
            const Rect r = rectOf(w);
            p.x += r.left;
            p.y += r.top;
            w = parentWindow(w);
        }
        return p;
    };
    if (!windows.count(window) && !hosts.count(window)) return {};
    const Rect r = rectOf(window);
    const Point at = onScreen(window), origin = relativeTo ? onScreen(relativeTo) : Point{};
    const int left = at.x - origin.x, top = at.y - origin.y;
    return {left, top, left + r.width(), top + r.height()};
}

bool HeadlessWindowSystem::hasCaption(NativeWindow window)
{
    auto it = hosts.find(window);
    return it != hosts.end() && it->second.caption;
}

bool HeadlessWindowSystem::isDocumentArea(NativeWindow window)
{
    auto it = hosts.find(window);
    return it != hosts.end() && it->second.className == "MDIClient";
}

void HeadlessWindowSystem::resizeHostWindow(NativeWindow window, int w, int h)
{
    if (windows.count(window)) {
        resizeWindow(window, w, h);
        return;
    }
    auto it = hosts.find(window);
    if (it == hosts.end() || w < 0 || h < 0) return;
    it->second.rect.right = it->second.rect.left + w;
    it->second.rect.bottom = it->second.rect.top + h;
    resizeLog.push_back({window, w, h});
}

NativeWindow HeadlessWindowSystem::addHostWindow(NativeWindow parent, Rect rect, bool caption, std::string className)
{
    const NativeWindow id = nextHost++;
    hosts[id] = HostWindow{parent, rect, caption, std::move(className)};
    return id;
}

void HeadlessWindowSystem::setParent(NativeWindow hostWindow, NativeWindow parent)
{
    if (auto it = hosts.find(hostWindow); it != hosts.end()) it->second.parent = parent;
}

void HeadlessWindowSystem::removeHostWindow(NativeWindow hostWindow)
{
    hosts.erase(hostWindow);
}

}  // namespace platform

namespace platform {

std::uint16_t HeadlessWindowSystem::registerWindowClass(const WindowClassRecord& record, std::uint32_t& error)
{
    lastRecord = record;
    if (failRegistration) {
        error = failRegistration;
        failRegistration = 0;
        return 0;
    }
    return WindowSystem::registerWindowClass(record, error);
}

NativeWindow HeadlessWindowSystem::createClassWindow(const char* className, const char* title, std::uint32_t style,
                                                     const Rect& placement, NativeWindow parent, ModuleHandle instance,
                                                     std::uint32_t& error)
{
    error = 0;
    if (failClassWindow) {
        error = failClassWindow;
        failClassWindow = 0;
    } else if (!classIsRegistered(className, instance)) {
        error = kErrorClassNotFound;
    } else if ((style & kWindowChild) && (!parent || (!windows.count(parent) && !hosts.count(parent)))) {
        error = parent ? kErrorInvalidWindowHandle : kErrorNoParentForChild;
    }
    if (error) return 0;
    const NativeWindow id = nextWindow++;
    Window w;
    w.parent = parent;
    w.visible = (style & kWindowVisible) != 0;
    w.rect = placement;
    w.made = ClassWindowInfo{className, title ? title : "", style, instance, 0};
    windows[id] = std::move(w);
    return id;
}

void HeadlessWindowSystem::showWindowNow(NativeWindow window)
{
    auto it = windows.find(window);
    if (it == windows.end()) return;
    it->second.visible = true;
    ++it->second.made.shownNow;
}

bool HeadlessWindowSystem::destroyClassWindow(NativeWindow window)
{
    auto it = windows.find(window);
    if (it == windows.end() || it->second.made.className.empty()) return false;
    // Its children go with it, as the system takes them.
    std::vector<NativeWindow> inside;
    for (const auto& [id, w] : windows)
        if (w.parent == window) inside.push_back(id);
    for (NativeWindow child : inside) destroyWithParent(child);
    windows.erase(window);
    ++classDestroyed;
    return true;
}

Rect HeadlessWindowSystem::clientRect(NativeWindow window)
{
    if (!windows.count(window) && !hosts.count(window)) return {};
    const Rect r = rectOf(window);
    return {0, 0, r.width(), r.height()};
}

HeadlessWindowSystem::ClassWindowInfo HeadlessWindowSystem::classWindow(NativeWindow window) const
{
    auto it = windows.find(window);
    return it == windows.end() ? ClassWindowInfo{} : it->second.made;
}

void HeadlessWindowSystem::destroyHostWindow(NativeWindow hostWindow)
{
    // Ours below it, whatever the depth, innermost first as the system tells them.
    std::vector<NativeWindow> below{hostWindow};
    for (std::size_t i = 0; i < below.size(); ++i)
        for (const auto& [id, w] : windows)
            if (w.parent == below[i]) below.push_back(id);
    hosts.erase(hostWindow);
    for (auto it = below.rbegin(); it != below.rend(); ++it)
        if (*it != hostWindow) destroyWithParent(*it);
}

}  // namespace platform
