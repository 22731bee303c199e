// Four-character codes ('TNWK', 'knb3') as numbers, first character in the top byte.
#pragma once

#include <cstdint>
#include <string>

constexpr std::uint32_t fourCharID(const char (&code)[5])
{
    return std::uint32_t(std::uint8_t(code[0])) << 24 | std::uint32_t(std::uint8_t(code[1])) << 16 |
           std::uint32_t(std::uint8_t(code[2])) << 8 | std::uint32_t(std::uint8_t(code[3]));
}

// The code as text, for messages and listings.
inline std::string fourCharText(std::uint32_t id)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) text += char((id >> shift) & 0xFF);
    return text;
}
