// PNG files through GDI+'s own encoder: 32-bit pixels in 0x00RRGGBB order, written as an opaque picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class PngWriter {
public:
    // False when the pixels do not fill width x height, GDI+ cannot start or has no PNG encoder, or the
    // file cannot be written.
    static bool write(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels);
};

}  // namespace platform
