// A small editor for the framework's tests: two slider-like controls on a white frame, on an effect
// with two parameters. Not shipped.
#pragma once

#include "effectbase/AudioEffectX.h"
#include "viewframework/AEffGUIEditor.h"
#include "viewframework/CControl.h"
#include "viewframework/CControlListener.h"
#include "viewframework/CDrawContext.h"
#include "viewframework/CFrame.h"

#include <algorithm>

// Fills itself in a grey whose level is its value; a press drags the value with the pointer across
// its width until the left button goes up, keeping the idle cycle alive through runIdle.
class TestSlider : public CControl {
public:
    TestSlider(const ViewRect& size, CControlListener* listener, std::int32_t tag) : CControl(size, listener, tag) {}

    void paint(CDrawContext* context) override
    {
        const auto level = std::uint8_t(std::clamp(value(), 0.0f, 1.0f) * 255.0f);
        context->setBrushColour({level, level, level, 255});
        context->drawBox(bounds(), kShapeFilled);
        ++paints;
        setNeedsRedraw(false);
    }

    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override
    {
        ++presses;
        lastButtons = buttons;
        if (resetOnDefaultClick(context, buttons)) return;
        ViewPoint p = where;
        if (startEdit()) {
            do {
                if (!(context->readButtons() & kButtonLeft)) break;
                setValue(float(p.h - bounds().left) / float(bounds().width()));
                bounceValue();
                if (needsRedraw() && !reportValue(context)) break;
                pointerInView(context, p);
            } while (idleTurn());
        }
        endEdit();
    }

    int paints = 0;
    int presses = 0;
    std::int32_t lastButtons = 0;
};

class TestEffect : public AudioEffectX {
public:
    explicit TestEffect(audioMasterCallback host);
    void processReplacing(float**, float**, VstInt32) override {}
    void setParameter(VstInt32 index, float value) override
    {
        if (index < 0 || index > 1 || !sanitizeParameter(value)) return;
        params[index] = value;
        if (editor) editor->setParameter(index, value);
    }
    float getParameter(VstInt32 index) override { return index >= 0 && index < 2 ? params[index] : 0.0f; }
    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

    // The opcode the ABI leaves to each vendor, with this index, resizes the open editor's frame to
    // value x opt, so that a host can drive setFrameSize through the entry point; it answers
    // setFrameSize's answer.
    static constexpr VstInt32 kVendorOpcode = 50;
    static constexpr VstInt32 kResizeFrame = 0x74775346;  // 'twSF'

    float params[2] = {0.25f, 0.75f};
};

class TestEditor : public AEffGUIEditor, public CControlListener {
public:
    explicit TestEditor(AudioEffect* effect) : AEffGUIEditor(effect)
    {
        rect.right = 200;
        rect.bottom = 100;
    }

    bool open(void* parent) override
    {
        AEffGUIEditor::open(parent);
        frame = new CFrame(ViewRect(0, 0, 200, 100), platform::NativeWindow(parent), this);
        if (!frameIsUsable()) return false;
        frame->setBackgroundColour(kColourWhite);
        // Sharing the edge x = 100, and neither touching the frame's top row or left column.
        left = new TestSlider(ViewRect(10, 10, 100, 50), this, 0);
        right = new TestSlider(ViewRect(100, 10, 190, 50), this, 1);
        frame->addView(left);
        frame->addView(right);
        left->setValue(effect->getParameter(0));
        right->setValue(effect->getParameter(1));
        return true;
    }

    void close() override
    {
        left = right = nullptr;
        AEffGUIEditor::close();
    }

    void setParameter(VstInt32 index, float value) override
    {
        if (!frame) return;
        if (index == 0 && left) left->setValue(value);
        if (index == 1 && right) right->setValue(value);
    }

    void onValueChanged(CDrawContext*, CControl* control) override
    {
        ++changes;
        effect->setParameterAutomated(control->tag(), control->value());
    }

    void idle() override
    {
        ++idles;
        AEffGUIEditor::idle();
    }

    TestSlider* left = nullptr;
    TestSlider* right = nullptr;
    int changes = 0;
    int idles = 0;
};

inline VstIntPtr TestEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (opcode != kVendorOpcode || index != kResizeFrame) return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
    auto* gui = static_cast<AEffGUIEditor*>(editor);
    CFrame* frame = gui ? gui->getFrame() : nullptr;
    return frame && frame->setFrameSize(VstInt32(value), VstInt32(opt)) ? 1 : 0;
}

inline TestEffect::TestEffect(audioMasterCallback host) : AudioEffectX(host, 1, 2)
{
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(0x74457374);
    new TestEditor(this);
}
