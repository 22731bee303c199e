// A colour of red, green, blue and alpha bytes, stored in that order (red is the lowest byte of the
// 32-bit little-endian value). The aliased contexts use red, green and blue; alpha matters to the
// anti-aliased one.
#pragma once

#include <cstdint>

struct ViewColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;

    friend bool operator==(const ViewColour&, const ViewColour&) = default;
    // The native GDI value: red | green << 8 | blue << 16.
    std::uint32_t nativeValue() const { return std::uint32_t(red) | std::uint32_t(green) << 8 | std::uint32_t(blue) << 16; }
};

static_assert(sizeof(ViewColour) == 4);

inline constexpr ViewColour kColourBlack{0, 0, 0, 255};
inline constexpr ViewColour kColourWhite{255, 255, 255, 255};
