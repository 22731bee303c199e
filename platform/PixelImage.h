// A plain picture in memory (0x00RRGGBB words) with binary PPM reading and writing: the format both
// builds can write and read without any library, used to compare pictures across systems.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class PixelImage {
public:
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::string comment;  // one line stored in the file's header

    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }

    bool writePpm(const std::string& path) const;
    // False (and the image left empty) for a missing or malformed file.
    bool readPpm(const std::string& path);
};

}  // namespace platform
