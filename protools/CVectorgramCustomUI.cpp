#include "protools/CVectorgramCustomUI.h"

#include "effects/vectorgram/CVectorgramVSTEditor.h"
#include "platform/WindowSystem.h"
#include "protools/CVectorgramProcess.h"
#include "viewframework/CFrame.h"
#include "widgets/VGSlider.h"

#include <map>

namespace {

platform::WindowSystem& system()
{
    return platform::WindowSystem::current();
}

// The module a bridge last learned from its process: a bridge without a process uses it.
platform::ModuleHandle lastModuleInstance = 0;
// Bridges alive per module that registered the class: two inserts share one class.
std::map<platform::ModuleHandle, int> classUsersOf;

}  // namespace

CVectorgramCustomUI::CVectorgramCustomUI(IVectorgramProcess* p) : process(p)
{
    if (process) lastModuleInstance = process->getModuleInstance();
    moduleInstance = lastModuleInstance;
    windowClass = {};
    vectorgram* effect = process ? process->getEffect() : nullptr;
    if (effect) editor = new CVectorgramVSTEditor(effect, process);  // attached to the effect, which owns it
    try {
        registerWindowClass();
    } catch (...) {
        if (editor) {
            effect->setEditor(nullptr);
            delete editor;
            editor = nullptr;
        }
        throw;
    }
}

CVectorgramCustomUI::~CVectorgramCustomUI()
{
    // A window of the class left behind would keep it from being unregistered.
    if (childWindow) CVectorgramCustomUI::close();
    editor = nullptr;
    moduleInstance = 0;
    parentWindow = 0;
    childWindow = 0;
    if (countedAsUser && --classUsersOf[classModule] <= 0) {
        classUsersOf.erase(classModule);
        std::uint32_t error = 0;
        system().unregisterWindowClass(kClassName, classModule, error);
    }
    classAtom = 0;
}

int CVectorgramCustomUI::classUsers(platform::ModuleHandle module)
{
    const auto it = classUsersOf.find(module);
    return it == classUsersOf.end() ? 0 : it->second;
}

void CVectorgramCustomUI::registerWindowClass()
{
    windowClass = {};
    windowClass.recordSize = system().windowClassRecordSize();
    windowClass.style = platform::kClassRedrawHorizontal | platform::kClassRedrawVertical;
    windowClass.instance = moduleInstance;
    windowClass.icon = platform::kStockApplicationIcon;
    windowClass.cursor = platform::kStockArrowCursor;
    windowClass.background = platform::StockBrush::Black;
    windowClass.menuName = nullptr;
    windowClass.className = kClassName;
    std::uint32_t error = 0;
    classAtom = system().registerWindowClass(windowClass, error);
    // Another insert's bridge registered it already: that serves this one too.
    if (!classAtom && error != platform::kErrorClassAlreadyExists) throw error;
    if (!countedAsUser) {
        countedAsUser = true;
        classModule = moduleInstance;
        ++classUsersOf[classModule];
    }
}

bool CVectorgramCustomUI::open(platform::NativeWindow parent)
{
    if (childWindow) close();
    parentWindow = parent;
    if (!parentWindow) return false;
    if (!editor) {
        parentWindow = 0;  // nothing to show: no window either
        return false;
    }
    // After a failed open the module is taken afresh.
    if (!moduleInstance) moduleInstance = lastModuleInstance;

    const std::int32_t editorHeight = viewRect.bottom - viewRect.top;
    const std::int32_t editorWidth = viewRect.right - viewRect.left;
    // At the bottom of the host's window, centred across it.
    const platform::Rect client = system().clientRect(parentWindow);
    verticalOffset = client.height() - editorHeight;
    const std::int32_t y = client.top + verticalOffset;
    const std::int32_t height = client.bottom - verticalOffset;
    parentWidth = client.width();
    const std::int32_t x = editorWidth == parentWidth ? viewRect.left : (parentWidth - editorWidth) / 2;

    std::uint32_t error = 0;
    childWindow = system().createClassWindow(kClassName, kWindowTitle, kWindowStyle,
                                             platform::Rect{x, y, x + editorWidth, y + height}, parentWindow,
                                             moduleInstance, error);
    if (!childWindow) {
        parentWindow = 0;
        moduleInstance = 0;
        throw error;
    }
    system().showWindowNow(childWindow);
    editor->open(reinterpret_cast<void*>(childWindow));
    return true;
}

bool CVectorgramCustomUI::close()
{
    if (!childWindow) return false;
    const platform::NativeWindow child = childWindow;
    childWindow = 0;
    if (editor) editor->close();
    // False, with nothing touched, when the host's window took ours with it.
    return system().destroyClassWindow(child);
}

std::int32_t CVectorgramCustomUI::setControlValue(std::int32_t index, std::int32_t value)
{
    if (index == kSamplesControl && editor)
        editor->setParameter(kSamplesControl, CVectorgramProcess::controlToValue(value, 0.0f, 1.0f));
    return 0;
}

void CVectorgramCustomUI::idle()
{
    if (editor) editor->idle();
}

void CVectorgramCustomUI::draw(std::int32_t, std::int32_t, std::int32_t, std::int32_t)
{
    // The whole editor, whatever part Pro Tools names.
    if (editor && editor->getFrame()) editor->getFrame()->repaintNow();
}

void CVectorgramCustomUI::getRect(std::int32_t* left, std::int32_t* top, std::int32_t* right, std::int32_t* bottom)
{
    if (editor) {
        const ViewRect& r = editor->getEditorRect();
        viewRect = Rect{r.left, r.top, r.right, r.bottom};
    }
    if (left) *left = viewRect.left;
    if (top) *top = viewRect.top;
    if (right) *right = viewRect.right;
    if (bottom) *bottom = viewRect.bottom;
}

void CVectorgramCustomUI::setRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    if (editor) editor->setEditorRect(ViewRect(left, top, right, bottom));
}

void CVectorgramCustomUI::setControlHighlight(std::int32_t index, bool, std::int32_t)
{
    // The slider shows no highlight of its own: it is redrawn either way, other controls not at all.
    if (index == kSamplesControl && editor && editor->getFrame() && editor->slider())
        editor->slider()->setNeedsRedraw(true);
}

void CVectorgramCustomUI::controlIndexAt(std::int32_t, std::int32_t, std::int32_t* index)
{
    // No widget of the editor is a Pro Tools control as far as Pro Tools' shortcuts go.
    if (index) *index = 0;
}
