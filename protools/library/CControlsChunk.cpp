#include "protools/library/CControlsChunk.h"

namespace {

constexpr std::uint8_t kMagic[4] = {'C', 'C', 'S', 'T'};

void put(std::uint8_t* at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) at[i] = std::uint8_t(v >> (8 * i));
}

std::uint32_t get(const std::uint8_t* at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(at[i]) << (8 * i);
    return v;
}

}  // namespace

std::uint32_t CControlsChunk::checksum(const std::uint8_t* data, std::size_t bytes)
{
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < bytes; ++i) hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

void CControlsChunk::write(std::uint32_t productID, const std::vector<Entry>& entries, std::uint8_t* out)
{
    for (int i = 0; i < 4; ++i) out[i] = kMagic[i];
    put(out + 4, kVersion);
    put(out + 8, productID);
    put(out + 12, std::uint32_t(entries.size()));
    std::uint8_t* at = out + 16;
    for (const Entry& e : entries) {
        put(at, e.id);
        put(at + 4, std::uint32_t(e.value));
        at += 8;
    }
    put(at, checksum(out, std::size_t(at - out)));
}

bool CControlsChunk::read(const std::uint8_t* data, std::int32_t bytes, std::uint32_t productID,
                          std::vector<Entry>& entries)
{
    if (bytes < size(0)) return false;
    for (int i = 0; i < 4; ++i)
        if (data[i] != kMagic[i]) return false;
    if (get(data + 4) != kVersion || get(data + 8) != productID) return false;
    const std::uint32_t count = get(data + 12);
    if (count > std::uint32_t(kMaxControls) || bytes != size(std::int32_t(count))) return false;
    const std::size_t body = std::size_t(bytes) - 4;
    if (get(data + body) != checksum(data, body)) return false;
    entries.clear();
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* at = data + 16 + 8 * i;
        entries.push_back({get(at), std::int32_t(get(at + 4))});
    }
    return true;
}
