#include "effects/squeezr/CSqueezrVSTEditor.h"

#include "effectbase/AudioEffect.h"
#include "effects/squeezr/squeezr.h"
#include "viewframework/CFrame.h"
#include "widgets/VGGrommetKnob.h"
#include "widgets/VGMagicEye.h"
#include "widgets/VGSimpleLabel.h"
#include "widgets/VGTextButton.h"


static_assert(squeezr::kNumParams <= 32, "one pending bit per parameter");

CSqueezrVSTEditor::CSqueezrVSTEditor(AudioEffect* effect) : AEffGUIEditor(effect)
{
    setEditorSize(kWidth, kHeight);
}

bool CSqueezrVSTEditor::open(void* parentWindow)
{
    if (!openFrame(parentWindow)) return false;
    chrome.begin(frame, "+ s q u e e z r");

    // Names and labels hold at most 23 characters; the buffers leave room for an effect that
    // writes more.
    char text[VGControl::kTextCapacity];
    const auto parameterName = [&](VstInt32 index) {
        text[0] = 0;
        effect->getParameterName(index, text);
        text[sizeof text - 1] = 0;
        return text;
    };
    const auto parameterLabel = [&](VstInt32 index) {
        text[0] = 0;
        effect->getParameterLabel(index, text);
        text[sizeof text - 1] = 0;
        return text;
    };

    const auto eye = [&](const ViewRect& r) {
        auto* e = chrome.make<VGMagicEye>(r, VGEditorChrome::kPassiveTag);
        e->setUnit("");
        return e;
    };
    inputEye = eye(ViewRect(5, 35, 139, 169));
    gainEye = eye(ViewRect(145, 35, 279, 169));
    gainEye->setLevelA(1.0f);
    gainEye->setLevelB(1.0f);
    gainEye->setStyle(true);
    outputEye = eye(ViewRect(285, 35, 419, 169));

    // One row per knob: the knob, then its caption beneath.
    const auto knob = [&](const ViewRect& r, const ViewRect& captionRect, VstInt32 index) {
        const ParameterInfo& row = squeezr::kParameters[index];
        auto* k = chrome.make<VGGrommetKnob>(r, index);
        k->setDisplayMax(row.max());
        k->setDisplayMin(row.min);
        if (row.display == ParameterInfo::Display::kRatio) k->setRatioDisplay(1);
        k->setValue(effect->getParameter(index));
        k->setUnit(parameterLabel(index));
        chrome.make<VGSimpleLabel>(captionRect, VGEditorChrome::kPassiveTag)->setName(parameterName(index));
        return k;
    };
    ratioKnob = knob(ViewRect(5, 170, 71, 236), ViewRect(5, 236, 69, 251), squeezr::kRatio);
    thresholdKnob = knob(ViewRect(75, 170, 141, 236), ViewRect(75, 236, 139, 251), squeezr::kThreshold);
    attackKnob = knob(ViewRect(145, 170, 211, 236), ViewRect(145, 236, 209, 251), squeezr::kAttack);
    releaseKnob = knob(ViewRect(215, 170, 281, 236), ViewRect(215, 236, 279, 251), squeezr::kRelease);
    // The knee knob stands before the makeup knob, although its parameter comes after.
    kneeKnob = knob(ViewRect(285, 170, 351, 236), ViewRect(285, 236, 349, 251), squeezr::kKnee);
    makeupKnob = knob(ViewRect(355, 170, 421, 236), ViewRect(350, 236, 429, 251), squeezr::kMakeup);

    linkButton = chrome.addSwitch(ViewRect(5, 250, 90, 268), squeezr::kStereoLink, "stereo link", "stereo link",
                                  effect->getParameter(squeezr::kStereoLink));
    sensingButton = chrome.addSwitch(ViewRect(105, 250, 190, 268), squeezr::kRmsMode, "peak level", "rms level",
                                     effect->getParameter(squeezr::kRmsMode));
    chrome.end(ViewRect(395, 250, 412, 267), kBanner);
    return true;
}

void CSqueezrVSTEditor::close()
{
    chrome.forget();
    AEffGUIEditor::close();
}

VGGrommetKnob* CSqueezrVSTEditor::knob(VstInt32 index) const
{
    switch (index) {
    case squeezr::kRatio: return ratioKnob;
    case squeezr::kThreshold: return thresholdKnob;
    case squeezr::kAttack: return attackKnob;
    case squeezr::kRelease: return releaseKnob;
    case squeezr::kMakeup: return makeupKnob;
    case squeezr::kKnee: return kneeKnob;
    default: return nullptr;
    }
}

VGControl* CSqueezrVSTEditor::controlOf(VstInt32 index) const
{
    if (index == squeezr::kRmsMode) return static_cast<VGControl*>(sensingButton);
    if (index == squeezr::kStereoLink) return static_cast<VGControl*>(linkButton);
    return static_cast<VGControl*>(knob(index));
}

void CSqueezrVSTEditor::showParameter(VstInt32 index)
{
    // The value that stands, whatever was asked for.
    if (VGControl* control = controlOf(index)) control->setValue(effect->getParameter(index));
}

void CSqueezrVSTEditor::setParameter(VstInt32 index, float)
{
    followParameter(index, isEditorOpen(), [this](VstInt32 i) { showParameter(i); });
}

void CSqueezrVSTEditor::copyMeters()
{
    auto* fx = static_cast<squeezr*>(effect);
    gainEye->setLevelA(fx->getMeter(squeezr::kGainL));
    gainEye->setLevelB(fx->getMeter(squeezr::kGainR));
    gainEye->setNeedsRedraw(true);
    outputEye->setLevelA(fx->getMeter(squeezr::kOutPeakL));
    outputEye->setLevelB(fx->getMeter(squeezr::kOutPeakR));
    outputEye->setNeedsRedraw(true);
    inputEye->setLevelA(fx->getMeter(squeezr::kInPeakL));
    inputEye->setLevelB(fx->getMeter(squeezr::kInPeakR));
    inputEye->setNeedsRedraw(true);
}

void CSqueezrVSTEditor::idleOpen()
{
    showDeferredParameters([this](VstInt32 i) { showParameter(i); });
    AEffGUIEditor::idleOpen();
    copyMeters();
}

void CSqueezrVSTEditor::onValueChanged(CDrawContext*, CControl* control)
{
    chrome.valueChanged(control);
}

std::int32_t CSqueezrVSTEditor::onModifierClick(CDrawContext*, CControl*, std::int32_t)
{
    return 0;
}
