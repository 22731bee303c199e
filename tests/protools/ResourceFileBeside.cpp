#include "tests/protools/ResourceFileBeside.h"

#include "platform/ModuleFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace rsr {

namespace {

void put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

const char anchor = 0;

}  // namespace

std::vector<std::uint8_t> build(const std::vector<PageTables>& tables)
{
    std::vector<std::uint8_t> out{'T', 'W', 'R', 'S'};
    put(out, 1, 2);
    put(out, std::uint32_t(tables.size()), 2);
    for (const PageTables& t : tables) {
        std::vector<std::uint8_t> data;
        put(data, std::uint32_t(t.pages.size()), 2);
        for (const auto& page : t.pages) {
            put(data, std::uint32_t(page.size()), 2);
            for (const std::string& id : page) data.insert(data.end(), id.begin(), id.end());
        }
        out.insert(out.end(), {'P', 'G', 'T', 'B'});
        out.push_back(std::uint8_t(t.name.size()));
        out.insert(out.end(), t.name.begin(), t.name.end());
        put(out, std::uint32_t(data.size()), 4);
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

std::string besideProgram()
{
    return platform::modulePath(&anchor) + ".rsr";
}

void write(const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(besideProgram(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void remove()
{
    std::remove(besideProgram().c_str());
}

std::vector<std::uint8_t> read()
{
    std::ifstream in(besideProgram(), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace rsr
