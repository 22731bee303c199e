#include "viewframework/ViewRect.h"

#include <algorithm>
#include <limits>

namespace {
std::int32_t add(std::int32_t a, std::int32_t b)
{
    const std::int64_t s = std::int64_t(a) + b;
    return std::int32_t(std::clamp<std::int64_t>(s, std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
}
}  // namespace

ViewRect& ViewRect::offset(std::int32_t dh, std::int32_t dv)
{
    left = add(left, dh);
    right = add(right, dh);
    top = add(top, dv);
    bottom = add(bottom, dv);
    return *this;
}

ViewRect& ViewRect::bound(const ViewRect& other)
{
    left = std::max(left, other.left);
    top = std::max(top, other.top);
    right = std::min(right, other.right);
    bottom = std::min(bottom, other.bottom);
    if (bottom < top) bottom = top;
    if (right < left) right = left;
    return *this;
}

bool ViewRect::touches(const ViewPoint& p) const
{
    return left <= p.h && p.h <= right && top <= p.v && p.v <= bottom;
}

bool ViewRect::overlaps(const ViewRect& other) const
{
    return !(right < other.left || other.right < left || bottom < other.top || other.bottom < top);
}
