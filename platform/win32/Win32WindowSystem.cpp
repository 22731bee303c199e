#include "platform/win32/Win32WindowSystem.h"

#include "platform/win32/GdiDeviceContext.h"

#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <map>

namespace platform {

namespace {
bool down(int key)
{
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

// One class per library: the name carries this module's handle, so two plug-ins in one process never
// share a class (or a window procedure in the other's code).
int classUsers = 0;
bool classRegistered = false;
char className[32] = "";

HMODULE thisModule()
{
    HMODULE m = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&thisModule), &m);
    return m;
}

void revokeOn(HWND hwnd);

WindowClient* clientOf(HWND hwnd)
{
    return reinterpret_cast<WindowClient*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowClient* client = clientOf(hwnd);
    if (!client) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        client->windowPressed({int(LOWORD(lParam)), int(HIWORD(lParam))});
        return 0;
    case WM_MOUSEWHEEL:
        client->windowWheel({int(short(LOWORD(lParam))), int(short(HIWORD(lParam)))},
                            int(short(HIWORD(wParam))) / WHEEL_DELTA);
        return 0;
    case WM_PAINT: {
        RECT r{};
        if (!GetUpdateRect(hwnd, &r, FALSE)) break;
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc) {
            RECT c{};
            GetClientRect(hwnd, &c);
            GdiDeviceContext context(dc, int(c.right), int(c.bottom), hwnd);
            client->windowPaint(context, {int(ps.rcPaint.left), int(ps.rcPaint.top), int(ps.rcPaint.right),
                                          int(ps.rcPaint.bottom)});
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        // Destroyed with its parent: the frame must forget the handle, which the system may reuse.
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        --classUsers;
        revokeOn(hwnd);
        client->windowDestroyed();
        break;
    default: break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool registerClass()
{
    if (classRegistered) return true;
    std::snprintf(className, sizeof className, "Plugin%p", static_cast<void*>(thisModule()));
    WNDCLASSA wc{};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = windowProcedure;
    wc.hInstance = thisModule();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = className;
    classRegistered = RegisterClassA(&wc) != 0;
    return classRegistered;
}

void unregisterClassIfUnused()
{
    if (classRegistered && classUsers <= 0) {
        UnregisterClassA(className, thisModule());
        classRegistered = false;
        classUsers = 0;
    }
}

// A window that died with its parent leaves the class registered until the next one is made. It must
// not outlive the library: its window procedure is our code, and the same library loaded again at the
// same address could not register its class under the same name.
struct ClassReleaser {
    ~ClassReleaser() { unregisterClassIfUnused(); }
} classReleaser;

// The OLE face of a window's drop target; its count starts at 0 and it goes when released to 0.
class OleDropTarget final : public IDropTarget {
public:
    explicit OleDropTarget(DropClient* c) : client(c) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override
    {
        if (!out) return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
            *out = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --count;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL pt, DWORD* effect) override
    {
        answer(effect, client ? client->dragEntered({int(pt.x), int(pt.y)}) : DropEffect::None);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL pt, DWORD* effect) override
    {
        answer(effect, client ? client->dragMoved({int(pt.x), int(pt.y)}) : DropEffect::None);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        if (client) client->dragLeft();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL pt, DWORD* effect) override
    {
        if (client) client->dropped({int(pt.x), int(pt.y)});
        answer(effect, DropEffect::None);  // whatever a view said: the source must never delete its data
        return S_OK;
    }
    void forget() { client = nullptr; }

private:
    static void answer(DWORD* effect, DropEffect e)
    {
        if (effect) *effect = e == DropEffect::Move ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
    }
    DropClient* client;
    ULONG count = 0;
};
constexpr const char* kDropProperty = "TonewerksDropTarget";

void revokeOn(HWND hwnd)
{
    auto* target = static_cast<OleDropTarget*>(RemovePropA(hwnd, kDropProperty));
    if (!target) return;
    RevokeDragDrop(hwnd);
    target->forget();
    target->Release();
}
}  // namespace

const char* Win32WindowSystem::windowClassName()
{
    return className;
}

bool Win32WindowSystem::windowClassRegistered()
{
    return classRegistered;
}

int Win32WindowSystem::liveButtons()
{
    // GetAsyncKeyState reports the logical buttons (already swapped); undo that so callers see the
    // physical ones and apply the swap they recorded themselves.
    const bool swapped = buttonsSwapped();
    int bits = 0;
    if (down(VK_LBUTTON)) bits |= swapped ? kInputRight : kInputLeft;
    if (down(VK_RBUTTON)) bits |= swapped ? kInputLeft : kInputRight;
    if (down(VK_MBUTTON)) bits |= kInputMiddle;
    if (down(VK_SHIFT)) bits |= kInputShift;
    if (down(VK_CONTROL)) bits |= kInputControl;
    if (down(VK_MENU)) bits |= kInputAlt;
    return bits;
}

bool Win32WindowSystem::buttonsSwapped()
{
    return GetSystemMetrics(SM_SWAPBUTTON) != 0;
}

Point Win32WindowSystem::pointerOnScreen()
{
    POINT p{};
    GetCursorPos(&p);
    return {int(p.x), int(p.y)};
}

Point Win32WindowSystem::windowOrigin(NativeWindow window)
{
    POINT p{0, 0};
    if (window) ClientToScreen(reinterpret_cast<HWND>(window), &p);
    return {int(p.x), int(p.y)};
}

std::unique_ptr<DeviceContext> Win32WindowSystem::windowContext(NativeWindow window)
{
    HWND hwnd = reinterpret_cast<HWND>(window);
    if (!hwnd) return nullptr;
    HDC dc = GetDC(hwnd);
    if (!dc) return nullptr;
    RECT r{};
    GetClientRect(hwnd, &r);
    return std::make_unique<GdiDeviceContext>(dc, int(r.right - r.left), int(r.bottom - r.top), hwnd);
}

std::uint32_t Win32WindowSystem::ticks()
{
    return GetTickCount();
}

void Win32WindowSystem::sleep(std::uint32_t milliseconds)
{
    Sleep(milliseconds);
}

}  // namespace platform

namespace platform {

std::uint32_t Win32WindowSystem::doubleClickTime()
{
    return GetDoubleClickTime();
}

NativeWindow Win32WindowSystem::createChildWindow(NativeWindow parent, int w, int h, WindowClient* client)
{
    HWND parentWindow = reinterpret_cast<HWND>(parent);
    if (!parentWindow || !IsWindow(parentWindow)) return 0;
    if (classUsers <= 0) unregisterClassIfUnused();  // a class left by windows that died with their parents
    if (!registerClass()) return 0;
    HWND hwnd = CreateWindowExA(0, className, "Window", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                0, 0, w, h, parentWindow, nullptr, thisModule(), nullptr);
    if (!hwnd) {
        unregisterClassIfUnused();
        return 0;
    }
    ++classUsers;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(client));
    return reinterpret_cast<NativeWindow>(hwnd);
}

void Win32WindowSystem::destroyWindow(NativeWindow window)
{
    HWND hwnd = reinterpret_cast<HWND>(window);
    // Only a live window that still names one of our clients: a handle may have been reused.
    if (!hwnd || !IsWindow(hwnd) || !clientOf(hwnd)) return;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    DestroyWindow(hwnd);
    --classUsers;
    unregisterClassIfUnused();
}

void Win32WindowSystem::hideWindow(NativeWindow window)
{
    if (HWND hwnd = reinterpret_cast<HWND>(window); hwnd && IsWindow(hwnd)) ShowWindow(hwnd, SW_HIDE);
}

void Win32WindowSystem::resizeWindow(NativeWindow window, int w, int h)
{
    if (HWND hwnd = reinterpret_cast<HWND>(window); hwnd && IsWindow(hwnd))
        SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {
HWND liveWindow(NativeWindow window)
{
    HWND hwnd = reinterpret_cast<HWND>(window);
    return hwnd && IsWindow(hwnd) ? hwnd : nullptr;
}
}  // namespace

NativeWindow Win32WindowSystem::parentWindow(NativeWindow window)
{
    HWND hwnd = liveWindow(window);
    // The parent, not the owner GetParent gives for pop-ups: a top-level window has none.
    if (!hwnd || !(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) return 0;
    HWND parent = GetAncestor(hwnd, GA_PARENT);
    if (!parent || parent == GetDesktopWindow()) return 0;
    return reinterpret_cast<NativeWindow>(parent);
}

Rect Win32WindowSystem::outerRect(NativeWindow window, NativeWindow relativeTo)
{
    HWND hwnd = liveWindow(window);
    RECT r{};
    if (!hwnd || !GetWindowRect(hwnd, &r)) return {};
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    if (HWND to = liveWindow(relativeTo)) MapWindowPoints(HWND_DESKTOP, to, corners, 2);
    return {int(corners[0].x), int(corners[0].y), int(corners[1].x), int(corners[1].y)};
}

bool Win32WindowSystem::hasCaption(NativeWindow window)
{
    HWND hwnd = liveWindow(window);
    return hwnd && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

bool Win32WindowSystem::isDocumentArea(NativeWindow window)
{
    HWND hwnd = liveWindow(window);
    char name[32] = "";
    // Class names compare without case.
    return hwnd && GetClassNameA(hwnd, name, sizeof name) && lstrcmpiA(name, "MDIClient") == 0;
}

void Win32WindowSystem::resizeHostWindow(NativeWindow window, int w, int h)
{
    if (HWND hwnd = liveWindow(window); hwnd && w >= 0 && h >= 0)
        SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Win32WindowSystem::dialogFrameHeight()
{
    return GetSystemMetrics(SM_CYDLGFRAME);
}

bool Win32WindowSystem::handlePendingPaint()
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) return false;
    DispatchMessageA(&msg);
    return true;
}

CursorHandle Win32WindowSystem::cursorInUse()
{
    return reinterpret_cast<CursorHandle>(GetCursor());
}

void Win32WindowSystem::useStandardCursor(CursorShape shape)
{
    static const LPCSTR ids[] = {IDC_WAIT, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL,
                                 IDC_SIZENESW, IDC_SIZENWSE, IDC_NO, IDC_HAND};
    SetCursor(LoadCursorA(nullptr, ids[int(shape)]));
}

void Win32WindowSystem::useCursor(CursorHandle cursor)
{
    SetCursor(reinterpret_cast<HCURSOR>(cursor));
}

bool Win32WindowSystem::startThreadServices()
{
    // S_FALSE (already initialised here) counts as a start and must be balanced too.
    return SUCCEEDED(OleInitialize(nullptr));
}

void Win32WindowSystem::stopThreadServices()
{
    OleUninitialize();
}

bool Win32WindowSystem::registerDropTarget(NativeWindow window, DropClient* client)
{
    HWND hwnd = reinterpret_cast<HWND>(window);
    if (!hwnd || !IsWindow(hwnd)) return false;
    auto* target = new OleDropTarget(client);
    target->AddRef();
    const bool ok = SUCCEEDED(RegisterDragDrop(hwnd, target));
    if (ok) {
        SetPropA(hwnd, kDropProperty, target);
    } else {
        target->forget();
        target->Release();
    }
    return ok;
}

void Win32WindowSystem::revokeDropTarget(NativeWindow window)
{
    HWND hwnd = reinterpret_cast<HWND>(window);
    if (hwnd && IsWindow(hwnd)) revokeOn(hwnd);
}

namespace {
// Class windows this library made, with what identifies each: a handle alone may have been reused
// by the time it is destroyed, when the window went with its parent.
struct ClassWindow {
    HWND parent;
    ATOM atom;
};
std::map<HWND, ClassWindow> classWindows;
}  // namespace

std::uint32_t Win32WindowSystem::windowClassRecordSize()
{
    return sizeof(WNDCLASSEXA);
}

std::uint16_t Win32WindowSystem::registerWindowClass(const WindowClassRecord& record, std::uint32_t& error)
{
    WNDCLASSEXA wc{};
    wc.cbSize = UINT(record.recordSize);
    wc.style = UINT(record.style);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = reinterpret_cast<HINSTANCE>(record.instance);
    wc.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(record.icon));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(record.cursor));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszMenuName = record.menuName;
    wc.lpszClassName = record.className;
    const ATOM atom = RegisterClassExA(&wc);
    error = atom ? 0 : GetLastError();
    return atom;
}

bool Win32WindowSystem::unregisterWindowClass(const char* className, ModuleHandle instance, std::uint32_t& error)
{
    const bool done = UnregisterClassA(className, reinterpret_cast<HINSTANCE>(instance)) != 0;
    error = done ? 0 : GetLastError();
    return done;
}

NativeWindow Win32WindowSystem::createClassWindow(const char* className, const char* title, std::uint32_t style,
                                                  const Rect& placement, NativeWindow parent, ModuleHandle instance,
                                                  std::uint32_t& error)
{
    HWND parentWindow = reinterpret_cast<HWND>(parent);
    HWND hwnd = CreateWindowExA(0, className, title, DWORD(style), placement.left, placement.top, placement.width(),
                                placement.height(), parentWindow, nullptr, reinterpret_cast<HINSTANCE>(instance),
                                nullptr);
    if (!hwnd) {
        error = GetLastError();
        // A refusal that set no error still has to read as one.
        if (!error) error = kErrorInvalidWindowHandle;
        return 0;
    }
    error = 0;
    classWindows[hwnd] = ClassWindow{parentWindow, ATOM(GetClassLongA(hwnd, GCW_ATOM))};
    return reinterpret_cast<NativeWindow>(hwnd);
}

void Win32WindowSystem::showWindowNow(NativeWindow window)
{
    HWND hwnd = reinterpret_cast<HWND>(window);
    if (!classWindows.count(hwnd) || !IsWindow(hwnd)) return;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
}

bool Win32WindowSystem::destroyClassWindow(NativeWindow window)
{
    HWND hwnd = reinterpret_cast<HWND>(window);
    auto it = classWindows.find(hwnd);
    if (it == classWindows.end()) return false;
    const ClassWindow made = it->second;
    classWindows.erase(it);
    // Gone with its parent, or the handle now names another window: nothing of ours to destroy.
    if (!IsWindow(hwnd) || ATOM(GetClassLongA(hwnd, GCW_ATOM)) != made.atom ||
        GetAncestor(hwnd, GA_PARENT) != made.parent)
        return false;
    return DestroyWindow(hwnd) != 0;
}

Rect Win32WindowSystem::clientRect(NativeWindow window)
{
    HWND hwnd = liveWindow(window);
    RECT r{};
    if (!hwnd || !GetClientRect(hwnd, &r)) return {};
    return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
}

}  // namespace platform
