// The bridge between the Pro Tools plug-in window and the +vectorgram editor: a plain window of the
// bridge's own class placed in Pro Tools' window (at the bottom, centred across it), the editor opened
// inside it, and sizes, drawing, idle time and control values passed between Pro Tools and the editor.
// The process owns the bridge; the effect owns the editor, which stays (closed) between windows.
#pragma once

#include "platform/ClassWindow.h"
#include "protools/IVectorgramCustomUI.h"

#include <cstdint>

class CVectorgramVSTEditor;
class IVectorgramProcess;

class CVectorgramCustomUI : public IVectorgramCustomUI {
public:
    static constexpr const char* kClassName = "VectorgramLocal";
    static constexpr const char* kWindowTitle = "VectorgramCustomUI";
    static constexpr std::uint32_t kWindowStyle = platform::kWindowChild | platform::kWindowVisible;
    static constexpr std::int32_t kSamplesControl = 2;

    // Makes the editor (none without a process or its effect) and registers the window class; throws
    // the system's error number when that fails for another reason than the class existing.
    explicit CVectorgramCustomUI(IVectorgramProcess* process);
    ~CVectorgramCustomUI() override;
    CVectorgramCustomUI(const CVectorgramCustomUI&) = delete;
    CVectorgramCustomUI& operator=(const CVectorgramCustomUI&) = delete;

    void registerWindowClass() override;
    bool open(platform::NativeWindow parent) override;
    bool close() override;
    std::int32_t setControlValue(std::int32_t index, std::int32_t value) override;
    void idle() override;
    void draw(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override;
    void getRect(std::int32_t* left, std::int32_t* top, std::int32_t* right, std::int32_t* bottom) override;
    void setRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) override;
    void setControlHighlight(std::int32_t index, bool highlighted, std::int32_t colour) override;
    void controlIndexAt(std::int32_t x, std::int32_t y, std::int32_t* index) override;

    CVectorgramVSTEditor* getEditor() const { return editor; }
    platform::NativeWindow getParentWindow() const { return parentWindow; }
    platform::NativeWindow getChildWindow() const { return childWindow; }
    platform::ModuleHandle getModuleInstance() const { return moduleInstance; }
    const platform::WindowClassRecord& getWindowClass() const { return windowClass; }
    std::uint16_t getClassAtom() const { return classAtom; }
    std::int32_t getVerticalOffset() const { return verticalOffset; }
    std::int32_t getParentWidth() const { return parentWidth; }
    // Bridges alive that registered the class for a module: the last one to go unregisters it.
    static int classUsers(platform::ModuleHandle module);

private:
    struct Rect {
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t right = 0;
        std::int32_t bottom = 0;
    };

    IVectorgramProcess* process;
    platform::ModuleHandle moduleInstance = 0;
    platform::NativeWindow parentWindow = 0;
    platform::NativeWindow childWindow = 0;
    platform::WindowClassRecord windowClass{};
    std::uint16_t classAtom = 0;
    Rect viewRect;
    std::int32_t verticalOffset = 0;
    std::int32_t parentWidth = 0;
    CVectorgramVSTEditor* editor = nullptr;
    // The module this bridge counts as a user of the class for (a failed open clears moduleInstance).
    platform::ModuleHandle classModule = 0;
    bool countedAsUser = false;
};
