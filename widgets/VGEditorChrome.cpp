#include "widgets/VGEditorChrome.h"

#include "effectbase/AudioEffect.h"
#include "viewframework/AEffGUIEditor.h"
#include "viewframework/CFrame.h"
#include "widgets/VGBottomLabel.h"
#include "widgets/VGLogo.h"
#include "widgets/VGTargetButton.h"
#include "widgets/VGTextButton.h"

namespace {
constexpr std::int32_t kMargin = 5;
constexpr std::int32_t kTitleBottom = 31;
constexpr std::int32_t kBannerHeight = 10;
}  // namespace

VGEditorChrome::VGEditorChrome(AEffGUIEditor& editor, CControlListener& listener) : editor(editor), listener(listener)
{
}

VGEditorChrome::~VGEditorChrome()
{
    // The editor's own close has nothing left to clear by now: only the frame is still to go.
    editor.AEffGUIEditor::close();
}

void VGEditorChrome::begin(CFrame* frame, const char* title)
{
    colours = kDefaultPalette;
    list.begin(frame);
    const ViewRect& all = frame->bounds();
    make<VGLogo>(ViewRect(kMargin, kMargin, all.right - kMargin, kTitleBottom), kTitleTag)->setName(title);
}

VGTextButton* VGEditorChrome::addSwitch(const ViewRect& size, std::int32_t tag, const char* off, const char* on,
                                        float value)
{
    VGTextButton* button = make<VGTextButton>(size, tag);
    button->setName(off);
    button->setAltText(on);
    button->setValue(value);
    return button;
}

void VGEditorChrome::end(const ViewRect& colourButton, const char* banner)
{
    make<VGTargetButton>(colourButton, kColourTag);
    const ViewRect& all = list.target()->bounds();
    make<VGBottomLabel>(ViewRect(0, all.bottom - kBannerHeight, all.right, all.bottom), kPassiveTag)->setName(banner);
    list.opened();
}

bool VGEditorChrome::colourButtonChanged(CControl* control)
{
    if (control->tag() != kColourTag) return false;
    if (control->value() > 0.5f)
        colours.randomiseColours();
    else
        colours = kDefaultPalette;
    if (CFrame* frame = list.target()) frame->invalidate(frame->bounds());
    return true;
}

void VGEditorChrome::valueChanged(CControl* control)
{
    if (colourButtonChanged(control)) return;
    control->setNeedsRedraw(true);
    const std::int32_t tag = control->tag();
    AudioEffect* effect = editor.getEffect();
    if (effect && tag >= 0 && tag < effect->getNumParams()) effect->setParameterAutomated(tag, control->value());
}
