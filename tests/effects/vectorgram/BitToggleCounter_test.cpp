#include "effects/vectorgram/BitToggleCounter.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// The one-by-one count: for each frame and each of bits 8..31, test the bit of old XOR new.
void referenceCount(const std::vector<std::int32_t>& words, std::uint32_t& last, std::vector<std::uint32_t>& counts)
{
    for (std::int32_t w : words) {
        const std::uint32_t changed = static_cast<std::uint32_t>(w) ^ last;
        last = static_cast<std::uint32_t>(w);
        for (int s = 0; s < 24; ++s)
            if (changed & (0x100u << s)) ++counts[s];
    }
}

} // namespace

// Lengths around the 15- and 255-frame lane boundaries, word streams from dense to sparse, and runs long
// enough to fill every lane many times over; counts and last words must match the reference exactly.
TEST(BitToggleCounter, MatchesTheOneByOneCount)
{
    std::mt19937 random(11);
    auto word = [&](int kind, std::size_t i) -> std::int32_t {
        switch (kind) {
        case 0: return static_cast<std::int32_t>(random());
        case 1: return i % 2 ? -1 : 0; // every bit, every frame
        case 2: return static_cast<std::int32_t>(random() & random() & random()); // sparse bits
        case 3: return static_cast<std::int32_t>((random() % 65536) << 16); // 16-bit audio
        default: return 0x12345678;
        }
    };
    std::int32_t lastLeft = 0, lastRight = 0;
    std::uint32_t refLeft = 0, refRight = 0;
    std::vector<std::uint32_t> expectLeft(24), expectRight(24);
    std::uint32_t countsLeft[24] = {}, countsRight[24] = {};
    const std::size_t lengths[] = {0, 1, 14, 15, 16, 29, 30, 31, 254, 255, 256, 509, 510, 511, 766, 4097, 100000};
    int kind = 0;
    for (std::size_t n : lengths) {
        for (int pass = 0; pass < 5; ++pass, kind = (kind + 1) % 5) {
            std::vector<std::int32_t> left(n), right(n);
            for (std::size_t i = 0; i < n; ++i) {
                left[i] = word(kind, i);
                right[i] = word((kind + 2) % 5, i);
            }
            BitToggleCounter::count(left.data(), right.data(), n, lastLeft, lastRight, countsLeft, countsRight);
            referenceCount(left, refLeft, expectLeft);
            referenceCount(right, refRight, expectRight);
            ASSERT_EQ(std::vector<std::uint32_t>(countsLeft, countsLeft + 24), expectLeft) << n << " kind " << kind;
            ASSERT_EQ(std::vector<std::uint32_t>(countsRight, countsRight + 24), expectRight) << n << " kind " << kind;
            ASSERT_EQ(static_cast<std::uint32_t>(lastLeft), refLeft);
            ASSERT_EQ(static_cast<std::uint32_t>(lastRight), refRight);
        }
    }
}
