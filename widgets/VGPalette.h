// The four colours an editor shares with all of its widgets: face, body, accent, text. Widgets keep a
// pointer, never a copy, so rewriting the palette recolours the whole editor at its next redraw.
#pragma once

#include "viewframework/ViewColour.h"

#include <cstddef>
#include <cstdlib>

struct VGPalette {
    enum Role : std::size_t { kFace, kBody, kAccent, kText, kCount };

    ViewColour entries[kCount];

    ViewColour& operator[](std::size_t i) { return entries[i]; }
    const ViewColour& operator[](std::size_t i) const { return entries[i]; }

    // Face, body and accent become random opaque colours (red, green, blue drawn in that order, each
    // rand() % 255, the generator never seeded); the text colour stays.
    void randomiseColours()
    {
        for (std::size_t i = kFace; i <= kAccent; ++i) {
            entries[i].red = std::uint8_t(std::rand() % 255);
            entries[i].green = std::uint8_t(std::rand() % 255);
            entries[i].blue = std::uint8_t(std::rand() % 255);
            entries[i].alpha = 255;
        }
    }
};
static_assert(sizeof(VGPalette) == 16);

// Half-way to white; opaque.
constexpr ViewColour lightened(ViewColour c)
{
    return {std::uint8_t((c.red + 255) >> 1), std::uint8_t((c.green + 255) >> 1), std::uint8_t((c.blue + 255) >> 1), 255};
}

// Half the intensity; opaque.
constexpr ViewColour halfIntensity(ViewColour c)
{
    return {std::uint8_t(c.red >> 1), std::uint8_t(c.green >> 1), std::uint8_t(c.blue >> 1), 255};
}
