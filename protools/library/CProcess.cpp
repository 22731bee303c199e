#include "protools/library/CProcess.h"

#include "protools/library/CEffectGroup.h"
#include "protools/library/CPlugInModule.h"

#include <cstring>

std::atomic<std::int32_t> CProcess::live{0};

CProcess::CProcess()
{
    live.fetch_add(1, std::memory_order_relaxed);
}

CProcess::~CProcess()
{
    live.fetch_sub(1, std::memory_order_relaxed);
}

std::int32_t CProcess::liveCount()
{
    return live.load(std::memory_order_relaxed);
}

void CProcess::renderBlock(float** inputs, float** outputs, std::int32_t frames)
{
    const auto bytes = static_cast<std::size_t>(frames) * sizeof(float);
    for (std::int32_t c = 0; c < stemOutputs; ++c) {
        if (c < stemInputs) {
            if (outputs[c] != inputs[c]) std::memmove(outputs[c], inputs[c], bytes);
        } else {
            std::memset(outputs[c], 0, bytes);
        }
    }
}

void CProcess::hostIdle()
{
    doIdleWork();
}

void CProcess::doIdleWork()
{
    if (CEffectGroup* group = CPlugInModule::instance().group()) group->idle();
}

void CProcess::notifyHost(std::int32_t notification, std::int32_t controlIndex, std::int32_t value)
{
    if (!notify) return;
    ++callDepth;
    notify(notifyUser, handle, notification, controlIndex, value);
    --callDepth;
    if (callDepth == 0 && destroyPending) CPlugInModule::instance().retire(this);
}
