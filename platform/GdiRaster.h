// GDI's aliased pixel rules as plain computations, so that a drawing layer without them (Cairo) can set
// exactly the pixels GDI sets. Ellipses are drawn from these rows on both builds: GDI's own ellipse
// varies between versions, this rule matches it on ordinary boxes. Nothing here touches a surface.
#pragma once

#include "platform/PlatformTypes.h"

#include <vector>

namespace platform {

struct Span {
    int y = 0;
    int left = 0;   // first pixel
    int right = 0;  // one past the last pixel
    friend bool operator==(const Span&, const Span&) = default;
};

class GdiRaster {
public:
    static constexpr int kMaxEllipse = 1 << 15;

    // Pixels of a one-pixel line from `from` towards `to`, the last point left out (a line of length 0
    // draws nothing). The minor coordinate is the line's exact value rounded to the nearest pixel; a tie
    // goes towards the end point.
    // Only pixels inside `within` are produced, and only those are visited, so an absurdly long line
    // costs no more than the visible part.
    static void linePixels(Point from, Point to, std::vector<Point>& out, const Rect& within);

    // Rows of the ellipse inscribed in the box: its outline is the ellipse through the centres of the
    // box's outer pixels, each outline point rounded to the nearest pixel (ties towards the centre), and
    // every row is filled between its outermost outline pixels. Boxes narrower or shorter than 2 pixels
    // hold no ellipse, and neither do boxes larger than kMaxEllipse in either direction.
    static void ellipseSpans(const Rect& box, std::vector<Span>& out);
};

}  // namespace platform
