// The +squeezr editor, 424 x 285: title, three magic eyes (input, gain, output), six ring knobs with
// captions, the link and sensing switches, the colour button and the banner.
#pragma once

#include "platform/GraphicsSession.h"
#include "viewframework/AEffGUIEditor.h"
#include "viewframework/CControlListener.h"
#include "widgets/VGPalette.h"

#include <atomic>
#include <cstdint>

class VGBottomLabel;
class VGControl;
class VGGrommetKnob;
class VGLogo;
class VGMagicEye;
class VGSimpleLabel;
class VGTargetButton;
class VGTextButton;

class CSqueezrVSTEditor : public AEffGUIEditor, public CControlListener {
public:
    static constexpr std::int32_t kWidth = 424;
    static constexpr std::int32_t kHeight = 285;
    static constexpr std::int32_t kTitleTag = -1;
    static constexpr std::int32_t kDisplayTag = -99;
    static constexpr std::int32_t kColourTag = -8888;
    static constexpr const char* kBanner = "Tonewerks - +squeezr - vst - version 1.0.0";
    static const VGPalette kDefaultPalette;

    explicit CSqueezrVSTEditor(AudioEffect* effect);
    ~CSqueezrVSTEditor() override;

    bool open(void* parentWindow) override;
    void close() override;
    // From the effect, on any thread: applied at once on the editor's own thread, otherwise recorded
    // and applied at the next idle, so a host thread never touches a widget.
    void setParameter(VstInt32 index, float value) override;

    void onValueChanged(CDrawContext* context, CControl* control) override;
    std::int32_t onModifierClick(CDrawContext* context, CControl* control, std::int32_t buttons) override;

    const VGPalette& currentPalette() const { return palette; }
    bool isEditorOpen() const { return editorOpen.load(std::memory_order_relaxed); }
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
    void applyPending();
    void copyMeters();

    VGGrommetKnob* ratioKnob = nullptr;
    VGGrommetKnob* thresholdKnob = nullptr;
    VGGrommetKnob* attackKnob = nullptr;
    VGGrommetKnob* releaseKnob = nullptr;
    VGGrommetKnob* makeupKnob = nullptr;
    VGGrommetKnob* kneeKnob = nullptr;
    VGSimpleLabel* ratioCaption = nullptr;
    VGSimpleLabel* thresholdCaption = nullptr;
    VGSimpleLabel* attackCaption = nullptr;
    VGSimpleLabel* releaseCaption = nullptr;
    VGSimpleLabel* makeupCaption = nullptr;
    VGSimpleLabel* kneeCaption = nullptr;
    VGTextButton* linkButton = nullptr;
    VGTextButton* sensingButton = nullptr;
    VGTargetButton* colourButton = nullptr;
    VGBottomLabel* banner = nullptr;
    VGLogo* title = nullptr;
    VGMagicEye* gainEye = nullptr;
    VGMagicEye* inputEye = nullptr;
    VGMagicEye* outputEye = nullptr;
    VGPalette palette = kDefaultPalette;
    platform::GraphicsSession graphics;
    std::atomic<bool> editorOpen{false};
};
