// Counts, for bits 8..31 of successive sample words, how often each bit changes, for both channels of a
// stereo block at once. This is the hot loop of the vector display's bit meters.
#pragma once

#include <cstddef>
#include <cstdint>

class BitToggleCounter {
public:
    static constexpr int kBits = 24;      // bits 8..31 of the word: entry s counts bit 8 + s
    static constexpr int kLowestBit = 8;

    // Adds to countsLeft[s] / countsRight[s] the number of frames in which bit 8 + s of the word differs
    // from the word before it. The word before the first is lastLeft / lastRight, which end up holding
    // the block's last words, so counting carries across blocks.
    static void count(const std::int32_t* left, const std::int32_t* right, std::size_t frames,
                      std::int32_t& lastLeft, std::int32_t& lastRight, std::uint32_t* countsLeft,
                      std::uint32_t* countsRight);
};
