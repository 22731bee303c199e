// What a draw context needs from the frame it belongs to: the frame's bounds (a context's first clip)
// and its window (where contexts draw, and what off-screen surfaces are made compatible with).
// The frame implements it.
#pragma once

#include "platform/PlatformTypes.h"
#include "viewframework/ViewRect.h"

class CDrawContextOwner {
public:
    virtual ViewRect contextBounds() const = 0;
    virtual platform::NativeWindow contextWindow() const = 0;

protected:
    ~CDrawContextOwner() = default;
};
