// A column of 24 round lamps. Level mode: a peak meter from +1 dB down to -144 dB, lamps between two
// thresholds partly lit, lit lamps in a warning colour above 0 dBFS. Bits mode: each lamp shows how
// active one bit of a 24-bit sample word is. A click shows or hides the scale inside the lamps.
#pragma once

#include "widgets/VGControl.h"

class VGVUBitMeter : public VGControl {
public:
    static constexpr int kLamps = 24;

    VGVUBitMeter(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette);

    void paint(CDrawContext* context) override;
    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override;

    // Copies 24 activities, the lowest bit first; null leaves them as they are.
    void setBitActivity(const float* activity);
    void setLevelMode(bool on) { levelMode = on; }
    bool getLevelMode() const { return levelMode; }
    bool getShowScale() const { return showScale; }
    float threshold(int i) const { return thresholds[i]; }

    // The colour of lamp t (0 at the top) for the current value, mode and palette.
    ViewColour lampColour(int t) const;
    // Lamp t's outer square in local coordinates, for the lamp area of the last paint.
    ViewRect lampSquare(int t) const;

    const ViewRect& getLampArea() const { return lampArea; }
    float getPitch() const { return pitch; }

private:
    ViewRect lampArea;
    float thresholds[kLamps + 1];
    float dbMarks[kLamps + 1];
    float bitActivity[kLamps] = {};
    float pitch = 0.0f;
    bool showScale = false;
    bool levelMode = true;
};
