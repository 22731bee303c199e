// The +msgrid editor: title, mid and side gain sliders, the direction switch, the colour button and
// the banner, 350 x 110.
#pragma once

#include "platform/GraphicsSession.h"
#include "viewframework/AEffGUIEditor.h"
#include "viewframework/CControlListener.h"
#include "widgets/VGPalette.h"

#include <atomic>
#include <cstdint>

class VGBottomLabel;
class VGLogo;
class VGSlider;
class VGTargetButton;
class VGTextButton;

class CMsgridVSTEditor : public AEffGUIEditor, public CControlListener {
public:
    static constexpr std::int32_t kWidth = 350;
    static constexpr std::int32_t kHeight = 110;
    static constexpr std::int32_t kTitleTag = -1;
    static constexpr std::int32_t kBannerTag = -99;
    static constexpr std::int32_t kColourTag = -8888;
    static constexpr const char* kBanner = "Tonewerks - +msgrid - vst - version 1.0.0";
    static const VGPalette kDefaultPalette;

    explicit CMsgridVSTEditor(AudioEffect* effect);
    ~CMsgridVSTEditor() override;

    bool open(void* parentWindow) override;
    void close() override;
    // From the effect, on any thread: applied at once on the editor's own thread, otherwise recorded
    // and applied at the next idle, so a host thread never touches a widget.
    void setParameter(VstInt32 index, float value) override;

    void onValueChanged(CDrawContext* context, CControl* control) override;
    std::int32_t onModifierClick(CDrawContext* context, CControl* control, std::int32_t buttons) override;

    const VGPalette& currentPalette() const { return palette; }
    bool isEditorOpen() const { return editorOpen.load(std::memory_order_relaxed); }

protected:
    // Parameters noted from other threads, then the frame's idle pass.
    void idleOpen() override;

private:
    void showParameter(VstInt32 index);
    void applyPending();

    VGPalette palette = kDefaultPalette;
    VGLogo* title = nullptr;
    VGSlider* midSlider = nullptr;
    VGSlider* sideSlider = nullptr;
    VGTextButton* directionButton = nullptr;
    VGTargetButton* colourButton = nullptr;
    VGBottomLabel* banner = nullptr;
    platform::GraphicsSession graphics;
    std::atomic<bool> editorOpen{false};
};
