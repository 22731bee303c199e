// A point in integer pixels: h across, v down.
#pragma once

#include <cstdint>

struct ViewPoint {
    std::int32_t h = 0;
    std::int32_t v = 0;

    ViewPoint() = default;
    ViewPoint(std::int32_t h, std::int32_t v) : h(h), v(v) {}
    friend bool operator==(const ViewPoint&, const ViewPoint&) = default;
};
