// The "Complete Controls State" chunk: every control's value of one insert, little-endian throughout.
//   0   4  'C' 'C' 'S' 'T'
//   4   4  format version, 1
//   8   4  product ID of the insert's effect type
//   12  4  number of controls N
//   16  8N N records: control ID, control value (signed)
//   16+8N 4 FNV-1a (32-bit) of every byte before it
#pragma once

#include <cstdint>
#include <vector>

class CControlsChunk {
public:
    struct Entry {
        std::uint32_t id;
        std::int32_t value;
    };

    static constexpr std::uint32_t kVersion = 1;
    static constexpr std::int32_t kMaxControls = 4096;

    static constexpr std::int32_t size(std::int32_t controls) { return 20 + 8 * controls; }
    // Writes size(entries.size()) bytes.
    static void write(std::uint32_t productID, const std::vector<Entry>& entries, std::uint8_t* out);
    // False unless the bytes are exactly one intact chunk of this format for this product.
    static bool read(const std::uint8_t* data, std::int32_t bytes, std::uint32_t productID,
                     std::vector<Entry>& entries);
    static std::uint32_t checksum(const std::uint8_t* data, std::size_t bytes);
};
