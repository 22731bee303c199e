// The process the process creator makes: the +vectorgram process with the library's real-time render.
#pragma once

#include "protools/CVectorgramProcess.h"
#include "protools/library/CEffectProcessRTAS.h"

class CVectorgramProcessRTAS : public CVectorgramProcess, public CEffectProcessRTAS {
public:
    CVectorgramProcessRTAS();
    ~CVectorgramProcessRTAS() override;

protected:
    void renderRTAS(float** inputs, float** outputs, std::int32_t frames) override;
};
