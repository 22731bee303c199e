#include "platform/GdiRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform {

void GdiRaster::linePixels(Point from, Point to, std::vector<Point>& out, const Rect& within)
{
    out.clear();
    const long long dx = (long long)to.x - from.x;
    const long long dy = (long long)to.y - from.y;
    const long long n = std::max(std::llabs(dx), std::llabs(dy));
    if (n == 0 || within.empty()) return;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long majorStart = xMajor ? from.x : from.y;
    const long long majorDir = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const long long minor = xMajor ? dy : dx;
    const long long minorSign = minor < 0 ? -1 : 1;
    const long long minorSpan = std::llabs(minor);
    // Steps whose major coordinate falls inside the rectangle.
    const long long lo = xMajor ? within.left : within.top;
    const long long hi = (xMajor ? within.right : within.bottom) - 1;
    long long i0 = majorDir > 0 ? lo - majorStart : majorStart - hi;
    long long i1 = majorDir > 0 ? hi - majorStart : majorStart - lo;
    i0 = std::max(i0, 0LL);
    i1 = std::min(i1, n - 1);
    for (long long i = i0; i <= i1; ++i) {
        // Nearest pixel to i * minor / n, ties away from the start: floor((2 i m + n) / 2n).
        const long long m = minorSign * ((2 * i * minorSpan + n) / (2 * n));
        const long long major = majorStart + majorDir * i;
        const long long x = xMajor ? major : from.x + m;
        const long long y = xMajor ? from.y + m : major;
        if (x < within.left || x >= within.right || y < within.top || y >= within.bottom) continue;
        out.push_back({int(x), int(y)});
    }
}

namespace {
// Offsets from the centre of a run of `count` pixels are whole numbers for an odd count, halves for an
// even one; this picks the offset nearest to `value` (ties towards the centre) within the run.
double nearestOffset(double value, int count)
{
    const double base = (count % 2) ? 0.0 : 0.5;
    const double radius = (count - 1) / 2.0;
    double k = std::ceil(value - base - 0.5);
    if (k < 0) k = 0;
    return std::min(base + k, radius);
}
}  // namespace

void GdiRaster::ellipseSpans(const Rect& box, std::vector<Span>& out)
{
    out.clear();
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    if (w < 2 || h < 2 || w > kMaxEllipse || h > kMaxEllipse) return;
    const double a = (w - 1) / 2.0;
    const double b = (h - 1) / 2.0;
    const double cx = box.left + a;
    const double cy = box.top + b;

    // extent[j]: largest column offset inside row offset j (row offsets counted from the outermost row).
    const int halfRows = (h + 1) / 2;
    std::vector<double> extent(std::size_t(halfRows), 0.0);
    auto rowIndex = [&](double v) { return int(std::lround(b - v)); };  // 0 for the outermost row

    for (int j = 0; j < halfRows; ++j) {
        const double v = b - j;
        const double q = 1.0 - (v / b) * (v / b);
        extent[std::size_t(j)] = nearestOffset(a * std::sqrt(std::max(0.0, q)), w);
    }
    const int halfCols = (w + 1) / 2;
    for (int i = 0; i < halfCols; ++i) {
        const double u = a - i;
        const double q = 1.0 - (u / a) * (u / a);
        const double v = nearestOffset(b * std::sqrt(std::max(0.0, q)), h);
        const int j = std::clamp(rowIndex(v), 0, halfRows - 1);
        extent[std::size_t(j)] = std::max(extent[std::size_t(j)], u);
    }
    // A row between two outline rows is at least as wide as the one outside it.
    for (int j = 1; j < halfRows; ++j) extent[std::size_t(j)] = std::max(extent[std::size_t(j)], extent[std::size_t(j - 1)]);

    out.reserve(std::size_t(h));
    for (int y = box.top; y < box.bottom; ++y) {
        const double v = std::fabs(y - cy);
        const int j = std::clamp(rowIndex(v), 0, halfRows - 1);
        const double e = extent[std::size_t(j)];
        out.push_back({y, int(std::lround(cx - e)), int(std::lround(cx + e)) + 1});
    }
}

}  // namespace platform
