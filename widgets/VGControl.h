// The base of every vector-drawn widget: a control that paints itself from its size, value, palette
// and strings into a private anti-aliased off-screen picture, then copies that to where it was placed.
#pragma once

#include "viewframework/CControl.h"
#include "viewframework/ViewConstants.h"
#include "widgets/VGPalette.h"

#include <cstdint>
#include <vector>

class ARSDrawContext;
class COffscreenContext;

class VGControl : public CControl {
public:
    static constexpr std::size_t kTextCapacity = 256;  // 255 characters and the terminating zero
    // Modifiers that offer a click to the listener first: shift, control, alt and bit 64.
    static constexpr std::int32_t kModifierMask = 0x78;

    VGControl(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette);
    ~VGControl() override;

    // The white card every widget starts from.
    void paint(CDrawContext* context) override;
    // Toggles on a left click and reports it between beginEdit and endEdit.
    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override;

    // Both cut at 255 characters; null is taken as empty.
    void setName(const char* text);
    void setUnit(const char* text);
    const char* getName() const { return name; }
    const char* getUnit() const { return unit; }
    void setDisplayMax(float v) { displayMax = v; }
    void setDisplayMin(float v) { displayMin = v; }
    float getDisplayMax() const { return displayMax; }
    float getDisplayMin() const { return displayMin; }
    // The number a read-out shows for the current value.
    float displayValue() const { return displayMin + value() * (displayMax - displayMin); }

    // Sizes fontSize so that `sample` fits availWidth x availHeight, measured with the aliased font of
    // fontId at 128 pixels (once per sample, font and style); leaves that font selected at the fitted
    // size. Never below 1 pixel.
    void fitFont(CDrawContext* context, const char* sample, std::int32_t availWidth, std::int32_t availHeight);

    // Lets go of the kept picture: the next paint makes a new one and draws everything.
    void forgetPicture();

    std::int32_t getFontSize() const { return fontSize; }
    const ViewRect& getTextRect() const { return textRect; }
    const ViewRect& getPlacement() const { return placement; }
    VGPalette* getPalette() const { return palette; }

protected:
    // Steps shared by the paints: the widget's off-screen picture, started afresh (null when it cannot
    // be made: the paint is skipped and the widget stays dirty), optionally already a white card. The
    // bitmap is kept from paint to paint while the widget's size stays, and so are the pixels of card
    // and backdrop (for widgets that have one) while the palette stays too.
    ARSDrawContext* beginPicture(CDrawContext* target, bool whiteCard);
    // Copies the picture to placement in the target and marks the widget drawn.
    void endPicture(ARSDrawContext* picture, CDrawContext* target);

    // A widget whose picture starts with a part that depends on nothing but its size and palette (the
    // backdrop) draws that part here, after the card; beginPicture then keeps it and starts later
    // pictures from a copy of it. The backdrop must leave no drawing state that the rest relies on.
    virtual bool hasBackdrop() const { return false; }
    virtual void drawBackdrop(ARSDrawContext*) {}

    // For widgets whose picture follows from a few values (and the palette): true when they are those
    // of the last paint, whose picture then went to the target again and the widget counts as drawn.
    bool showKept(CDrawContext* target, const void* state, std::size_t size);
    // After a paint: the values it drew from.
    void keepState(const void* state, std::size_t size);

    // The click rules before anything changes: mouse accepted, buttons read if unread, only the left
    // button, and a modifier click offered to the listener first. False when the click stops there.
    bool clickProceeds(CDrawContext* context, std::int32_t& buttons);
    // Tells the listener of the change between beginEdit and endEdit, then keeps the idle cycle going.
    void reportClick(CDrawContext* context);

    static void copyText(char* field, const char* text);

    std::int32_t width;
    std::int32_t height;
    ViewRect textRect;
    VGPalette* palette;
    char unit[kTextCapacity] = {};
    char name[kTextCapacity] = {};
    ViewRect placement;
    float displayMax = 1.0f;
    float displayMin = 0.0f;
    std::int32_t fontId = kFaceNormal;
    std::int32_t fontStyle = 0;
    std::int32_t fontSize = 12;

private:
    ARSDrawContext* picture = nullptr;
    COffscreenContext* backdrop = nullptr;
    VGPalette backdropPalette{};
    std::vector<unsigned char> keptState;
    VGPalette keptPalette{};
    bool stateKept = false;
    // The last text fitFont measured, and its width at 128 pixels.
    char fitSample[kTextCapacity] = {};
    std::int32_t fitFontId = -1;
    std::int32_t fitFontStyle = 0;
    std::int32_t fitWidth128 = 0;
};
