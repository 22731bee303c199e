#include "platform/win32/PngWriter.h"

#include "platform/GraphicsSession.h"

#include <windows.h>
#include <gdiplus.h>

#include <cwchar>
#include <memory>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace platform {

namespace {
bool pngEncoder(CLSID& clsid)
{
    UINT count = 0, bytes = 0;
    if (GdipGetImageEncodersSize(&count, &bytes) != Ok || bytes == 0) return false;
    auto storage = std::make_unique<unsigned char[]>(bytes);
    auto* codecs = reinterpret_cast<ImageCodecInfo*>(storage.get());
    if (GdipGetImageEncoders(count, bytes, codecs) != Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

std::wstring widePath(const std::string& path)
{
    // The same code page the C library's fopen reads narrow paths in.
    const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (n <= 0) return {};
    std::wstring w(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, w.data(), n);
    w.resize(std::size_t(n - 1));
    return w;
}
}  // namespace

bool PngWriter::write(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels)
{
    if (width <= 0 || height <= 0 || pixels.size() != std::size_t(width) * std::size_t(height)) return false;
    const std::wstring file = widePath(path);
    if (file.empty()) return false;

    // GDI+ counts its users: a session of our own is safe whether or not an editor has one open.
    GraphicsSession session;
    if (!session.running()) return false;
    CLSID encoder;
    if (!pngEncoder(encoder)) return false;

    // The bitmap reads the caller's pixels in place; the top byte of each is ignored (32bpp RGB).
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppRGB,
                                  reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels.data())), &bitmap) != Ok ||
        !bitmap)
        return false;
    const bool saved = GdipSaveImageToFile(bitmap, file.c_str(), &encoder, nullptr) == Ok;
    GdipDisposeImage(bitmap);
    return saved;
}

}  // namespace platform
