#include "widgets/ARSDrawContext.h"

#include "viewframework/ViewConstants.h"

#include <atomic>

namespace {
std::atomic<ARSDrawRecorder*> recorderOf{nullptr};
constexpr const char* kFamily = "Arial";
}  // namespace

std::uint32_t ARSDrawContext::argbOf(ViewColour c)
{
    return std::uint32_t(c.alpha) << 24 | std::uint32_t(c.red) << 16 | std::uint32_t(c.green) << 8 | c.blue;
}

std::uint32_t ARSDrawContext::textArgbOf(ViewColour c)
{
    c.alpha = std::uint8_t(c.alpha - 1);
    return argbOf(c);
}

void ARSDrawContext::setRecorder(ARSDrawRecorder* recorder)
{
    recorderOf.store(recorder);
}

ARSDrawContext::ARSDrawContext(CDrawContextOwner* frame, std::int32_t width, std::int32_t height,
                               ViewColour background)
    : COffscreenContext(frame, width, height, background), frameARGB(argbOf(penColour())),
      fillARGB(argbOf(brushColour())), fontARGB(textArgbOf(textColour()))
{
    if (!COffscreenContext::valid()) return;
    graphics = platform::AntiAliasedGraphics::create(*nativeContext());
    initialPens();
}

void ARSDrawContext::initialPens()
{
    if (!graphics) return;
    graphics->setPen(frameARGB, penWidthValue);
    graphics->setBrush(fillARGB);
    graphics->setTextBrush(fontARGB);
}

void ARSDrawContext::restart()
{
    COffscreenContext::restart();
    frameARGB = argbOf(penColour());
    fillARGB = argbOf(brushColour());
    fontARGB = textArgbOf(textColour());
    penWidthValue = 1.0f;
    penPosition = {};
    styleBits = 0;
    fontMade = false;
    initialPens();
}

bool ARSDrawContext::recording()
{
    return recorderOf.load() != nullptr;
}

ARSDrawContext::~ARSDrawContext() = default;

platform::RectF ARSDrawContext::floatRect(const ViewRect& r) const
{
    const ViewPoint o = drawOffset();
    return {float(r.left) + float(o.h), float(r.top) + float(o.v), float(r.right) - float(r.left),
            float(r.bottom) - float(r.top)};
}

void ARSDrawContext::note(ARSDrawCall::Kind kind, const ViewRect& r, std::uint32_t argb, float start, float sweep,
                          const char* text, std::int32_t align)
{
    ARSDrawRecorder* recorder = recorderOf.load();
    if (!recorder) return;
    ARSDrawCall call;
    call.kind = kind;
    call.rect = r;
    call.argb = argb;
    call.startDegrees = start;
    call.sweepDegrees = sweep;
    if (text) call.text = text;
    call.align = align;
    call.fontSize = fontSize();
    call.fontStyle = styleBits;
    call.penWidth = penWidthValue;
    recorder->record(call);
}

void ARSDrawContext::setPenWidth(std::int32_t width)
{
    penWidthValue = float(width);
    if (graphics) graphics->setPen(frameARGB, penWidthValue);
    CDrawContext::setPenWidth(width);
}

void ARSDrawContext::setPenColour(ViewColour colour)
{
    frameARGB = argbOf(colour);
    if (graphics) graphics->setPen(frameARGB, penWidthValue);
    CDrawContext::setPenColour(colour);
}

void ARSDrawContext::setBrushColour(ViewColour colour)
{
    fillARGB = argbOf(colour);
    if (graphics) graphics->setBrush(fillARGB);
    CDrawContext::setBrushColour(colour);
}

void ARSDrawContext::setTextColour(ViewColour colour)
{
    fontARGB = textArgbOf(colour);
    if (graphics) graphics->setTextBrush(fontARGB);
    CDrawContext::setTextColour(colour);
}

void ARSDrawContext::selectFont(std::int32_t id, std::int32_t size, std::int32_t style)
{
    styleBits = style;
    // The base sets the aliased font and its character spacing (+2 expanded, -2 condensed).
    CDrawContext::selectFont(id, size, style);
    if (graphics)
        fontMade = graphics->setFont(kFamily, float(fontSize()), style & kFontBold, style & kFontItalic,
                                     style & kFontUnderline);
}

void ARSDrawContext::penLineTo(ViewPoint p)
{
    note(ARSDrawCall::kLine, ViewRect(penPosition.h, penPosition.v, p.h, p.v), frameARGB);
    if (graphics) {
        const ViewPoint o = drawOffset();
        graphics->line(penPosition.h + o.h, penPosition.v + o.v, p.h + o.h, p.v + o.v);
    }
    penPosition = p;
}

void ARSDrawContext::strokeBox(const ViewRect& r)
{
    note(ARSDrawCall::kStrokeBox, r, frameARGB);
    if (graphics) graphics->strokeRect(floatRect(r));
}

void ARSDrawContext::fillBox(const ViewRect& r)
{
    note(ARSDrawCall::kFillBox, r, fillARGB);
    if (graphics) graphics->fillRect(floatRect(r));
}

void ARSDrawContext::strokeOval(const ViewRect& r)
{
    note(ARSDrawCall::kStrokeOval, r, frameARGB);
    if (graphics) graphics->strokeEllipse(floatRect(r));
}

void ARSDrawContext::fillOval(const ViewRect& r)
{
    note(ARSDrawCall::kFillOval, r, fillARGB);
    if (graphics) graphics->fillEllipse(floatRect(r));
}

void ARSDrawContext::sweepArc(const ViewRect& r, float startDegrees, float endDegrees, std::int32_t mode)
{
    float sweep = endDegrees - startDegrees;
    if (endDegrees < startDegrees) sweep += 360.0f;
    if (mode == 0) {
        note(ARSDrawCall::kArc, r, frameARGB, startDegrees, sweep);
        if (graphics) graphics->strokeArc(floatRect(r), startDegrees, sweep);
    } else if (mode == 1) {
        note(ARSDrawCall::kPie, r, fillARGB, startDegrees, sweep);
        if (graphics) graphics->fillPie(floatRect(r), startDegrees, sweep);
    }
}

void ARSDrawContext::drawText(const char* text, const ViewRect& r, bool opaque, std::int32_t align)
{
    if (!text) return;
    if (styleBits & (kFontExpanded | kFontCondensed)) {
        note(ARSDrawCall::kGdiText, r, argbOf(textColour()), 0, 0, text, align);
        if (graphics) graphics->flush();
        CDrawContext::drawText(text, r, opaque, align);
        return;
    }
    note(ARSDrawCall::kText, r, fontARGB, 0, 0, text, align);
    if (!graphics || !fontMade) return;
    const platform::TextAlign a = align == kAlignCentre  ? platform::TextAlign::Centre
                                  : align == kAlignRight ? platform::TextAlign::Right
                                                         : platform::TextAlign::Left;
    graphics->drawText(text, floatRect(r), a);
}

void ARSDrawContext::blitTo(CDrawContext* dest, const ViewRect& destRect, ViewPoint srcOffset)
{
    if (graphics) graphics->flush();
    COffscreenContext::blitTo(dest, destRect, srcOffset);
}
