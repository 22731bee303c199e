#include "viewframework/COffscreenContext.h"

COffscreenContext::COffscreenContext(CDrawContextOwner* frame, std::int32_t width, std::int32_t height,
                                     ViewColour backgroundColour)
    : CDrawContext(frame, nullptr, 0), heightValue(height), widthValue(width), background(backgroundColour)
{
    rawClip() = ViewRect(0, 0, width, height);
    adoptNative(platform::DeviceContext::createOffscreen(frame ? frame->contextWindow() : 0, width, height));
    clearToBackground();
}

void COffscreenContext::restart()
{
    restoreInitialState(ViewRect(0, 0, widthValue, heightValue));
    clearToBackground();
}

void COffscreenContext::clearToBackground()
{
    const std::int32_t width = widthValue, height = heightValue;
    setBrushColour(background);
    setPenColour(background);
    fillBox(ViewRect(0, 0, width, height));
    drawBox(ViewRect(0, 0, width, height), kShapeStroked);
    // The outline of a one-pixel-square surface is a line of length 0, which draws nothing; cover it
    // directly so that every surface, whatever its size, starts in the background colour.
    if (valid() && width == 1 && height == 1) nativeContext()->fillRect({0, 0, 1, 1});
}

COffscreenContext::~COffscreenContext() = default;  // the owned bitmap goes with the native context

void COffscreenContext::blitTo(CDrawContext* dest, const ViewRect& destRect, ViewPoint srcOffset)
{
    if (!dest || !valid() || !dest->nativeContext()) return;
    ViewRect at = destRect;
    at.offset(dest->drawOffset().h, dest->drawOffset().v);
    nativeContext()->copyTo(*dest->nativeContext(), {at.left, at.top}, destRect.width(), destRect.height(),
                            {srcOffset.h, srcOffset.v});
}

ViewColour COffscreenContext::pixelAt(std::int32_t x, std::int32_t y) const
{
    if (!valid()) return kColourBlack;
    const platform::Rgb c = platform::Rgb::fromWord(nativeContext()->pixel(x, y));
    return {c.red, c.green, c.blue, 255};
}

bool COffscreenContext::writePng(const std::string& path) const
{
    return valid() && nativeContext()->writePng(path);
}
