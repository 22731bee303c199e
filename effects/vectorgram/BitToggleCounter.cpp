#include "effects/vectorgram/BitToggleCounter.h"

#include <algorithm>

namespace {

// Testing 48 bits one at a time per frame costs more than the rest of the effect together. Instead the
// changed bits of both channels go side by side into one 64-bit word (left in bits 0..23, right in
// 24..47) and are summed in 4-bit lanes: lane k of sum j counts bit 4k + j. A lane holds 15, so every
// 15 frames the lanes are spread into 8-bit lanes, which hold 255; every 255 frames those are added to
// the caller's counters.
constexpr std::uint64_t kNibbleOnes = 0x1111111111111111ull;
constexpr std::uint64_t kLowNibbles = 0x0F0F0F0F0F0F0F0Full;
constexpr std::size_t kNibbleFrames = 15;
constexpr std::size_t kByteFrames = 255;
constexpr int kPackedBits = 2 * BitToggleCounter::kBits;

inline std::uint64_t packedChanges(std::uint32_t changedLeft, std::uint32_t changedRight)
{
    return static_cast<std::uint64_t>(changedLeft >> BitToggleCounter::kLowestBit) |
           static_cast<std::uint64_t>(changedRight >> BitToggleCounter::kLowestBit) << BitToggleCounter::kBits;
}

} // namespace

void BitToggleCounter::count(const std::int32_t* left, const std::int32_t* right, std::size_t frames,
                             std::int32_t& lastLeft, std::int32_t& lastRight, std::uint32_t* countsLeft,
                             std::uint32_t* countsRight)
{
    auto previousLeft = static_cast<std::uint32_t>(lastLeft);
    auto previousRight = static_cast<std::uint32_t>(lastRight);
    std::size_t i = 0;
    while (i < frames) {
        // bytes[2j] lane m counts packed bit 8m + j; bytes[2j + 1] lane m counts packed bit 8m + 4 + j.
        std::uint64_t bytes[8] = {};
        const std::size_t byteEnd = i + std::min(frames - i, kByteFrames);
        while (i < byteEnd) {
            const std::size_t nibbleEnd = i + std::min(byteEnd - i, kNibbleFrames);
            std::uint64_t sums[4] = {};
            for (; i < nibbleEnd; ++i) {
                const auto wordLeft = static_cast<std::uint32_t>(left[i]);
                const auto wordRight = static_cast<std::uint32_t>(right[i]);
                const std::uint64_t changed = packedChanges(wordLeft ^ previousLeft, wordRight ^ previousRight);
                previousLeft = wordLeft;
                previousRight = wordRight;
                for (int j = 0; j < 4; ++j) sums[j] += (changed >> j) & kNibbleOnes;
            }
            for (int j = 0; j < 4; ++j) {
                bytes[2 * j] += sums[j] & kLowNibbles;
                bytes[2 * j + 1] += (sums[j] >> 4) & kLowNibbles;
            }
        }
        for (int j = 0; j < 8; ++j) {
            const int offset = (j / 2) + (j % 2) * 4;
            for (int lane = 0; lane < kPackedBits / 8; ++lane) {
                const int bit = 8 * lane + offset;
                const auto n = static_cast<std::uint32_t>((bytes[j] >> (8 * lane)) & 0xFF);
                if (bit < kBits)
                    countsLeft[bit] += n;
                else
                    countsRight[bit - kBits] += n;
            }
        }
    }
    lastLeft = static_cast<std::int32_t>(previousLeft);
    lastRight = static_cast<std::int32_t>(previousRight);
}
