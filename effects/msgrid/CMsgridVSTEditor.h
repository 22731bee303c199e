// The +msgrid editor: title, mid and side gain sliders, the direction switch, the colour button and
// the banner, 350 x 110.
#pragma once

#include "viewframework/AEffGUIEditor.h"
#include "viewframework/CControlListener.h"
#include "widgets/VGEditorChrome.h"
#include "widgets/VGWidgetRef.h"

#include <cstdint>

class VGSlider;
class VGTextButton;

class CMsgridVSTEditor : public AEffGUIEditor, public CControlListener {
public:
    static constexpr std::int32_t kWidth = 350;
    static constexpr std::int32_t kHeight = 110;
    static constexpr const char* kBanner = "Tonewerks - +msgrid - vst - version 1.0.0";
    static constexpr const VGPalette& kDefaultPalette = VGEditorChrome::kDefaultPalette;

    explicit CMsgridVSTEditor(AudioEffect* effect);

    bool open(void* parentWindow) override;
    void close() override;
    // From the effect, on any thread: applied at once on the editor's own thread, otherwise recorded
    // and applied at the next idle, so a host thread never touches a widget.
    void setParameter(VstInt32 index, float value) override;

    void onValueChanged(CDrawContext* context, CControl* control) override;
    std::int32_t onModifierClick(CDrawContext* context, CControl* control, std::int32_t buttons) override;

    const VGPalette& currentPalette() const { return chrome.palette(); }
    bool isEditorOpen() const { return chrome.isOpen(); }

protected:
    // Parameters noted from other threads, then the frame's idle pass.
    void idleOpen() override;

private:
    void showParameter(VstInt32 index);

    VGEditorChrome chrome{*this, *this};
    VGWidgetRef<VGSlider> midSlider{chrome.widgets()};
    VGWidgetRef<VGSlider> sideSlider{chrome.widgets()};
    VGWidgetRef<VGTextButton> directionButton{chrome.widgets()};
};
