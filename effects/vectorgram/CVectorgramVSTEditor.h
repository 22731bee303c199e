// The +vectorgram editor, 390 x 430: title, the vector scope between a lamp-column meter per channel,
// the "display" slider, the peak/bits switch for both meters, the colour button and the banner.
//
// Written for both builds. The Pro Tools build will listen through a CNoUIControlListener and send
// the slider's edits to its own control; both differences sit in sendDisplay and the listener base.
#pragma once

#include "effects/vectorgram/vectorgram.h"
#include "platform/GraphicsSession.h"
#include "viewframework/AEffGUIEditor.h"
#include "viewframework/CControlListener.h"
#include "widgets/VGPalette.h"

#include <atomic>
#include <cstdint>
#include <thread>

class VGBottomLabel;
class VGLogo;
class VGSlider;
class VGTargetButton;
class VGTextButton;
class VGVectorgram;
class VGVUBitMeter;

class CVectorgramVSTEditor : public AEffGUIEditor, public CControlListener {
public:
    static constexpr std::int32_t kWidth = 390;
    static constexpr std::int32_t kHeight = 430;
    static constexpr std::int32_t kTitleTag = -1;
    static constexpr std::int32_t kPassiveTag = -99;
    static constexpr std::int32_t kColourTag = -8888;
    static constexpr std::int32_t kMeterLeftTag = 901;
    static constexpr std::int32_t kMeterRightTag = 902;
    static constexpr std::int32_t kPeakBitsTag = 903;
    static constexpr std::int32_t kDisplayTag = vectorgram::kDisplay;
    static constexpr const char* kBanner = vectorgram::kProToolsBuild
                                               ? "Tonewerks +vectorgram rtas - 1.0.0 - drawn stereo, sample by sample"
                                               : "Tonewerks +vectorgram vst - 1.0.0 - drawn stereo, sample by sample";
    static const VGPalette kDefaultPalette;

    explicit CVectorgramVSTEditor(vectorgram* effect);
    ~CVectorgramVSTEditor() override;

    bool open(void* parentWindow) override;
    void close() override;
    // From the effect, on any thread: applied at once on the editor's own thread, otherwise recorded
    // and applied at the next idle, so a host thread never touches a widget.
    void setParameter(VstInt32 index, float value) override;

    void onValueChanged(CDrawContext* context, CControl* control) override;

    const VGPalette& currentPalette() const { return colourScheme; }
    bool isEditorOpen() const { return editorOpen.load(std::memory_order_relaxed); }
    // Tests: the widgets of an open editor (null while closed).
    VGVectorgram* display() const { return vectorDisplay; }
    VGVUBitMeter* leftMeter() const { return meterLeft; }
    VGVUBitMeter* rightMeter() const { return meterRight; }
    VGSlider* slider() const { return displaySlider; }
    VGTextButton* peakBits() const { return peakBitsButton; }

protected:
    // A display count noted from another thread, the frame's idle pass (which paints what the last
    // idle marked), then the scope marked and the meters given the effect's peaks and bit activity.
    void idleOpen() override;

private:
    vectorgram* fx() const { return static_cast<vectorgram*>(effect); }
    // Slider and scope to the sample count that stands.
    void showDisplay();
    // A slider edit on its way to the parameter.
    void sendDisplay(float value);
    void copyMeters();

    VGPalette colourScheme = kDefaultPalette;
    VGLogo* logo = nullptr;
    VGVectorgram* vectorDisplay = nullptr;
    VGVUBitMeter* meterLeft = nullptr;
    VGVUBitMeter* meterRight = nullptr;
    VGTextButton* peakBitsButton = nullptr;
    VGSlider* displaySlider = nullptr;
    VGTargetButton* colourButton = nullptr;
    VGBottomLabel* bottomLabel = nullptr;
    platform::GraphicsSession graphics;
    std::atomic<bool> editorOpen{false};
};
