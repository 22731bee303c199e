// The file a piece of loaded code came from: which module holds it, where that module's file lies,
// and reading a file beside it. A plug-in finds its own resources this way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A loaded module: its HMODULE on Windows, its load address elsewhere; 0 for none.
using ModuleHandle = std::uintptr_t;

// The module (shared library or program) whose code or data holds address.
ModuleHandle moduleContaining(const void* address);

// The absolute path of that module's file in UTF-8; empty when it cannot be told.
std::string modulePath(const void* address);

// The whole file at a UTF-8 path, when it is a regular file that can be read and holds at most limit
// bytes. On failure bytes is left as it was.
bool readWholeFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes);

}  // namespace platform
