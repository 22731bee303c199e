#include "protools/CVectorgramProcess.h"

#include "effects/vectorgram/vectorgram.h"
#include "protools/CVectorgramCustomUI.h"
#include "protools/CVectorgramView.h"
#include "protools/library/CNoResourceView.h"
#include "protools/library/CPlugInModule.h"
#include "protools/library/CPluginControl_Discrete.h"
#include "protools/library/CPluginControl_OnOff.h"
#include "protools/library/CViewFactory.h"
#include "protools/library/FourCharCode.h"
#include "protools/library/WindowPort.h"

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
    // The library's view outlives this part of the process: it must not reach the bridge any more.
    if (pluginView) pluginView->setCustomUI(nullptr);
    pluginView = nullptr;
    delete customUI;
    customUI = nullptr;
    delete effect;  // and with it the editor
    effect = nullptr;
    viewPort = nullptr;
}

void CVectorgramProcess::initialiseProcess()
{
    addControl(std::make_unique<CPluginControl_OnOff>(fourCharID("bypa"), "Master Bypass\nBypass", false, true));
    declareMasterBypass(kBypassControl);
    const ParameterInfo& samples = vectorgram::kDisplayParameter;
    addControl(std::make_unique<CPluginControl_Discrete>(fourCharID("knb3"), "Samples\nsmp", std::int32_t(samples.min),
                                                         std::int32_t(samples.max()), std::int32_t(samples.initial), true));
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

CVectorgramCustomUI& CVectorgramProcess::bridge()
{
    if (!customUI) {
        setCustomUI(new CVectorgramCustomUI(this));
        customUI->getRect(nullptr, nullptr, nullptr, nullptr);
    }
    return *customUI;
}

CPlugInView* CVectorgramProcess::createPlugInView()
{
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bridge().getRect(&left, &top, &right, &bottom);
    auto view = std::make_unique<CNoResourceView>(right, bottom);
    std::unique_ptr<CCustomView> inside =
        CViewFactory::create("!VectorgramView[('NoID')]", PI_ViewRect{0, 0, bottom, right});
    pluginView = dynamic_cast<CVectorgramView*>(inside.get());
    if (pluginView) pluginView->setCustomUI(customUI);
    if (inside) view->addSubview(std::move(inside));
    return view.release();
}

void CVectorgramProcess::plugInViewRect(std::int32_t& top, std::int32_t& left, std::int32_t& bottom, std::int32_t& right)
{
    bridge().getRect(&left, &top, &right, &bottom);
}

void CVectorgramProcess::setWindowPort(const PI_WindowPort* port)
{
    viewPort = port;
    CEffectProcess::setWindowPort(port);
    if (!port) {
        // Before any view or bridge there is nothing to close.
        if (customUI) customUI->close();
        if (pluginView) pluginView->setState(0);
        return;
    }
    if (!customUI) return;
    bool opened = false;
    try {
        opened = customUI->open(nativeWindowOfPort(port));
    } catch (...) {
        viewPort = nullptr;
        CEffectProcess::setWindowPort(nullptr);
        if (pluginView) pluginView->setState(0);
        throw;
    }
    if (pluginView) pluginView->setState(opened ? 1 : 0);
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    customUI->getRect(&left, &top, &right, &bottom);
    customUI->draw(left, top, right, bottom);
}

void CVectorgramProcess::hostIdle()
{
    beginIdle();
    if (customUI) customUI->idle();
    endIdle();
}

void CVectorgramProcess::showControlValue(std::int32_t index, std::int32_t value)
{
    if (customUI) customUI->setControlValue(index, value);
}

void CVectorgramProcess::setControlHighlight(std::int32_t index, bool highlighted, std::int32_t colour)
{
    if (index == kBypassControl)
        CEffectProcess::setControlHighlight(index, highlighted, colour);
    else if (customUI)
        customUI->setControlHighlight(index, highlighted, colour);
}

std::int32_t CVectorgramProcess::controlUnderPoint(std::int32_t x, std::int32_t y)
{
    std::int32_t index = 0;
    if (customUI) customUI->controlIndexAt(x, y, &index);
    return index;
}
