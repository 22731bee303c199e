// Comparing a Windows screenshot with the picture the Linux build drew of the same editor: text and
// anti-aliased edges differ between the two renderers, layout and colours must not.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The editors' default accent colour as a pixel word: thumbs, pointers and lit lamps.
inline constexpr std::uint32_t kAccent = 80u << 16 | 189u << 8 | 216u;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xRRGGBB rows
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

// Read with GDI+ (which must be running); empty when the file cannot be read.
Picture readPng(const std::wstring& path);

struct PictureDifference {
    int pixelsOff = 0;  // pixels whose worst channel differs by more than 64
    int blocksOff = 0;  // 10 x 10 blocks whose average colours differ by more than 40 in a channel
    int blocks = 0;
};

// Both rows of the same width x height.
PictureDifference comparePictures(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                                  int width, int height);

// A window's picture of width x height (0xRRGGBB rows) against the Linux picture at linuxPath, as
// test assertions: the same size; the same colour to the byte at each point of `exact` (where no text
// or edge is); fewer than 1/fractionOff of the pixels and at most blocksOff blocks off.
void expectSamePicture(const std::vector<std::uint32_t>& windows, int width, int height, const std::wstring& linuxPath,
                       const std::vector<std::pair<int, int>>& exact, int fractionOff, int blocksOff);
