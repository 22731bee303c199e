// One stored program of +squeezr: eight host values and a name, 56 bytes as hosts have always seen it.
#pragma once

#include <atomic>

struct SqueezrProgram {
    // Slots in program order, which is not the parameter order.
    enum Slot { kStereoLink, kRmsMode, kRatio, kThreshold, kAttack, kRelease, kMakeup, kKnee, kNumSlots };
    static constexpr int kNameSize = 24;

    // Atomic because hosts deliver automation (and so setParameter) from their audio thread too.
    std::atomic<float> values[kNumSlots] = {0.0f, 0.0f, 0.9285714f, 0.33333334f,
                                            0.19191919f, 0.21052632f, 0.0f, 0.0f};
    char name[kNameSize] = "empty";
};

static_assert(std::atomic<float>::is_always_lock_free);
static_assert(sizeof(SqueezrProgram) == 56);
