#include "widgets/VGControl.h"

#include "viewframework/ViewConstants.h"
#include "widgets/ARSDrawContext.h"

#include <algorithm>
#include <climits>
#include <cstring>

VGControl::VGControl(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette)
    : CControl(size, listener, tag), width(size.width()), height(size.height()), palette(palette), placement(size)
{
    setValue(1.0f);
}

VGControl::~VGControl()
{
    if (picture) picture->release();
    if (backdrop) backdrop->release();
}

void VGControl::copyText(char* field, const char* text)
{
    if (!text) text = "";
    const std::size_t n = strnlen(text, kTextCapacity - 1);
    std::memcpy(field, text, n);
    field[n] = 0;
}

void VGControl::setName(const char* text)
{
    copyText(name, text);
}

void VGControl::setUnit(const char* text)
{
    copyText(unit, text);
}

void VGControl::fitFont(CDrawContext* context, const char* sample, std::int32_t availWidth, std::int32_t availHeight)
{
    if (!context) return;
    if (!sample) sample = "";
    std::int32_t w128 = fitWidth128;
    if (fitFontId != fontId || fitFontStyle != fontStyle || std::strncmp(fitSample, sample, kTextCapacity - 1) != 0) {
        context->CDrawContext::selectFont(fontId, 128, fontStyle);
        w128 = context->CDrawContext::measureText(sample);
        // Only a real measurement is worth keeping: a context without a surface measures nothing.
        if (context->nativeContext()) {
            copyText(fitSample, sample);
            fitFontId = fontId;
            fitFontStyle = fontStyle;
            fitWidth128 = w128;
        }
    }
    const auto truncated = [](float v) {
        return v >= float(INT_MAX) ? INT_MAX : v <= float(INT_MIN) ? INT_MIN : std::int32_t(v);
    };
    const std::int32_t sizeH = truncated(float(availHeight) / 140.0f * 128.0f);
    // Nothing measured (an empty sample, no font): the height alone decides.
    const std::int32_t sizeW = w128 > 0 ? truncated(float(availWidth) / float(w128) * 128.0f) : sizeH;
    fontSize = std::max(1, std::min(sizeW, sizeH));
    context->CDrawContext::selectFont(fontId, fontSize, fontStyle);
}

ARSDrawContext* VGControl::beginPicture(CDrawContext* target, bool whiteCard)
{
    if (!target || width <= 0 || height <= 0) return nullptr;
    if (picture && (picture->width() != width || picture->height() != height ||
                    picture->ownerFrame() != target->ownerFrame())) {
        picture->release();
        picture = nullptr;
    }
    stateKept = false;
    if (picture) {
        picture->restart();
    } else {
        picture = new ARSDrawContext(target->ownerFrame(), width, height, kColourBlack);
        if (!picture->valid()) {
            picture->release();
            picture = nullptr;
            return nullptr;
        }
    }
    const ViewRect card(0, 0, width, height);
    if (whiteCard) {
        picture->setPenWidth(1);
        picture->setRasterMode(kRasterDefault);
        picture->setBrushColour(kColourWhite);
        picture->setPenColour(kColourWhite);
    }
    const bool keepsBackdrop = hasBackdrop();
    if (keepsBackdrop && backdrop && backdrop->width() == width && backdrop->height() == height && palette &&
        std::memcmp(&backdropPalette, palette, sizeof backdropPalette) == 0 && !ARSDrawContext::recording()) {
        // The pixels of card and backdrop as drawn the first time; the card's state is set above.
        backdrop->blitTo(picture, card, ViewPoint(0, 0));
        return picture;
    }
    if (whiteCard) {
        picture->fillBox(card);
        picture->strokeBox(card);
    }
    if (keepsBackdrop) {
        drawBackdrop(picture);
        if (!backdrop || backdrop->width() != width || backdrop->height() != height) {
            if (backdrop) backdrop->release();
            backdrop = new COffscreenContext(nullptr, width, height, kColourBlack);
        }
        if (backdrop->valid() && palette) {
            picture->blitTo(backdrop, card, ViewPoint(0, 0));
            backdropPalette = *palette;
        } else {
            backdrop->release();
            backdrop = nullptr;
        }
    }
    return picture;
}

void VGControl::endPicture(ARSDrawContext* drawn, CDrawContext* target)
{
    drawn->blitTo(target, placement, ViewPoint(0, 0));
    setNeedsRedraw(false);
}

void VGControl::forgetPicture()
{
    if (picture) picture->release();
    picture = nullptr;
    if (backdrop) backdrop->release();
    backdrop = nullptr;
    stateKept = false;
}

bool VGControl::showKept(CDrawContext* target, const void* state, std::size_t size)
{
    if (!stateKept || !picture || !target || ARSDrawContext::recording()) return false;
    if (picture->width() != width || picture->height() != height || picture->ownerFrame() != target->ownerFrame())
        return false;
    if (size != keptState.size() || std::memcmp(keptState.data(), state, size) != 0) return false;
    if (!palette || std::memcmp(&keptPalette, palette, sizeof keptPalette) != 0) return false;
    picture->COffscreenContext::blitTo(target, placement, ViewPoint(0, 0));
    setNeedsRedraw(false);
    return true;
}

void VGControl::keepState(const void* state, std::size_t size)
{
    if (!picture || !palette) return;
    const auto* bytes = static_cast<const unsigned char*>(state);
    keptState.assign(bytes, bytes + size);
    keptPalette = *palette;
    stateKept = true;
}

void VGControl::paint(CDrawContext* context)
{
    if (ARSDrawContext* picture = beginPicture(context, true)) endPicture(picture, context);
}

bool VGControl::clickProceeds(CDrawContext* context, std::int32_t& buttons)
{
    if (!acceptsMouse()) return false;
    if (buttons == kButtonsUnread) buttons = context ? context->readButtons() : 0;
    if (!(buttons & kButtonLeft)) return false;
    return !((buttons & kModifierMask) && modifierClickTaken(context, buttons));
}

void VGControl::reportClick(CDrawContext* context)
{
    if (listenerOf) {
        if (startEdit()) reportValue(context);
        endEdit();
    }
    idleTurn();
}

void VGControl::onMouseDown(CDrawContext* context, ViewPoint&, std::int32_t buttons)
{
    if (!clickProceeds(context, buttons)) return;
    // Truncation decides, as (int)value would: 0.7 counts as off and becomes 1.
    const float v = value();
    setValue(v > -1.0f && v < 1.0f ? 1.0f : 0.0f);
    reportClick(context);
}
