// A draw context on a bitmap of its own, which starts entirely in its background colour. Containers
// and widgets paint into one and copy it out with blitTo.
#pragma once

#include "viewframework/CDrawContext.h"

#include <string>

class COffscreenContext : public CDrawContext {
public:
    COffscreenContext(CDrawContextOwner* frame, std::int32_t width, std::int32_t height, ViewColour background);
    ~COffscreenContext() override;

    // False when the bitmap could not be made: drawing then does nothing, and the caller should skip
    // its paint and stay dirty.
    bool valid() const { return nativeContext() != nullptr; }
    std::int32_t width() const { return widthValue; }
    std::int32_t height() const { return heightValue; }
    ViewColour backgroundColour() const { return background; }

    // Starts again as if just made: initial drawing state and the whole bitmap in the background colour,
    // without making a new bitmap.
    void restart();

    // Copies destRect's size from srcOffset here (no offset of this context) to dest at destRect's
    // top-left plus dest's drawOffset.
    void blitTo(CDrawContext* dest, const ViewRect& destRect, ViewPoint srcOffset);

    // Read-back for tests and screenshots; alpha is 255, outside the bitmap reads black.
    ViewColour pixelAt(std::int32_t x, std::int32_t y) const;
    bool writePng(const std::string& path) const;

private:
    void clearToBackground();

    std::int32_t heightValue;
    std::int32_t widthValue;
    bool ownsBitmap = true;
    ViewColour background;
};
