#include "protools/library/CPlugInResources.h"

#include "platform/ModuleFile.h"

namespace {

// Reads forward through a byte string; every read checks that the bytes are there.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : at(data), end(data + size) {}
    bool bytes(std::size_t n, const std::uint8_t*& out)
    {
        if (std::size_t(end - at) < n) return false;
        out = at;
        at += n;
        return true;
    }
    bool number(std::size_t width, std::uint32_t& out)
    {
        const std::uint8_t* p = nullptr;
        if (!bytes(width, p)) return false;
        out = 0;
        for (std::size_t i = 0; i < width; ++i) out |= std::uint32_t(p[i]) << (8 * i);
        return true;
    }
    bool done() const { return at == end; }

private:
    const std::uint8_t* at;
    const std::uint8_t* end;
};

std::uint32_t idOf(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

bool parsePageTables(const std::uint8_t* data, std::size_t size, std::vector<CPlugInResources::Page>& pages)
{
    Reader in(data, size);
    std::uint32_t count = 0;
    if (!in.number(2, count)) return false;
    for (std::uint32_t p = 0; p < count; ++p) {
        std::uint32_t controls = 0;
        if (!in.number(2, controls)) return false;
        CPlugInResources::Page page;
        for (std::uint32_t c = 0; c < controls; ++c) {
            const std::uint8_t* id = nullptr;
            if (!in.bytes(4, id)) return false;
            page.push_back(idOf(id));
        }
        pages.push_back(std::move(page));
    }
    return in.done();
}

}  // namespace

PI_Err CPlugInResources::load(const std::string& path)
{
    clear();
    std::vector<std::uint8_t> bytes;
    if (!platform::readWholeFile(path, kMaxFileSize, bytes)) return PI_ErrResourceFile;
    return parse(bytes);
}

PI_Err CPlugInResources::parse(const std::vector<std::uint8_t>& bytes)
{
    clear();
    Reader in(bytes.data(), bytes.size());
    const std::uint8_t* magic = nullptr;
    std::uint32_t version = 0, count = 0;
    if (!in.bytes(4, magic) || magic[0] != 'T' || magic[1] != 'W' || magic[2] != 'R' || magic[3] != 'S' ||
        !in.number(2, version) || version != 1 || !in.number(2, count))
        return PI_ErrResourceFile;
    std::map<std::string, std::vector<Page>> tables;
    for (std::uint32_t r = 0; r < count; ++r) {
        const std::uint8_t *type = nullptr, *name = nullptr, *data = nullptr;
        std::uint32_t nameLength = 0, dataLength = 0;
        if (!in.bytes(4, type) || !in.number(1, nameLength) || nameLength == 0 || !in.bytes(nameLength, name) ||
            !in.number(4, dataLength) || !in.bytes(dataLength, data))
            return PI_ErrResourceFile;
        if (idOf(type) != idOf(reinterpret_cast<const std::uint8_t*>("PGTB"))) continue;  // not ours to read
        std::vector<Page> pages;
        const std::string key(reinterpret_cast<const char*>(name), nameLength);
        if (!parsePageTables(data, dataLength, pages) || tables.count(key)) return PI_ErrResourceFile;
        tables.emplace(key, std::move(pages));
    }
    if (!in.done()) return PI_ErrResourceFile;
    pageTables = std::move(tables);
    isLoaded = true;
    return PI_NoErr;
}

void CPlugInResources::clear()
{
    pageTables.clear();
    isLoaded = false;
}

const std::vector<CPlugInResources::Page>* CPlugInResources::findPageTables(const std::string& name) const
{
    const auto found = pageTables.find(name);
    return found == pageTables.end() ? nullptr : &found->second;
}
