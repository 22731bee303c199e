// Modules and files on Linux: the dynamic loader's list of loaded objects, and stdio.
#include "platform/ModuleFile.h"

#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

struct Search {
    std::uintptr_t address = 0;
    std::uintptr_t start = 0;  // lowest mapped address of the object that holds it
    std::string name;
    bool found = false;
};

int visit(dl_phdr_info* info, std::size_t, void* data)
{
    auto* search = static_cast<Search*>(data);
    bool holds = false;
    std::uintptr_t lowest = UINTPTR_MAX;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD) continue;
        const std::uintptr_t begin = info->dlpi_addr + segment.p_vaddr;
        if (begin < lowest) lowest = begin;
        if (search->address >= begin && search->address - begin < segment.p_memsz) holds = true;
    }
    if (!holds) return 0;
    search->found = true;
    search->start = lowest;
    search->name = info->dlpi_name ? info->dlpi_name : "";
    return 1;
}

Search find(const void* address)
{
    Search search;
    search.address = reinterpret_cast<std::uintptr_t>(address);
    if (address) dl_iterate_phdr(visit, &search);
    return search;
}

}  // namespace

ModuleHandle moduleContaining(const void* address)
{
    const Search search = find(address);
    return search.found ? search.start : 0;
}

std::string modulePath(const void* address)
{
    const Search search = find(address);
    if (!search.found) return {};
    char resolved[PATH_MAX];
    if (search.name.empty()) {
        // The loader names the program itself "": the kernel knows its file.
        const ssize_t n = readlink("/proc/self/exe", resolved, sizeof resolved - 1);
        if (n <= 0) return {};
        return std::string(resolved, static_cast<std::size_t>(n));
    }
    if (!realpath(search.name.c_str(), resolved)) return {};
    return resolved;
}

bool readWholeFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    struct stat info {};
    bool ok = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
              static_cast<std::size_t>(info.st_size) <= limit;
    std::vector<std::uint8_t> content;
    if (ok) {
        content.resize(static_cast<std::size_t>(info.st_size));
        ok = std::fread(content.data(), 1, content.size(), file) == content.size();
        // A file that grew since fstat is not the file that was measured.
        ok = ok && std::fgetc(file) == EOF && !std::ferror(file);
    }
    std::fclose(file);
    if (ok) bytes = std::move(content);
    return ok;
}

}  // namespace platform
