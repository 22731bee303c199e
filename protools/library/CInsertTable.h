// The live inserts by handle. The host's thread adds and removes; the audio thread looks up the insert
// it renders, without a lock: each slot is a pair of atomics, and a handle names one slot and a
// generation, so a stale or made-up handle finds nothing.
#pragma once

#include "protools/library/include/PIHostInterface.h"

#include <atomic>
#include <cstdint>
#include <vector>

class CEffectProcess;

class CInsertTable {
public:
    static constexpr int kCapacity = PI_MaxInserts;

    // The new insert's handle, or 0 when every slot is taken. The handle is set in the process first.
    PI_Insert add(CEffectProcess* process);
    // The process, or null; any thread.
    CEffectProcess* find(PI_Insert handle) const;
    // Takes the insert out and answers its process, or null when the handle names none.
    CEffectProcess* remove(PI_Insert handle);
    std::vector<PI_Insert> handles() const;
    bool full() const;

private:
    struct Slot {
        std::atomic<PI_Insert> handle{0};
        std::atomic<CEffectProcess*> process{nullptr};
        std::int32_t generation = 0;
    };
    Slot slots[kCapacity];
};
