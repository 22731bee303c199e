#include "platform/win32/PngWriter.h"

#include <cstdio>

namespace platform {

namespace {
std::uint32_t crc32(const unsigned char* data, std::size_t n, std::uint32_t crc = 0)
{
    static std::uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void put32(std::vector<unsigned char>& v, std::uint32_t x)
{
    v.push_back((unsigned char)(x >> 24));
    v.push_back((unsigned char)(x >> 16));
    v.push_back((unsigned char)(x >> 8));
    v.push_back((unsigned char)x);
}

void chunk(std::FILE* f, const char* type, const std::vector<unsigned char>& body)
{
    std::vector<unsigned char> out;
    put32(out, std::uint32_t(body.size()));
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    put32(out, crc32(out.data() + 4, out.size() - 4));
    std::fwrite(out.data(), 1, out.size(), f);
}
}  // namespace

bool PngWriter::write(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels)
{
    if (width <= 0 || height <= 0 || pixels.size() != std::size_t(width) * std::size_t(height)) return false;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::fwrite(signature, 1, 8, f);

    std::vector<unsigned char> header;
    put32(header, std::uint32_t(width));
    put32(header, std::uint32_t(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    chunk(f, "IHDR", header);

    std::vector<unsigned char> raw;
    raw.reserve((std::size_t(width) * 3 + 1) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
            raw.push_back((unsigned char)(p >> 16));
            raw.push_back((unsigned char)(p >> 8));
            raw.push_back((unsigned char)p);
        }
    }
    std::vector<unsigned char> z = {0x78, 0x01};
    std::uint32_t s1 = 1, s2 = 0;
    for (unsigned char c : raw) {
        s1 = (s1 + c) % 65521;
        s2 = (s2 + s1) % 65521;
    }
    for (std::size_t pos = 0; pos < raw.size() || pos == 0;) {
        const std::size_t len = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        const bool last = pos + len >= raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back((unsigned char)len);
        z.push_back((unsigned char)(len >> 8));
        z.push_back((unsigned char)~len);
        z.push_back((unsigned char)(~len >> 8));
        z.insert(z.end(), raw.begin() + std::ptrdiff_t(pos), raw.begin() + std::ptrdiff_t(pos + len));
        pos += len;
        if (last) break;
    }
    put32(z, (s2 << 16) | s1);
    chunk(f, "IDAT", z);
    chunk(f, "IEND", {});
    return std::fclose(f) == 0;
}

}  // namespace platform
