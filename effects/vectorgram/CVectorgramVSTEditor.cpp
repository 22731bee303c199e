#include "effects/vectorgram/CVectorgramVSTEditor.h"

#include "viewframework/CFrame.h"
#include "widgets/VGBottomLabel.h"
#include "widgets/VGLogo.h"
#include "widgets/VGSlider.h"
#include "widgets/VGTargetButton.h"
#include "widgets/VGTextButton.h"
#include "widgets/VGVUBitMeter.h"
#include "widgets/VGVectorgram.h"

#include <cmath>
#include <cstdlib>

#if defined(VECTORGRAM_PROTOOLS)
#include "protools/CVectorgramProcess.h"
#endif

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
}  // namespace

const VGPalette CVectorgramVSTEditor::kDefaultPalette = {{
    {13, 0, 39, 255},
    {144, 8, 0, 255},
    {80, 189, 216, 255},
    {0, 0, 0, 255},
}};

#if defined(VECTORGRAM_PROTOOLS)
CVectorgramVSTEditor::CVectorgramVSTEditor(vectorgram* effect, IVectorgramProcess* process)
    : AEffGUIEditor(effect), processInterface(process)
#else
CVectorgramVSTEditor::CVectorgramVSTEditor(vectorgram* effect) : AEffGUIEditor(effect)
#endif
{
    rect.top = 0;
    rect.left = 0;
    rect.bottom = kHeight;
    rect.right = kWidth;
}

CVectorgramVSTEditor::~CVectorgramVSTEditor()
{
    // No window outlives its editor, and the widgets go while the graphics still run.
    if (frame) close();
}

bool CVectorgramVSTEditor::open(void* parentWindow)
{
#if defined(VECTORGRAM_PROTOOLS)
    inIdle = false;
#endif
    AEffGUIEditor::open(parentWindow);
    colourScheme = kDefaultPalette;
    frame = new CFrame(ViewRect(0, 0, kWidth, kHeight), platform::NativeWindow(parentWindow), this);
    if (!frameIsUsable()) return false;
    frame->setBackgroundColour(kColourWhite);

    logo = new VGLogo(ViewRect(5, 5, 385, 31), this, kTitleTag, &colourScheme);
    logo->setName("+ v e c t o r g r a m");
    frame->addView(logo);

    meterLeft = new VGVUBitMeter(ViewRect(5, 35, 20, 396), this, kMeterLeftTag, &colourScheme);
    frame->addView(meterLeft);

    vectorDisplay = new VGVectorgram(ViewRect(25, 35, 365, 375), this, kPassiveTag, &colourScheme,
                                     fx()->getCaptureLeft(), fx()->getCaptureRight(), vectorgram::kCaptureLength);
    frame->addView(vectorDisplay);

    meterRight = new VGVUBitMeter(ViewRect(370, 35, 385, 396), this, kMeterRightTag, &colourScheme);
    frame->addView(meterRight);

    displaySlider = new VGSlider(ViewRect(25, 380, 365, 396), this, kDisplayTag, &colourScheme);
    displaySlider->setName(vectorgram::kDisplayParameter.name);
    displaySlider->setUnit(vectorgram::kDisplayParameter.label);
    displaySlider->setDisplayMax(vectorgram::kDisplayParameter.max());
    displaySlider->setDisplayMin(vectorgram::kDisplayParameter.min);
    frame->addView(displaySlider);
    showDisplay();

    peakBitsButton = new VGTextButton(ViewRect(5, 400, 65, 418), this, kPeakBitsTag, &colourScheme);
    peakBitsButton->setName("peak");
    peakBitsButton->setAltText("bits");
    peakBitsButton->setValue(0.0f);
    frame->addView(peakBitsButton);

    colourButton = new VGTargetButton(ViewRect(370, 400, 387, 417), this, kColourTag, &colourScheme);
    frame->addView(colourButton);

    bottomLabel = new VGBottomLabel(ViewRect(0, 420, 390, 430), this, kPassiveTag, &colourScheme);
    bottomLabel->setName(kBanner);
    frame->addView(bottomLabel);

    editorOpen.store(true, relaxed);
    return true;
}

void CVectorgramVSTEditor::close()
{
    editorOpen.store(false, relaxed);
    logo = nullptr;
    vectorDisplay = nullptr;
    meterLeft = meterRight = nullptr;
    peakBitsButton = nullptr;
    displaySlider = nullptr;
    colourButton = nullptr;
    bottomLabel = nullptr;
    AEffGUIEditor::close();
}

void CVectorgramVSTEditor::showDisplay()
{
    // The count the effect itself shows, rather than the normalised value scaled back: on a
    // floating-point unit that keeps extra precision that product can fall just short of it.
    const std::int32_t samples = fx()->getDisplaySamples();
    displaySlider->setValue(fx()->getParameter(kDisplayTag));
    vectorDisplay->setSampleCount(float(samples));
}

#if defined(VECTORGRAM_PROTOOLS)
void CVectorgramVSTEditor::setParameter(VstInt32 index, float value)
{
    // The process set the effect already; the widgets belong to this editor's thread.
    if (deferredFromOtherThread(index)) return;
    if (!frame) return;
    effect->setParameter(index, value);
    if (index != kDisplayTag) return;
    if (!(value >= 0.0f && value <= 1.0f)) {
        showDisplay();  // no value a control gives: slider and scope show what the effect made of it
        return;
    }
    displaySlider->setValue(value);
    // The scope's own rounding: the sum is rounded before the cut, unlike the effect's count.
    vectorDisplay->setSampleCount(
        std::trunc(value * vectorgram::kDisplayParameter.span + vectorgram::kDisplayParameter.min));
}
#else
void CVectorgramVSTEditor::setParameter(VstInt32 index, float)
{
    if (index != kDisplayTag) return;
    if (deferredFromOtherThread(index)) return;
    if (editorOpen.load(relaxed)) showDisplay();
}
#endif

void CVectorgramVSTEditor::copyMeters()
{
    float left[vectorgram::kActivityBits], right[vectorgram::kActivityBits];
    fx()->getBitActivity(left, right);
    meterLeft->setValue(fx()->getPeak(0));
    meterLeft->setBitActivity(left);
    meterLeft->setNeedsRedraw(true);
    meterRight->setValue(fx()->getPeak(1));
    meterRight->setBitActivity(right);
    meterRight->setNeedsRedraw(true);
}

#if defined(VECTORGRAM_PROTOOLS)
void CVectorgramVSTEditor::idle()
{
    if (!frame || inIdle) return;
    inIdle = true;
    const std::shared_ptr<bool> stillHere = lifeline();
    AEffGUIEditor::idle();
    // The pass may have ended the editor with its insert.
    if (*stillHere) inIdle = false;
}

void CVectorgramVSTEditor::runIdle()
{
    if (processInterface) processInterface->idle();
}

void CVectorgramVSTEditor::sendDisplay(float value)
{
    // Pro Tools reports the value back when it takes it; only then does the parameter change.
    if (processInterface)
        processInterface->setControlValue(kDisplayTag, CVectorgramProcess::valueToControl(value, 0.0f, 1.0f));
}
#else
void CVectorgramVSTEditor::sendDisplay(float value)
{
    effect->setParameterAutomated(kDisplayTag, value);
}
#endif

void CVectorgramVSTEditor::idleOpen()
{
    if (takeDeferredParameters() & (1u << kDisplayTag)) showDisplay();
    AEffGUIEditor::idleOpen();
    vectorDisplay->setNeedsRedraw(true);
    copyMeters();
}

void CVectorgramVSTEditor::onValueChanged(CDrawContext*, CControl* control)
{
    const std::int32_t tag = control->tag();
    if (tag == kColourTag) {
        if (control->value() > 0.5f)
            colourScheme.randomiseColours();
        else
            colourScheme = kDefaultPalette;
        if (frame) frame->invalidate(ViewRect(0, 0, kWidth, kHeight));
        return;
    }
    if (tag == kPeakBitsTag) {
        const bool levels = !(control->value() > 0.5f);
        if (meterLeft) meterLeft->setLevelMode(levels);
        if (meterRight) meterRight->setLevelMode(levels);
    }
    control->setNeedsRedraw(true);
    // Meters, scope, title and banner are no parameters: the host never hears of them.
    if (tag == kDisplayTag) sendDisplay(control->value());
}
