// The +vectorgram effect group: Tonewerks' one real-time effect type, stereo in and out.
#pragma once

#include "protools/library/CEffectGroup.h"

class CProcess;

class CVectorgramGroup : public CEffectGroup {
public:
    CVectorgramGroup();

    // The process creator of the effect type: one CVectorgramProcessRTAS per insert, null when it
    // cannot be allocated.
    static CProcess* createProcess();

    // The base's initialisation, then the creator of the plug-in window's view, "VectorgramView".
    void initialise() override;

protected:
    void createEffectTypes() override;
};
