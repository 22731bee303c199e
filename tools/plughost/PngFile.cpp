#include "tools/plughost/PngFile.h"

#include <cairo.h>

#include <cstdio>
#include <cstring>

bool writePngFile(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels,
                  std::string& error)
{
    if (width < 1 || height < 1 || pixels.size() != std::size_t(width) * std::size_t(height)) {
        error = path + ": no picture to write";
        return false;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        error = path + ": out of memory for the picture";
        return false;
    }
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y)
        std::memcpy(data + std::size_t(y) * std::size_t(stride), pixels.data() + std::size_t(y) * std::size_t(width),
                    std::size_t(width) * sizeof(std::uint32_t));
    cairo_surface_mark_dirty(surface);

    const std::string temporary = path + ".partial";
    const cairo_status_t status = cairo_surface_write_to_png(surface, temporary.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        error = path + ": cannot be written";
        return false;
    }
    return true;
}
