// A rectangle in integer pixels. Width is right - left; in drawing the right and bottom edges lie
// outside, while hit and update tests (touches, overlaps) include them.
#pragma once

#include "viewframework/ViewPoint.h"

#include <cstdint>

struct ViewRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    ViewRect() = default;
    ViewRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
        : left(left), top(top), right(right), bottom(bottom)
    {
    }

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    ViewPoint topLeft() const { return {left, top}; }

    // Saturates instead of overflowing: offsets come from arithmetic on untrusted sizes.
    ViewRect& offset(std::int32_t dh, std::int32_t dv);
    // Intersection; an empty result keeps a valid, zero-sized rectangle.
    ViewRect& bound(const ViewRect& other);
    bool touches(const ViewPoint& p) const;
    bool overlaps(const ViewRect& other) const;

    friend bool operator==(const ViewRect&, const ViewRect&) = default;
};
