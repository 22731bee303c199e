#include "effects/msgrid/CMsgridVSTEditor.h"

#include "effectbase/AudioEffect.h"
#include "effects/msgrid/msgrid.h"
#include "viewframework/CFrame.h"
#include "widgets/VGBottomLabel.h"
#include "widgets/VGLogo.h"
#include "widgets/VGSlider.h"
#include "widgets/VGTargetButton.h"
#include "widgets/VGTextButton.h"


namespace {
constexpr auto relaxed = std::memory_order_relaxed;
}  // namespace

const VGPalette CMsgridVSTEditor::kDefaultPalette = {{
    {13, 0, 39, 255},
    {144, 8, 0, 255},
    {80, 189, 216, 255},
    {0, 0, 0, 255},
}};

CMsgridVSTEditor::CMsgridVSTEditor(AudioEffect* effect) : AEffGUIEditor(effect)
{
    rect.top = 0;
    rect.left = 0;
    rect.bottom = kHeight;
    rect.right = kWidth;
}

CMsgridVSTEditor::~CMsgridVSTEditor()
{
    // No window outlives its editor, and the widgets go while the graphics still run.
    if (frame) close();
}

bool CMsgridVSTEditor::open(void* parentWindow)
{
    AEffGUIEditor::open(parentWindow);
    palette = kDefaultPalette;
    frame = new CFrame(ViewRect(0, 0, kWidth, kHeight), platform::NativeWindow(parentWindow), this);
    if (!frameIsUsable()) return false;
    frame->setBackgroundColour(kColourWhite);

    title = new VGLogo(ViewRect(5, 5, 345, 31), this, kTitleTag, &palette);
    title->setName("+ m s g r i d");
    frame->addView(title);

    const auto slider = [&](const ViewRect& r, VstInt32 index) {
        const ParameterInfo& row = msgrid::kParameters[index];
        auto* s = new VGSlider(r, this, index, &palette);
        s->setName(row.name);
        s->setUnit("dB");
        s->setValue(effect->getParameter(index));
        s->setDisplayMax(row.max());
        s->setDisplayMin(row.min);
        frame->addView(s);
        return s;
    };
    midSlider = slider(ViewRect(5, 40, 345, 56), msgrid::kMidGain);
    sideSlider = slider(ViewRect(5, 60, 345, 76), msgrid::kSideGain);

    directionButton = new VGTextButton(ViewRect(5, 79, 85, 97), this, msgrid::kEncode, &palette);
    directionButton->setName("lr to ms");
    directionButton->setAltText("ms to lr");
    directionButton->setValue(effect->getParameter(msgrid::kEncode));
    frame->addView(directionButton);

    colourButton = new VGTargetButton(ViewRect(330, 80, 347, 97), this, kColourTag, &palette);
    frame->addView(colourButton);

    banner = new VGBottomLabel(ViewRect(0, 100, 350, 110), this, kBannerTag, &palette);
    banner->setName(kBanner);
    frame->addView(banner);

    editorOpen.store(true, relaxed);
    return true;
}

void CMsgridVSTEditor::close()
{
    editorOpen.store(false, relaxed);
    title = nullptr;
    midSlider = sideSlider = nullptr;
    directionButton = nullptr;
    colourButton = nullptr;
    banner = nullptr;
    AEffGUIEditor::close();
}

void CMsgridVSTEditor::showParameter(VstInt32 index)
{
    VGControl* control = index == msgrid::kMidGain    ? static_cast<VGControl*>(midSlider)
                         : index == msgrid::kSideGain ? static_cast<VGControl*>(sideSlider)
                         : index == msgrid::kEncode   ? static_cast<VGControl*>(directionButton)
                                                      : nullptr;
    // The value that stands, whatever was asked for.
    if (control) control->setValue(effect->getParameter(index));
}

void CMsgridVSTEditor::setParameter(VstInt32 index, float)
{
    if (index < 0 || index >= msgrid::kNumParams) return;
    if (deferredFromOtherThread(index)) return;
    if (editorOpen.load(relaxed)) showParameter(index);
}

void CMsgridVSTEditor::applyPending()
{
    const std::uint32_t changed = takeDeferredParameters();
    for (VstInt32 i = 0; i < msgrid::kNumParams; ++i)
        if (changed & (1u << i)) showParameter(i);
}

void CMsgridVSTEditor::idleOpen()
{
    applyPending();
    AEffGUIEditor::idleOpen();
}

void CMsgridVSTEditor::onValueChanged(CDrawContext*, CControl* control)
{
    const std::int32_t tag = control->tag();
    if (tag != kColourTag) {
        control->setNeedsRedraw(true);
        // Display-only tags (title, banner) are not parameters: the host never hears of them.
        if (tag >= 0 && tag < msgrid::kNumParams) effect->setParameterAutomated(tag, control->value());
        return;
    }
    if (control->value() > 0.5f)
        palette.randomiseColours();
    else
        palette = kDefaultPalette;
    if (frame) frame->invalidate(ViewRect(0, 0, kWidth, kHeight));
}

std::int32_t CMsgridVSTEditor::onModifierClick(CDrawContext*, CControl*, std::int32_t)
{
    return 0;
}
