// The VST 2 editor base that the effect talks to. It lives with the effect base because the dispatcher
// calls it; the framework's AEffGUIEditor derives from it.
#pragma once

#include "effectbase/VstAbi.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
    virtual ~AEffEditor() = default;

    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    virtual AudioEffect* getEffect() { return effect; }
    virtual bool getRect(ERect** rect)
    {
        if (rect) *rect = nullptr;
        return false;
    }
    virtual bool open(void* parentWindow)
    {
        systemWindow = parentWindow;
        return false;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() { return systemWindow != nullptr; }
    virtual void idle() {}

    // Kept for older hosts; nothing in the system uses them.
    virtual void draw(ERect*) {}
    virtual VstInt32 mouse(VstInt32, VstInt32) { return 0; }
    virtual VstInt32 key(VstInt32) { return 0; }
    virtual void top() {}
    virtual void sleep() {}

    virtual bool onKeyDown(VstKeyCode&) { return false; }
    virtual bool onKeyUp(VstKeyCode&) { return false; }
    virtual bool onWheel(float) { return false; }
    virtual bool setKnobMode(VstInt32) { return false; }
    // The effect forwards every parameter change here so that open controls follow the host.
    // Declared at the editor base so the effect base need not know the framework; it is the GUI
    // editor's first own slot all the same.
    virtual void setParameter(VstInt32, float) {}

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};
