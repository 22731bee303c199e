// The small value types the platform layer speaks in. They carry no behaviour of the framework above:
// the framework converts its own geometry and colours into these at the boundary.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Every coordinate a device context receives is clamped into this range first: far beyond any surface,
// small enough that GDI accepts it and that products of two coordinates fit in 64 bits.
constexpr int kCoordinateLimit = 1 << 28;
constexpr int clampCoordinate(long long v)
{
    return v < -kCoordinateLimit ? -kCoordinateLimit : v > kCoordinateLimit ? kCoordinateLimit : int(v);
}

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
    Point clamped() const { return {clampCoordinate(x), clampCoordinate(y)}; }
};

// Right and bottom edges lie outside, as everywhere in the tree.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect&, const Rect&) = default;
    Rect clamped() const
    {
        return {clampCoordinate(left), clampCoordinate(top), clampCoordinate(right), clampCoordinate(bottom)};
    }
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
    // Pixel words of every surface here are 0x00RRGGBB.
    std::uint32_t word() const { return std::uint32_t(red) << 16 | std::uint32_t(green) << 8 | blue; }
    static Rgb fromWord(std::uint32_t w) { return {std::uint8_t(w >> 16), std::uint8_t(w >> 8), std::uint8_t(w)}; }
};

enum class PenStyle { Solid, Dotted };

// How pens and brushes combine with what is already there; text and block copies always copy.
enum class RasterOp {
    Copy,    // destination := colour
    Or,      // destination := colour | destination
    NotXor,  // destination := ~(colour ^ destination)
};

enum class TextAlign { Left, Centre, Right };

enum class FontFamily { SansSerif, Decorative };

struct FontSpec {
    std::string face;
    int pixelHeight = 12;  // character (em) height
    bool bold = false;
    bool italic = false;
    bool underline = false;
    FontFamily family = FontFamily::SansSerif;
};

// A window handle of whichever system runs: an HWND, an X11 Window id, or a headless window's number.
using NativeWindow = std::uintptr_t;

// Button and modifier bits as the input side reports them (physical buttons, not yet swapped).
enum InputBits : int {
    kInputLeft = 1,
    kInputMiddle = 2,
    kInputRight = 4,
    kInputShift = 8,
    kInputControl = 16,
    kInputAlt = 32,
};

}  // namespace platform
