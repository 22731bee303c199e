#include "protools/CVectorgramProcess.h"

#include "effects/vectorgram/vectorgram.h"
#include "protools/library/CPlugInModule.h"
#include "protools/library/CPluginControl_Discrete.h"
#include "protools/library/CPluginControl_OnOff.h"
#include "protools/library/FourCharCode.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// There is no VST host here: whatever the effect asks, the answer is 0. Its sample rate and block
// size therefore stay at the base class's defaults.
VstIntPtr VSTCALLBACK answerNothing(AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float)
{
    return 0;
}

}  // namespace

CVectorgramProcess::CVectorgramProcess() : moduleInstance(CPlugInModule::instance().handle())
{
    try {
        effect = new vectorgram(answerNothing);
    } catch (...) {
        effect = nullptr;  // the insert then passes its audio through (see the render)
    }
}

CVectorgramProcess::~CVectorgramProcess()
{
    delete effect;
    effect = nullptr;
    customUI = nullptr;
}

void CVectorgramProcess::initialiseProcess()
{
    addControl(std::make_unique<CPluginControl_OnOff>(fourCharID("bypa"), "Master Bypass\nBypass", false, true));
    declareMasterBypass(kBypassControl);
    addControl(std::make_unique<CPluginControl_Discrete>(fourCharID("knb3"), "Samples\nsmp", 10, 512, 200, true));
}

void CVectorgramProcess::updateAlgorithm(std::int32_t index)
{
    if (index != kSamplesControl || !effect) return;
    std::int32_t value = 0;
    getControlValue(kSamplesControl, &value);
    effect->setParameter(vectorgram::kDisplay, controlToValue(value, 0.0f, 1.0f));
}

std::string CVectorgramProcess::controlText(std::int32_t index)
{
    if (index != kSamplesControl || !effect) return CEffectProcess::controlText(index);
    char text[64] = {};
    effect->getParameterDisplay(vectorgram::kDisplay, text);
    return text;
}

float CVectorgramProcess::controlToValue(std::int32_t control, float min, float max)
{
    const auto quotient = static_cast<float>((static_cast<double>(control) + 2147483648.0) / 4294967295.0);
    return min + (max - min) * quotient;
}

std::int32_t CVectorgramProcess::valueToControl(float value, float min, float max)
{
    constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
    if (std::isnan(value) || min == max) return kLowest;
    const double lo = std::fmin(min, max), hi = std::fmax(min, max);
    const double x = std::fmin(std::fmax(static_cast<double>(value), lo), hi);
    const double c = std::floor((x - min) / (static_cast<double>(max) - min) * 4294967295.0 - 2147483648.0 + 0.5);
    // Through 64 bits, then the low 32: the clamp keeps c within them, and no conversion is undefined.
    const auto whole = static_cast<std::int64_t>(c);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
}

PI_Err CVectorgramProcess::setControlValue(std::int32_t index, std::int32_t value)
{
    return requestControlValue(index, value);
}

PI_Err CVectorgramProcess::getControlValue(std::int32_t index, std::int32_t* value)
{
    if (!value) return PI_ErrNullPointer;
    *value = controlValue(index);
    return control(index) ? PI_NoErr : PI_ErrUnknownControl;
}

CPluginControl* CVectorgramProcess::getControl(std::int32_t index)
{
    return control(index);
}

void CVectorgramProcess::setCustomUI(CVectorgramCustomUI* bridge)
{
    customUI = bridge;
}

PI_Err CVectorgramProcess::touchControl(std::int32_t index)
{
    return touch(index);
}

PI_Err CVectorgramProcess::releaseControl(std::int32_t index)
{
    return release(index);
}

void CVectorgramProcess::idle()
{
    doIdleWork();
}

platform::ModuleHandle CVectorgramProcess::getModuleInstance()
{
    return moduleInstance;
}

void CVectorgramProcess::beginResourceUse()
{
    CPlugInModule::instance().resources().beginUse();
}

void CVectorgramProcess::endResourceUse()
{
    CPlugInModule::instance().resources().endUse();
}

vectorgram* CVectorgramProcess::getEffect()
{
    return effect;
}

std::int32_t CVectorgramProcess::liveProcesses()
{
    return CProcess::liveCount();
}
