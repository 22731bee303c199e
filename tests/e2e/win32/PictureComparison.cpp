#include "tests/e2e/win32/PictureComparison.h"

#include <windows.h>

#include <gdiplus.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

Picture readPng(const std::wstring& path)
{
    Picture out;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromFile(path.c_str(), &bitmap) != Gdiplus::Ok) return out;
    UINT w = 0, h = 0;
    Gdiplus::DllExports::GdipGetImageWidth(bitmap, &w);
    Gdiplus::DllExports::GdipGetImageHeight(bitmap, &h);
    out.width = int(w);
    out.height = int(h);
    for (UINT y = 0; y < h; ++y)
        for (UINT x = 0; x < w; ++x) {
            Gdiplus::ARGB c = 0;
            Gdiplus::DllExports::GdipBitmapGetPixel(bitmap, INT(x), INT(y), &c);
            out.pixels.push_back(c & 0xFFFFFF);
        }
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    return out;
}

namespace {
int channelDistance(std::uint32_t a, std::uint32_t b)
{
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8)
        worst = std::max(worst, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    return worst;
}

std::uint32_t blockAverage(const std::vector<std::uint32_t>& p, int width, int bx, int by)
{
    int sum[3] = {};
    for (int y = by; y < by + 10; ++y)
        for (int x = bx; x < bx + 10; ++x)
            for (int c = 0; c < 3; ++c) sum[c] += int(p[std::size_t(y * width + x)] >> (8 * c) & 0xFF);
    return std::uint32_t(sum[2] / 100) << 16 | std::uint32_t(sum[1] / 100) << 8 | std::uint32_t(sum[0] / 100);
}
}  // namespace

PictureDifference comparePictures(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                                  int width, int height)
{
    PictureDifference d;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) d.pixelsOff += channelDistance(a[i], b[i]) > 64;
    for (int by = 0; by + 10 <= height; by += 10)
        for (int bx = 0; bx + 10 <= width; bx += 10) {
            ++d.blocks;
            d.blocksOff += channelDistance(blockAverage(a, width, bx, by), blockAverage(b, width, bx, by)) > 40;
        }
    return d;
}

void expectSamePicture(const std::vector<std::uint32_t>& windows, int width, int height, const std::wstring& linuxPath,
                       const std::vector<std::pair<int, int>>& exact, int fractionOff, int blocksOff)
{
    const Picture linuxPicture = readPng(linuxPath);
    ASSERT_EQ(linuxPicture.width, width) << "cannot read the Linux picture";
    ASSERT_EQ(linuxPicture.height, height);
    ASSERT_EQ(windows.size(), linuxPicture.pixels.size());
    for (const auto& [x, y] : exact)
        EXPECT_EQ(windows[std::size_t(y * width + x)], linuxPicture.at(x, y)) << x << "," << y;
    // Layout and colours: most pixels agree closely; text and anti-aliased edges may differ.
    const PictureDifference d = comparePictures(windows, linuxPicture.pixels, width, height);
    EXPECT_LT(d.pixelsOff, int(windows.size()) / fractionOff) << d.pixelsOff << " of " << windows.size()
                                                               << " pixels differ";
    EXPECT_LE(d.blocksOff, blocksOff) << "of " << d.blocks << " blocks";
}
