#include "protools/library/CProcess.h"

#include "protools/library/CEffectGroup.h"
#include "protools/library/CPlugInModule.h"
#include "platform/WindowSystem.h"

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

namespace {
// About as often as a host idles an insert; the plug-in's own loops get its turns no faster.
constexpr std::uint32_t kIdleTurn = 10;
}  // namespace

void CProcess::runHostIdle()
{
    ++idling;
    lastIdleTick = platform::WindowSystem::current().ticks();
    idledOnce = true;
    hostIdle();
    --idling;
}

void CProcess::hostIdle()
{
    beginIdle();
    endIdle();
}

void CProcess::beginIdle()
{
    // Nothing of the library's own waits for the host's idle here.
}

void CProcess::endIdle()
{
    if (CEffectGroup* group = CPlugInModule::instance().group()) group->idle();
}

void CProcess::doIdleWork()
{
    enterCall();
    platform::WindowSystem& system = platform::WindowSystem::current();
    if (idling == 0 && (!idledOnce || system.ticks() - lastIdleTick >= kIdleTurn)) {
        runHostIdle();
    } else {
        endIdle();
        system.sleep(1);
    }
    leaveCall();
}

void CProcess::notifyHost(std::int32_t notification, std::int32_t controlIndex, std::int32_t value)
{
    if (!notify) return;
    enterCall();
    notify(notifyUser, handle, notification, controlIndex, value);
    leaveCall();
}

void CProcess::leaveCall()
{
    // The host destroyed the insert meanwhile: it goes at the next host routine, once nothing of it
    // is on the stack any more.
    if (--callDepth == 0 && destroyPending) CPlugInModule::instance().retire(this);
}
