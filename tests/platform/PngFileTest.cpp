// A picture written by the device context reads back pixel for pixel through the system's own PNG
// decoder (GDI+ on Windows, Cairo elsewhere): the row order, the channel order and the stride are right.
#include "platform/DeviceContext.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/GraphicsSession.h"
#include "tests/e2e/win32/PictureComparison.h"
#else
#include <cairo.h>
#endif

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using platform::DeviceContext;

namespace {
struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB
    bool opaque = true;  // every pixel (Cairo says; the Windows reader keeps only colours)
};

Decoded decode(const std::string& path)
{
    Decoded out;
#ifdef _WIN32
    platform::GraphicsSession session;
    if (!session.running()) return out;
    Picture picture = readPng(std::wstring(path.begin(), path.end()));
    out.width = picture.width;
    out.height = picture.height;
    out.pixels = std::move(picture.pixels);
#else
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        out.width = cairo_image_surface_get_width(s);
        out.height = cairo_image_surface_get_height(s);
        const int stride = cairo_image_surface_get_stride(s);
        const bool hasAlpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
        const unsigned char* data = cairo_image_surface_get_data(s);
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x) {
                const auto c = reinterpret_cast<const std::uint32_t*>(data + y * stride)[x];
                out.opaque = out.opaque && (!hasAlpha || (c >> 24) == 0xFF);
                out.pixels.push_back(c & 0xFFFFFF);
            }
    }
    cairo_surface_destroy(s);
#endif
    return out;
}
}  // namespace

TEST(PngFile, ReadsBackPixelForPixelAndRefusesAnUnwritablePath)
{
    // An odd width: rows of 7 pixels are not a multiple of any alignment.
    auto dc = DeviceContext::createOffscreen(0, 7, 5);
    ASSERT_NE(dc, nullptr);
    const platform::Rgb colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {18, 52, 86}};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(dc->setBrush(colours[i]));
        dc->fillRect({i, i, i + 1, i + 1});  // a diagonal of distinct pixels
    }
    dc->setBrush({255, 255, 255});
    dc->fillRect({6, 4, 7, 5});  // the last pixel of the last row

    const std::string path = ::testing::TempDir() + "png-file-test.png";
    ASSERT_TRUE(dc->writePng(path));
    const Decoded back = decode(path);
    std::remove(path.c_str());
    ASSERT_EQ(back.width, 7);
    ASSERT_EQ(back.height, 5);
    EXPECT_TRUE(back.opaque);
    EXPECT_EQ(back.pixels, dc->pixels());
    EXPECT_EQ(back.pixels[0], 0xFF0000u);
    EXPECT_EQ(back.pixels[3 * 7 + 3], 0x123456u);
    EXPECT_EQ(back.pixels[4 * 7 + 6], 0xFFFFFFu);

    EXPECT_FALSE(dc->writePng(::testing::TempDir() + "no-such-folder/x.png"));
}
