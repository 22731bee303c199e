#include "widgets/VGLogo.h"

#include "viewframework/ViewConstants.h"
#include "widgets/ARSDrawContext.h"

namespace {
void disc(ARSDrawContext* pic, ViewColour c, const ViewRect& r)
{
    pic->setBrushColour(c);
    pic->setPenColour(c);
    pic->fillOval(r);
    pic->strokeOval(r);
}

void bar(ARSDrawContext* pic, ViewColour c, const ViewRect& r)
{
    pic->setBrushColour(c);
    pic->setPenColour(c);
    pic->fillBox(r);
    pic->strokeBox(r);
}
}  // namespace

VGLogo::VGLogo(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette)
    : VGControl(size, listener, tag, palette)
{
}

void VGLogo::paint(CDrawContext* context)
{
    ARSDrawContext* pic = beginPicture(context, false);
    if (!pic) return;
    const std::int32_t W = width, H = height, k = H - 2, B = 6 * H;  // B: the badge's width
    const VGPalette& p = *palette;
    const ViewColour L0 = lightened(p[VGPalette::kFace]), L1 = lightened(p[VGPalette::kBody]);

    pic->setRasterMode(kRasterDefault);
    pic->setBrushColour(kColourWhite);
    pic->fillBox(ViewRect(0, 0, W, H));
    pic->setPenColour(kColourWhite);
    pic->strokeBox(ViewRect(0, 0, W, H));
    pic->setPenWidth(1);
    textRect = ViewRect(B + 1, 1, W - 1, H - 1);

    // Title bar: round right end, body, and the darker field the title sits on.
    disc(pic, p[VGPalette::kBody], ViewRect(W - H + 1, 1, W - 1, H - 1));
    disc(pic, L0, ViewRect(W - H + 2, 2, W - 2, H - 2));
    const std::int32_t barLeft = B + 1 - std::int32_t(k * 0.5), barRight = W - 1 - std::int32_t(k * 0.5);
    bar(pic, p[VGPalette::kBody], ViewRect(barLeft, 1, barRight, H - 1));
    bar(pic, L0, ViewRect(barLeft, 2, barRight, H - 2));
    const std::int32_t a = std::int32_t(1 + k * 0.25), b = std::int32_t(H - 1 - k * 0.125), d = b - a;
    const std::int32_t c = std::int32_t(W - 1 - d * 0.5);
    disc(pic, p[VGPalette::kFace], ViewRect(c - d, a, c, b));
    bar(pic, p[VGPalette::kFace], ViewRect(std::int32_t(B + 1 - k * 0.5), a, W - 1 - d, b));

    // Badge: two round ends and a body, with a white pill inside.
    pic->setPenWidth(1);
    disc(pic, p[VGPalette::kBody], ViewRect(1, 1, H - 1, H - 1));
    disc(pic, L1, ViewRect(3, 3, H - 3, H - 3));
    disc(pic, p[VGPalette::kBody], ViewRect(B + 1 - k, 1, B + 1, H - 1));
    disc(pic, L1, ViewRect(B + 3 - k, 3, B - 1, H - 3));
    const std::int32_t badgeLeft = std::int32_t(1 + k * 0.5), badgeRight = std::int32_t(B + 1 - k * 0.5);
    bar(pic, p[VGPalette::kBody], ViewRect(badgeLeft, 1, badgeRight, H - 1));
    bar(pic, L1, ViewRect(badgeLeft, 3, badgeRight, H - 3));
    pic->setBrushColour(kColourWhite);
    const std::int32_t left = std::int32_t(1 + d * 0.5), right = std::int32_t(B + 1 - d * 0.5);
    pic->fillOval(ViewRect(left, a, left + d, b));
    pic->fillOval(ViewRect(right - d, a, right, b));
    pic->fillBox(ViewRect(1 + d, a, B + 1 - d, b));

    // Word mark, condensed, and title, expanded: both in the aliased text of the base.
    fitFont(pic, kWordMark, B, H + 2);
    pic->setTextColour(p[VGPalette::kFace]);
    pic->selectFont(fontId, fontSize, kFontCondensed);
    pic->drawText(kWordMark, ViewRect(1, -1, B + 1, H + 3), false, kAlignCentre);

    const std::int32_t t1 = std::int32_t(1 + k * 0.15), t2 = std::int32_t(H - 1 - k * 0.15);
    fitFont(pic, name, W - 2 - B, t2 - t1);
    pic->setTextColour(kColourWhite);
    pic->selectFont(fontId, fontSize, kFontExpanded);
    pic->drawText(name, ViewRect(B + 1, t1 + 2, W - 1, t2), false, kAlignCentre);

    endPicture(pic, context);
}

void VGLogo::onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons)
{
    VGControl::onMouseDown(context, where, buttons);
}
