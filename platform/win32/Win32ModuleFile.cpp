// Modules and files on Windows: module handles from an address, wide-character paths.
#include "platform/ModuleFile.h"

#include <windows.h>

#include <cstdio>

namespace platform {

namespace {

std::wstring widen(const std::string& text)
{
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), wide.data(), n);
    return wide;
}

std::string narrow(const std::wstring& wide)
{
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string text(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), text.data(), n, nullptr, nullptr);
    return text;
}

}  // namespace

ModuleHandle moduleContaining(const void* address)
{
    HMODULE module = nullptr;
    if (!address || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                            GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                        static_cast<LPCWSTR>(address), &module))
        return 0;
    return reinterpret_cast<ModuleHandle>(module);
}

std::string modulePath(const void* address)
{
    const auto module = reinterpret_cast<HMODULE>(moduleContaining(address));
    if (!module) return {};
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, path.data(), DWORD(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return narrow(path);
        }
        if (path.size() >= 32768) return {};  // longer than any path Windows accepts
        path.resize(path.size() * 2);
    }
}

bool readWholeFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes)
{
    const std::wstring wide = widen(path);
    if (wide.empty()) return false;
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &attributes)) return false;
    if (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    const unsigned long long size =
        (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    if (size > limit) return false;
    std::FILE* file = _wfopen(wide.c_str(), L"rb");
    if (!file) return false;
    std::vector<std::uint8_t> content(static_cast<std::size_t>(size));
    bool ok = std::fread(content.data(), 1, content.size(), file) == content.size();
    ok = ok && std::fgetc(file) == EOF && !std::ferror(file);
    std::fclose(file);
    if (ok) bytes = std::move(content);
    return ok;
}

}  // namespace platform
