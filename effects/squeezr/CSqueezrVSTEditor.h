// The +squeezr editor, 424 x 285: title, three magic eyes (input, gain, output), six ring knobs with
// captions, the link and sensing switches, the colour button and the banner.
#pragma once

#include "viewframework/AEffGUIEditor.h"
#include "viewframework/CControlListener.h"
#include "widgets/VGEditorChrome.h"
#include "widgets/VGWidgetRef.h"

#include <cstdint>

class VGControl;
class VGGrommetKnob;
class VGMagicEye;
class VGTextButton;

class CSqueezrVSTEditor : public AEffGUIEditor, public CControlListener {
public:
    static constexpr std::int32_t kWidth = 424;
    static constexpr std::int32_t kHeight = 285;
    static constexpr const char* kBanner = "Tonewerks - +squeezr - vst - version 1.0.0";
    static constexpr const VGPalette& kDefaultPalette = VGEditorChrome::kDefaultPalette;

    explicit CSqueezrVSTEditor(AudioEffect* effect);

    bool open(void* parentWindow) override;
    void close() override;
    // From the effect, on any thread: applied at once on the editor's own thread, otherwise recorded
    // and applied at the next idle, so a host thread never touches a widget.
    void setParameter(VstInt32 index, float value) override;

    void onValueChanged(CDrawContext* context, CControl* control) override;
    std::int32_t onModifierClick(CDrawContext* context, CControl* control, std::int32_t buttons) override;

    const VGPalette& currentPalette() const { return chrome.palette(); }
    bool isEditorOpen() const { return chrome.isOpen(); }
    // Tests: the widgets of an open editor (null while closed).
    VGGrommetKnob* knob(VstInt32 index) const;
    VGMagicEye* inputMeter() const { return inputEye; }
    VGMagicEye* gainMeter() const { return gainEye; }
    VGMagicEye* outputMeter() const { return outputEye; }

protected:
    // Parameters noted from other threads, the frame's idle pass, then the six meter values into
    // the eyes (drawn at the next pass).
    void idleOpen() override;

private:
    VGControl* controlOf(VstInt32 index) const;
    void showParameter(VstInt32 index);
    void copyMeters();

    VGEditorChrome chrome{*this, *this};
    VGWidgetRef<VGGrommetKnob> ratioKnob{chrome.widgets()};
    VGWidgetRef<VGGrommetKnob> thresholdKnob{chrome.widgets()};
    VGWidgetRef<VGGrommetKnob> attackKnob{chrome.widgets()};
    VGWidgetRef<VGGrommetKnob> releaseKnob{chrome.widgets()};
    VGWidgetRef<VGGrommetKnob> makeupKnob{chrome.widgets()};
    VGWidgetRef<VGGrommetKnob> kneeKnob{chrome.widgets()};
    VGWidgetRef<VGTextButton> linkButton{chrome.widgets()};
    VGWidgetRef<VGTextButton> sensingButton{chrome.widgets()};
    VGWidgetRef<VGMagicEye> gainEye{chrome.widgets()};
    VGWidgetRef<VGMagicEye> inputEye{chrome.widgets()};
    VGWidgetRef<VGMagicEye> outputEye{chrome.widgets()};
};
