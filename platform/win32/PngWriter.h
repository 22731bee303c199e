// PNG files without a library: 8-bit RGB, deflate's stored blocks (no compression). Test pictures and
// screenshots only need to be correct and readable, not small.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class PngWriter {
public:
    static bool write(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels);
};

}  // namespace platform
