// The horizontal fader: a thin track along the bottom edge broken around a round thumb, the caption at
// the left and the read-out with its unit at the right. The pointer maps absolutely to the value;
// shift makes it ten times finer.
#pragma once

#include "widgets/VGControl.h"

class VGSlider : public VGControl {
public:
    static constexpr float kFineDivisor = 10.0f;

    VGSlider(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette);

    void paint(CDrawContext* context) override;
    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override;

    std::int32_t getTrackStart() const { return trackStart; }
    std::int32_t getTrackEnd() const { return trackEnd; }
    // Thumb centre in local pixels for the current value.
    std::int32_t thumbCentre() const;

private:
    std::int32_t trackStart;
    std::int32_t trackEnd;
};
