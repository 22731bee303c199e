#include "protools/CVectorgramProcessRTAS.h"

#include "effects/vectorgram/vectorgram.h"

#include <cstring>

CVectorgramProcessRTAS::CVectorgramProcessRTAS() = default;
CVectorgramProcessRTAS::~CVectorgramProcessRTAS() = default;

void CVectorgramProcessRTAS::renderRTAS(float** inputs, float** outputs, std::int32_t frames)
{
    if (effect) {
        effect->processReplacing(inputs, outputs, frames);
        return;
    }
    // Without an effect (it could not be made) the insert still passes its audio on.
    const auto bytes = static_cast<std::size_t>(frames) * sizeof(float);
    for (int c = 0; c < 2; ++c)
        if (outputs[c] != inputs[c]) std::memmove(outputs[c], inputs[c], bytes);
}
