#include "effects/squeezr/CSqueezrVSTEditor.h"

#include "effectbase/AudioEffect.h"
#include "effects/squeezr/squeezr.h"
#include "viewframework/CFrame.h"
#include "widgets/VGBottomLabel.h"
#include "widgets/VGGrommetKnob.h"
#include "widgets/VGLogo.h"
#include "widgets/VGMagicEye.h"
#include "widgets/VGSimpleLabel.h"
#include "widgets/VGTargetButton.h"
#include "widgets/VGTextButton.h"


namespace {
constexpr auto relaxed = std::memory_order_relaxed;
static_assert(squeezr::kNumParams <= 32, "one pending bit per parameter");
}  // namespace

const VGPalette CSqueezrVSTEditor::kDefaultPalette = {{
    {13, 0, 39, 255},
    {144, 8, 0, 255},
    {80, 189, 216, 255},
    {0, 0, 0, 255},
}};

CSqueezrVSTEditor::CSqueezrVSTEditor(AudioEffect* effect) : AEffGUIEditor(effect)
{
    rect.top = 0;
    rect.left = 0;
    rect.bottom = kHeight;
    rect.right = kWidth;
}

CSqueezrVSTEditor::~CSqueezrVSTEditor()
{
    // No window outlives its editor, and the widgets go while the graphics still run.
    if (frame) close();
}

bool CSqueezrVSTEditor::open(void* parentWindow)
{
    AEffGUIEditor::open(parentWindow);
    palette = kDefaultPalette;
    frame = new CFrame(ViewRect(0, 0, kWidth, kHeight), platform::NativeWindow(parentWindow), this);
    if (!frameIsUsable()) return false;
    frame->setBackgroundColour(kColourWhite);

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

    title = new VGLogo(ViewRect(5, 5, 419, 31), this, kTitleTag, &palette);
    title->setName("+ s q u e e z r");
    frame->addView(title);

    const auto eye = [&](const ViewRect& r) {
        auto* e = new VGMagicEye(r, this, kDisplayTag, &palette);
        e->setUnit("");
        return e;
    };
    inputEye = eye(ViewRect(5, 35, 139, 169));
    frame->addView(inputEye);
    gainEye = eye(ViewRect(145, 35, 279, 169));
    gainEye->setLevelA(1.0f);
    gainEye->setLevelB(1.0f);
    gainEye->setStyle(true);
    frame->addView(gainEye);
    outputEye = eye(ViewRect(285, 35, 419, 169));
    frame->addView(outputEye);

    const auto knob = [&](const ViewRect& r, VstInt32 index) {
        const ParameterInfo& row = squeezr::kParameters[index];
        auto* k = new VGGrommetKnob(r, this, index, &palette);
        k->setDisplayMax(row.max());
        k->setDisplayMin(row.min);
        if (row.display == ParameterInfo::Display::kRatio) k->setRatioDisplay(1);
        k->setValue(effect->getParameter(index));
        k->setUnit(parameterLabel(index));
        frame->addView(k);
        return k;
    };
    const auto caption = [&](const ViewRect& r, VstInt32 index) {
        auto* c = new VGSimpleLabel(r, this, kDisplayTag, &palette);
        c->setName(parameterName(index));
        frame->addView(c);
        return c;
    };
    ratioKnob = knob(ViewRect(5, 170, 71, 236), squeezr::kRatio);
    ratioCaption = caption(ViewRect(5, 236, 69, 251), squeezr::kRatio);
    thresholdKnob = knob(ViewRect(75, 170, 141, 236), squeezr::kThreshold);
    thresholdCaption = caption(ViewRect(75, 236, 139, 251), squeezr::kThreshold);
    attackKnob = knob(ViewRect(145, 170, 211, 236), squeezr::kAttack);
    attackCaption = caption(ViewRect(145, 236, 209, 251), squeezr::kAttack);
    releaseKnob = knob(ViewRect(215, 170, 281, 236), squeezr::kRelease);
    releaseCaption = caption(ViewRect(215, 236, 279, 251), squeezr::kRelease);
    // The knee knob stands before the makeup knob, although its parameter comes after.
    kneeKnob = knob(ViewRect(285, 170, 351, 236), squeezr::kKnee);
    kneeCaption = caption(ViewRect(285, 236, 349, 251), squeezr::kKnee);
    makeupKnob = knob(ViewRect(355, 170, 421, 236), squeezr::kMakeup);
    makeupCaption = caption(ViewRect(350, 236, 429, 251), squeezr::kMakeup);

    linkButton = new VGTextButton(ViewRect(5, 250, 90, 268), this, squeezr::kStereoLink, &palette);
    linkButton->setName("stereo link");
    linkButton->setAltText("stereo link");
    linkButton->setValue(effect->getParameter(squeezr::kStereoLink));
    frame->addView(linkButton);
    sensingButton = new VGTextButton(ViewRect(105, 250, 190, 268), this, squeezr::kRmsMode, &palette);
    sensingButton->setName("peak level");
    sensingButton->setAltText("rms level");
    sensingButton->setValue(effect->getParameter(squeezr::kRmsMode));
    frame->addView(sensingButton);

    colourButton = new VGTargetButton(ViewRect(395, 250, 412, 267), this, kColourTag, &palette);
    frame->addView(colourButton);

    banner = new VGBottomLabel(ViewRect(0, 275, 424, 285), this, kDisplayTag, &palette);
    banner->setName(kBanner);
    frame->addView(banner);

    editorOpen.store(true, relaxed);
    return true;
}

void CSqueezrVSTEditor::close()
{
    editorOpen.store(false, relaxed);
    ratioKnob = thresholdKnob = attackKnob = releaseKnob = makeupKnob = kneeKnob = nullptr;
    ratioCaption = thresholdCaption = attackCaption = releaseCaption = makeupCaption = kneeCaption = nullptr;
    linkButton = sensingButton = nullptr;
    colourButton = nullptr;
    banner = nullptr;
    title = nullptr;
    gainEye = inputEye = outputEye = nullptr;
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
    if (index < 0 || index >= squeezr::kNumParams) return;
    if (deferredFromOtherThread(index)) return;
    if (editorOpen.load(relaxed)) showParameter(index);
}

void CSqueezrVSTEditor::applyPending()
{
    const std::uint32_t changed = takeDeferredParameters();
    for (VstInt32 i = 0; i < squeezr::kNumParams; ++i)
        if (changed & (1u << i)) showParameter(i);
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
    applyPending();
    AEffGUIEditor::idleOpen();
    copyMeters();
}

void CSqueezrVSTEditor::onValueChanged(CDrawContext*, CControl* control)
{
    const std::int32_t tag = control->tag();
    if (tag != kColourTag) {
        control->setNeedsRedraw(true);
        // Display-only tags (title, captions, eyes, banner) are not parameters: the host never hears of them.
        if (tag >= 0 && tag < squeezr::kNumParams) effect->setParameterAutomated(tag, control->value());
        return;
    }
    if (control->value() > 0.5f)
        palette.randomiseColours();
    else
        palette = kDefaultPalette;
    if (frame) frame->invalidate(ViewRect(0, 0, kWidth, kHeight));
}

std::int32_t CSqueezrVSTEditor::onModifierClick(CDrawContext*, CControl*, std::int32_t)
{
    return 0;
}
