#include "platform/PixelImage.h"

#include <cstdio>
#include <memory>

namespace platform {

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Next header token, skipping blanks and '#' comments (the comment text is kept for the caller).
bool token(std::FILE* f, int& value, std::string* comment)
{
    int c = std::fgetc(f);
    for (;;) {
        while (c == ' ' || c == '\n' || c == '\r' || c == '\t') c = std::fgetc(f);
        if (c != '#') break;
        std::string line;
        while ((c = std::fgetc(f)) != EOF && c != '\n') line += char(c);
        if (!line.empty() && line[0] == ' ') line.erase(0, 1);
        if (comment && comment->empty()) *comment = line;
        c = std::fgetc(f);
    }
    if (c < '0' || c > '9') return false;
    long v = 0;
    while (c >= '0' && c <= '9') {
        v = v * 10 + (c - '0');
        if (v > 100000) return false;
        c = std::fgetc(f);
    }
    value = int(v);
    return true;
}
}  // namespace

bool PixelImage::writePpm(const std::string& path) const
{
    File f(std::fopen(path.c_str(), "wb"));
    if (!f) return false;
    std::fprintf(f.get(), "P6\n# %s\n%d %d\n255\n", comment.c_str(), width, height);
    std::vector<unsigned char> row(std::size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = at(x, y);
            row[std::size_t(x) * 3] = (unsigned char)(p >> 16);
            row[std::size_t(x) * 3 + 1] = (unsigned char)(p >> 8);
            row[std::size_t(x) * 3 + 2] = (unsigned char)p;
        }
        if (std::fwrite(row.data(), 1, row.size(), f.get()) != row.size()) return false;
    }
    return true;
}

bool PixelImage::readPpm(const std::string& path)
{
    *this = PixelImage{};
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) return false;
    if (std::fgetc(f.get()) != 'P' || std::fgetc(f.get()) != '6') return false;
    int w = 0, h = 0, maxValue = 0;
    std::string note;
    if (!token(f.get(), w, &note) || !token(f.get(), h, &note) || !token(f.get(), maxValue, &note)) return false;
    if (maxValue != 255 || w <= 0 || h <= 0) return false;
    std::vector<unsigned char> data(std::size_t(w) * std::size_t(h) * 3);
    if (std::fread(data.data(), 1, data.size(), f.get()) != data.size()) return false;
    width = w;
    height = h;
    comment = note;
    pixels.resize(std::size_t(w) * std::size_t(h));
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = std::uint32_t(data[i * 3]) << 16 | std::uint32_t(data[i * 3 + 1]) << 8 | data[i * 3 + 2];
    return true;
}

}  // namespace platform
