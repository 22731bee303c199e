// Pictures out as PNG files, written under a temporary name and moved into place when complete, so
// a failed run leaves no partial file behind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pixels are 0x00RRGGBB, row by row.
bool writePngFile(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels,
                  std::string& error);
