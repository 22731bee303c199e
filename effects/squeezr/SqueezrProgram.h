// One stored program of +squeezr: eight host values and a name, 56 bytes as hosts have always seen it.
#pragma once

#include <atomic>

struct SqueezrProgram {
    // Slots in program order, which is not the parameter order.
    enum Slot { kStereoLink, kRmsMode, kRatio, kThreshold, kAttack, kRelease, kMakeup, kKnee, kNumSlots };
    // The slot of each parameter, by parameter index.
    static constexpr Slot kSlotOfParameter[kNumSlots] = {kRatio,   kThreshold, kAttack,  kRelease,
                                                         kMakeup,  kKnee,      kRmsMode, kStereoLink};
    static constexpr int kNameSize = 24;

    // Atomic because hosts deliver automation (and so setParameter) from their audio thread too.
    // The effect fills in its initial values.
    std::atomic<float> values[kNumSlots] = {};
    char name[kNameSize] = "empty";
};

static_assert(std::atomic<float>::is_always_lock_free);
static_assert(sizeof(SqueezrProgram) == 56);
