#include "effects/msgrid/CMsgridVSTEditor.h"

#include "effectbase/AudioEffect.h"
#include "effects/msgrid/msgrid.h"
#include "viewframework/CFrame.h"
#include "widgets/VGSlider.h"
#include "widgets/VGTextButton.h"

CMsgridVSTEditor::CMsgridVSTEditor(AudioEffect* effect) : AEffGUIEditor(effect)
{
    setEditorSize(kWidth, kHeight);
}

bool CMsgridVSTEditor::open(void* parentWindow)
{
    if (!openFrame(parentWindow)) return false;
    chrome.begin(frame, "+ m s g r i d");
    const auto slider = [&](const ViewRect& r, VstInt32 index) {
        const ParameterInfo& row = msgrid::kParameters[index];
        auto* s = chrome.make<VGSlider>(r, index);
        s->setName(row.name);
        s->setUnit("dB");
        s->setValue(effect->getParameter(index));
        s->setDisplayMax(row.max());
        s->setDisplayMin(row.min);
        return s;
    };
    midSlider = slider(ViewRect(5, 40, 345, 56), msgrid::kMidGain);
    sideSlider = slider(ViewRect(5, 60, 345, 76), msgrid::kSideGain);
    directionButton = chrome.addSwitch(ViewRect(5, 79, 85, 97), msgrid::kEncode, "lr to ms", "ms to lr",
                                       effect->getParameter(msgrid::kEncode));
    chrome.end(ViewRect(330, 80, 347, 97), kBanner);
    return true;
}

void CMsgridVSTEditor::close()
{
    chrome.forget();
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
    followParameter(index, isEditorOpen(), [this](VstInt32 i) { showParameter(i); });
}

void CMsgridVSTEditor::idleOpen()
{
    showDeferredParameters([this](VstInt32 i) { showParameter(i); });
    AEffGUIEditor::idleOpen();
}

void CMsgridVSTEditor::onValueChanged(CDrawContext*, CControl* control)
{
    chrome.valueChanged(control);
}

std::int32_t CMsgridVSTEditor::onModifierClick(CDrawContext*, CControl*, std::int32_t)
{
    return 0;
}
