#include "protools/library/CEffectProcessRTAS.h"

CEffectProcessRTAS::CEffectProcessRTAS() = default;
CEffectProcessRTAS::~CEffectProcessRTAS() = default;

void CEffectProcessRTAS::renderBlock(float** inputs, float** outputs, std::int32_t frames)
{
    if (masterBypassed())
        CProcess::renderBlock(inputs, outputs, frames);
    else
        renderRTAS(inputs, outputs, frames);
}
