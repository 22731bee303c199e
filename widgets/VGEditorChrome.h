// What every editor of the family has around its own controls, written once: the palette its widgets
// share (the defaults at each open, random colours while the colour button is on), the title strip,
// the colour button, the banner strip, the graphics session, and the list of widgets that close
// forgets. The editor owns one, declared before its widget pointers, and keeps only its layout and
// wiring.
#pragma once

#include "platform/GraphicsSession.h"
#include "widgets/VGPalette.h"
#include "widgets/VGWidgetList.h"

#include <cstdint>
#include <utility>

class AEffGUIEditor;
class CControl;
class CControlListener;
class CFrame;
class VGTextButton;
struct ViewRect;

class VGEditorChrome {
public:
    static constexpr std::int32_t kTitleTag = -1;
    static constexpr std::int32_t kPassiveTag = -99;
    static constexpr std::int32_t kColourTag = -8888;
    static constexpr VGPalette kDefaultPalette = {{
        {13, 0, 39, 255},
        {144, 8, 0, 255},
        {80, 189, 216, 255},
        {0, 0, 0, 255},
    }};

    // The editor's widgets get listener; the graphics run from here until the editor is gone.
    VGEditorChrome(AEffGUIEditor& editor, CControlListener& listener);
    // Closes the editor's frame while the graphics still run: the widgets go before the session.
    ~VGEditorChrome();
    VGEditorChrome(const VGEditorChrome&) = delete;
    VGEditorChrome& operator=(const VGEditorChrome&) = delete;

    VGWidgetList& widgets() { return list; }
    const VGPalette& palette() const { return colours; }
    bool isOpen() const { return list.isOpen(); }

    // First in open, on the new frame: the default colours and the title strip across the top.
    void begin(CFrame* frame, const char* title);
    // A widget of the editor's own on the frame, with the editor as listener and the shared palette;
    // `more` follows the palette in the widget's constructor.
    template <class Widget, class... More>
    Widget* make(const ViewRect& size, std::int32_t tag, More&&... more)
    {
        return list.add(new Widget(size, &listener, tag, &colours, std::forward<More>(more)...));
    }
    // A two-state switch reading `off` at value 0 and `on` at 1.
    VGTextButton* addSwitch(const ViewRect& size, std::int32_t tag, const char* off, const char* on, float value);
    // Last in open: the colour button, the banner strip along the bottom; then the editor is open.
    void end(const ViewRect& colourButton, const char* banner);
    void forget() { list.forget(); }

    // For the colour button: random colours while it is on, exactly the defaults when it goes off,
    // and every widget redrawn. False for any other control.
    bool colourButtonChanged(CControl* control);
    // A whole listener for an editor whose controls are tagged with parameter indices: the colour
    // button as above; any other control redraws and, when it edits a parameter, tells the effect
    // and the host. Display-only widgets (negative tags) reach nobody.
    void valueChanged(CControl* control);

private:
    AEffGUIEditor& editor;
    CControlListener& listener;
    platform::GraphicsSession graphics;
    VGPalette colours = kDefaultPalette;
    VGWidgetList list;
};
