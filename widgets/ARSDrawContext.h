// An off-screen draw context that renders anti-aliased: ARGB pens and brushes, ellipses, pies and arcs,
// and text in "Arial" centred vertically in its box. It hides the aliased operations of the same name
// and still calls them, so the recorded pen, brush, text colour and font of the base stay current.
// Every widget paints into one of these for the length of one paint.
#pragma once

#include "platform/AntiAliasedGraphics.h"
#include "viewframework/COffscreenContext.h"

#include <cstdint>
#include <memory>
#include <string>

// One shape or text as it reached the anti-aliased layer, for tests that pin a widget's geometry.
struct ARSDrawCall {
    enum Kind { kLine, kStrokeBox, kFillBox, kStrokeOval, kFillOval, kArc, kPie, kText, kGdiText };
    Kind kind = kFillBox;
    ViewRect rect;             // the rectangle as given (for a line: from and to)
    std::uint32_t argb = 0;      // the pen, brush or text colour used
    float startDegrees = 0;    // arcs and pies
    float sweepDegrees = 0;
    std::string text;          // texts
    std::int32_t align = 0;
    std::int32_t fontSize = 0;
    std::int32_t fontStyle = 0;
    float penWidth = 0;
};

class ARSDrawRecorder {
public:
    virtual void record(const ARSDrawCall& call) = 0;

protected:
    ~ARSDrawRecorder() = default;
};

class ARSDrawContext : public COffscreenContext {
public:
    ARSDrawContext(CDrawContextOwner* frame, std::int32_t width, std::int32_t height, ViewColour background);
    ~ARSDrawContext() override;

    // False when there is no bitmap or no anti-aliased drawing on it: the widget then skips its paint.
    bool valid() const { return COffscreenContext::valid() && graphics != nullptr; }

    // As if just made, on the same bitmap: a widget keeps its picture between paints.
    void restart();
    // True while a recorder listens: it wants every shape of every paint.
    static bool recording();

    void setPenWidth(std::int32_t width);
    void setPenColour(ViewColour colour);
    void setBrushColour(ViewColour colour);
    // Drawn with alpha - 1 (modulo 256): opaque text is 254, and 0 becomes opaque.
    void setTextColour(ViewColour colour);
    void selectFont(std::int32_t id, std::int32_t size, std::int32_t style);

    void penMoveTo(ViewPoint p) { penPosition = p; }
    void penLineTo(ViewPoint p);
    void strokeBox(const ViewRect& r);
    void fillBox(const ViewRect& r);
    void strokeOval(const ViewRect& r);
    void fillOval(const ViewRect& r);
    // Degrees clockwise from 3 o'clock; an end before the start wraps once round. Mode 0 strokes the
    // arc with the pen, mode 1 fills the pie with the brush.
    void sweepArc(const ViewRect& r, float startDegrees, float endDegrees, std::int32_t mode);
    // Condensed and expanded fonts go through the aliased text of the base; all else anti-aliased,
    // aligned near, centre or far and centred vertically. `opaque` has no effect here.
    void drawText(const char* text, const ViewRect& r, bool opaque, std::int32_t align);

    // Settles the anti-aliased drawing into the bitmap before it is copied out.
    void blitTo(CDrawContext* dest, const ViewRect& destRect, ViewPoint srcOffset);

    std::uint32_t frameColourARGB() const { return frameARGB; }
    std::uint32_t fillColourARGB() const { return fillARGB; }
    std::uint32_t fontColourARGB() const { return fontARGB; }

    static std::uint32_t argbOf(ViewColour c);
    static std::uint32_t textArgbOf(ViewColour c);

    // Tests only: every shape and text of every context goes here too (null to stop).
    static void setRecorder(ARSDrawRecorder* recorder);

private:
    void initialPens();
    platform::RectF floatRect(const ViewRect& r) const;
    void note(ARSDrawCall::Kind kind, const ViewRect& r, std::uint32_t argb, float start = 0, float sweep = 0,
              const char* text = nullptr, std::int32_t align = 0);

    std::unique_ptr<platform::AntiAliasedGraphics> graphics;
    std::uint32_t frameARGB;
    std::uint32_t fillARGB;
    std::uint32_t fontARGB;
    float penWidthValue = 1.0f;
    ViewPoint penPosition;
    std::int32_t styleBits = 0;
    bool fontMade = false;
};
