// The draw context every view paints through: one native device context plus the framework's state
// (offsets, clip, pen, brush, font, raster mode). Set-operations compare with the current value and
// rebuild native objects only on a change, because widgets set everything before every shape.
#pragma once

#include "platform/DeviceContext.h"
#include "platform/PlatformTypes.h"
#include "viewframework/CDrawContextOwner.h"
#include "viewframework/CReferenceCounter.h"
#include "viewframework/ViewColour.h"
#include "viewframework/ViewConstants.h"
#include "viewframework/ViewPoint.h"
#include "viewframework/ViewRect.h"

#include <cstdint>
#include <memory>

class CDrawContext : public CReferenceCounter {
public:
    // A context for the frame (or none) on a native context (or none: then the window's, if a window
    // is given). The native context is not owned; one fetched from the window is.
    CDrawContext(CDrawContextOwner* frame, platform::DeviceContext* native, platform::NativeWindow window);
    ~CDrawContext() override;

    CDrawContextOwner* ownerFrame() const { return frame; }
    platform::DeviceContext* nativeContext() const { return native; }
    platform::NativeWindow window() const { return nativeWindow; }

    ViewPoint drawOffset() const { return offset; }
    void setDrawOffset(ViewPoint p) { offset = p; }
    ViewPoint windowOrigin() const { return origin; }
    void setWindowOrigin(ViewPoint p) { origin = p; }

    void setRasterMode(std::int32_t mode);
    std::int32_t rasterMode() const { return raster; }
    void setPenStyle(std::int32_t style);
    std::int32_t penStyle() const { return penStyleValue; }
    void setPenWidth(std::int32_t width);
    std::int32_t penWidth() const { return penWidthValue; }
    void setPenColour(ViewColour colour);
    ViewColour penColour() const { return penColourValue; }
    void setBrushColour(ViewColour colour);
    ViewColour brushColour() const { return brushColourValue; }
    void setTextColour(ViewColour colour);
    ViewColour textColour() const { return textColourValue; }

    void selectFont(std::int32_t id, std::int32_t size, std::int32_t style);
    std::int32_t fontId() const { return fontIdValue; }
    std::int32_t fontSize() const { return fontSizeValue; }
    std::int32_t fontStyle() const { return fontStyleValue; }

    std::int32_t measureText(const char* text);
    void drawText(const char* text, const ViewRect& rect, bool opaque, std::int32_t align);

    void drawBox(const ViewRect& rect, std::int32_t style);
    void fillBox(const ViewRect& rect);
    void fillOval(const ViewRect& rect);

    void setClipBox(const ViewRect& rect);
    ViewRect clipBox() const;

    std::int32_t readButtons() const;
    void readPointer(ViewPoint& point) const;

    // The system's button swap as the frame read it when it registered its window class.
    static void setButtonsSwapped(bool swapped);

    // How often native objects were built: the skip rules are observable through these.
    struct Builds {
        int pen = 0;
        int brush = 0;
        int font = 0;
    };
    const Builds& builds() const { return buildCount; }

protected:
    // For contexts that make their native context after construction: it takes the current state.
    void adoptNative(std::unique_ptr<platform::DeviceContext> made);
    ViewRect& rawClip() { return clip; }
    // Back to the state the constructor gave: no offset, the clip given, the initial pen, brush, text
    // colour, font and raster mode, set again on the native context whatever it holds now.
    void restoreInitialState(const ViewRect& initialClip);

private:
    ViewRect shifted(const ViewRect& r) const;
    void buildPen();
    void buildFont();
    void applyRaster();
    void applyInitialState();

    ViewPoint origin;
    ViewPoint offset;
    platform::DeviceContext* native = nullptr;
    platform::NativeWindow nativeWindow = 0;
    CDrawContextOwner* frame = nullptr;
    std::int32_t fontSizeValue = -1;
    std::int32_t fontStyleValue = 0;
    std::int32_t fontIdValue = kFaceCount;
    ViewColour textColourValue{};
    ViewPoint penPosition;
    std::int32_t penWidthValue = 0;
    ViewColour penColourValue{};
    ViewColour brushColourValue{};
    std::int32_t penStyleValue = kPenDotted;
    std::int32_t raster = kRasterDefault;
    ViewRect clip;
    std::unique_ptr<platform::DeviceContext> obtained;  // fetched from the window, or made by a subclass
    Builds buildCount;
};
