#include "protools/library/CInsertTable.h"

#include "protools/library/CEffectProcess.h"

namespace {
// Handles are generation * 256 + slot + 1: never 0, never negative, and a slot's next insert has another.
constexpr std::int32_t kSlotBits = 256;
constexpr std::int32_t kMaxGeneration = 0x7FFFFF;
}  // namespace

static_assert(CInsertTable::kCapacity < kSlotBits);

PI_Insert CInsertTable::add(CEffectProcess* process)
{
    for (int s = 0; s < kCapacity; ++s) {
        Slot& slot = slots[s];
        if (slot.process.load(std::memory_order_relaxed)) continue;
        slot.generation = slot.generation % kMaxGeneration + 1;
        const PI_Insert handle = slot.generation * kSlotBits + s + 1;
        static_cast<CProcess&>(*process).handle = handle;
        slot.process.store(process, std::memory_order_relaxed);
        // Release: whoever finds the handle sees the process as it was built.
        slot.handle.store(handle, std::memory_order_release);
        return handle;
    }
    return 0;
}

CEffectProcess* CInsertTable::find(PI_Insert handle) const
{
    if (handle <= 0) return nullptr;
    const std::int32_t s = handle % kSlotBits - 1;
    if (s < 0 || s >= kCapacity) return nullptr;
    const Slot& slot = slots[s];
    if (slot.handle.load(std::memory_order_acquire) != handle) return nullptr;
    return slot.process.load(std::memory_order_relaxed);
}

CEffectProcess* CInsertTable::remove(PI_Insert handle)
{
    CEffectProcess* process = find(handle);
    if (!process) return nullptr;
    Slot& slot = slots[handle % kSlotBits - 1];
    slot.handle.store(0, std::memory_order_relaxed);
    slot.process.store(nullptr, std::memory_order_relaxed);
    return process;
}

std::vector<PI_Insert> CInsertTable::handles() const
{
    std::vector<PI_Insert> live;
    for (const Slot& slot : slots)
        if (const PI_Insert h = slot.handle.load(std::memory_order_relaxed)) live.push_back(h);
    return live;
}

bool CInsertTable::full() const
{
    for (const Slot& slot : slots)
        if (!slot.process.load(std::memory_order_relaxed)) return false;
    return true;
}
