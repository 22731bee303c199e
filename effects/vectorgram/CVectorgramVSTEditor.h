// The +vectorgram editor, 390 x 430: title, the vector scope between a lamp-column meter per channel,
// the "display" slider, the peak/bits switch for both meters, the colour button and the banner.
//
// Written for both builds. The Pro Tools build (VECTORGRAM_PROTOOLS) lives in a window the Pro Tools
// bridge makes: it listens through a CNoUIControlListener (Alt-click resets), sends the slider's edits
// to Pro Tools control 2 through the process, which reports them back, waits in drags through the
// process's idle, and is open whenever it has a frame.
#pragma once

#include "effects/vectorgram/vectorgram.h"
#include "viewframework/AEffGUIEditor.h"
#include "viewframework/CControlListener.h"
#include "viewframework/CNoUIControlListener.h"
#include "viewframework/ViewRect.h"
#include "widgets/VGEditorChrome.h"
#include "widgets/VGWidgetRef.h"

#include <cstdint>

class IVectorgramProcess;
class VGSlider;
class VGTextButton;
class VGVectorgram;
class VGVUBitMeter;

class CVectorgramVSTEditor : public AEffGUIEditor,
#if defined(VECTORGRAM_PROTOOLS)
                             public CNoUIControlListener
#else
                             public CControlListener
#endif
{
public:
    static constexpr std::int32_t kWidth = 390;
    static constexpr std::int32_t kHeight = 430;
    static constexpr std::int32_t kMeterLeftTag = 901;
    static constexpr std::int32_t kMeterRightTag = 902;
    static constexpr std::int32_t kPeakBitsTag = 903;
    static constexpr std::int32_t kDisplayTag = vectorgram::kDisplay;
    static constexpr const char* kBanner = vectorgram::kProToolsBuild
                                               ? "Tonewerks +vectorgram rtas - 1.0.0 - drawn stereo, sample by sample"
                                               : "Tonewerks +vectorgram vst - 1.0.0 - drawn stereo, sample by sample";
    static constexpr const VGPalette& kDefaultPalette = VGEditorChrome::kDefaultPalette;

#if defined(VECTORGRAM_PROTOOLS)
    // The process owns the effect; slider edits and drag waits go to it. The effect owns the editor.
    CVectorgramVSTEditor(vectorgram* effect, IVectorgramProcess* process);
#else
    explicit CVectorgramVSTEditor(vectorgram* effect);
#endif

    bool open(void* parentWindow) override;
    void close() override;
#if defined(VECTORGRAM_PROTOOLS)
    // Guards against re-entry: Pro Tools' idle reaches the editor again from inside a drag that an
    // idle runs.
    void idle() override;
#endif
    // VST build: from the effect, on any thread: applied at once on the editor's own thread, otherwise
    // recorded and applied at the next idle, so a host thread never touches a widget.
    // Pro Tools build: from the bridge, with Pro Tools' value of a control: the effect takes it, and for
    // the display parameter slider and scope follow (from another thread only at the next idle).
    void setParameter(VstInt32 index, float value) override;

    void onValueChanged(CDrawContext* context, CControl* control) override;

    const VGPalette& currentPalette() const { return chrome.palette(); }
#if defined(VECTORGRAM_PROTOOLS)
    bool isEditorOpen() const { return frame != nullptr; }
    // Where the bridge places the editor: its rectangle, 0, 0, 390, 430 until the bridge sets another.
    const ViewRect& getEditorRect() const { return editorRect; }
    void setEditorRect(const ViewRect& r) { editorRect = r; }
    // A drag's wait: the process's idle, which keeps the library (and through it the host) going.
    void runIdle() override;
#else
    bool isEditorOpen() const { return chrome.isOpen(); }
#endif
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

#if defined(VECTORGRAM_PROTOOLS)
    IVectorgramProcess* processInterface = nullptr;
#endif
    VGEditorChrome chrome{*this, *this};
    VGWidgetRef<VGVectorgram> vectorDisplay{chrome.widgets()};
    VGWidgetRef<VGVUBitMeter> meterLeft{chrome.widgets()};
    VGWidgetRef<VGVUBitMeter> meterRight{chrome.widgets()};
    VGWidgetRef<VGTextButton> peakBitsButton{chrome.widgets()};
    VGWidgetRef<VGSlider> displaySlider{chrome.widgets()};
#if defined(VECTORGRAM_PROTOOLS)
    ViewRect editorRect{0, 0, kWidth, kHeight};
    // An idle in progress: one reached again from a loop inside it (a drag) returns at once.
    bool inIdle = false;
#endif
};
