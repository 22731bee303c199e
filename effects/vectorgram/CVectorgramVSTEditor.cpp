#include "effects/vectorgram/CVectorgramVSTEditor.h"

#include "viewframework/CFrame.h"
#include "widgets/VGSlider.h"
#include "widgets/VGTextButton.h"
#include "widgets/VGVUBitMeter.h"
#include "widgets/VGVectorgram.h"

#include <cmath>
#include <cstdlib>

#if defined(VECTORGRAM_PROTOOLS)
#include "protools/CVectorgramProcess.h"
#endif

#if defined(VECTORGRAM_PROTOOLS)
CVectorgramVSTEditor::CVectorgramVSTEditor(vectorgram* effect, IVectorgramProcess* process)
    : AEffGUIEditor(effect), processInterface(process)
#else
CVectorgramVSTEditor::CVectorgramVSTEditor(vectorgram* effect) : AEffGUIEditor(effect)
#endif
{
    setEditorSize(kWidth, kHeight);
}

bool CVectorgramVSTEditor::open(void* parentWindow)
{
#if defined(VECTORGRAM_PROTOOLS)
    inIdle = false;
#endif
    if (!openFrame(parentWindow)) return false;
    chrome.begin(frame, "+ v e c t o r g r a m");
    meterLeft = chrome.make<VGVUBitMeter>(ViewRect(5, 35, 20, 396), kMeterLeftTag);
    vectorDisplay = chrome.make<VGVectorgram>(ViewRect(25, 35, 365, 375), VGEditorChrome::kPassiveTag,
                                              fx()->getCaptureLeft(), fx()->getCaptureRight(),
                                              vectorgram::kCaptureLength);
    meterRight = chrome.make<VGVUBitMeter>(ViewRect(370, 35, 385, 396), kMeterRightTag);

    displaySlider = chrome.make<VGSlider>(ViewRect(25, 380, 365, 396), kDisplayTag);
    displaySlider->setName(vectorgram::kDisplayParameter.name);
    displaySlider->setUnit(vectorgram::kDisplayParameter.label);
    displaySlider->setDisplayMax(vectorgram::kDisplayParameter.max());
    displaySlider->setDisplayMin(vectorgram::kDisplayParameter.min);
    showDisplay();

    peakBitsButton = chrome.addSwitch(ViewRect(5, 400, 65, 418), kPeakBitsTag, "peak", "bits", 0.0f);
    chrome.end(ViewRect(370, 400, 387, 417), kBanner);
    return true;
}

void CVectorgramVSTEditor::close()
{
    chrome.forget();
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
    if (index == kDisplayTag) followParameter(index, isEditorOpen(), [this](VstInt32) { showDisplay(); });
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
    showDeferredParameters([this](VstInt32 index) {
        if (index == kDisplayTag) showDisplay();
    });
    AEffGUIEditor::idleOpen();
    vectorDisplay->setNeedsRedraw(true);
    copyMeters();
}

void CVectorgramVSTEditor::onValueChanged(CDrawContext*, CControl* control)
{
    if (chrome.colourButtonChanged(control)) return;
    const std::int32_t tag = control->tag();
    if (tag == kPeakBitsTag) {
        const bool levels = !(control->value() > 0.5f);
        if (meterLeft) meterLeft->setLevelMode(levels);
        if (meterRight) meterRight->setLevelMode(levels);
    }
    control->setNeedsRedraw(true);
    // Meters, scope, title and banner are no parameters: the host never hears of them.
    if (tag == kDisplayTag) sendDisplay(control->value());
}
