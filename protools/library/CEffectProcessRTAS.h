// A real-time (RTAS) effect process. The library renders each block itself: while the master bypass is
// on it passes the input to the output and the plug-in sees nothing; otherwise the plug-in renders.
#pragma once

#include "protools/library/CEffectProcess.h"

class CEffectProcessRTAS : public virtual CEffectProcess {
public:
    CEffectProcessRTAS();
    ~CEffectProcessRTAS() override;

    void renderBlock(float** inputs, float** outputs, std::int32_t frames) final;

protected:
    // The plug-in's render: the stem's input and output channel buffers and the frame count.
    virtual void renderRTAS(float** inputs, float** outputs, std::int32_t frames) = 0;
};
