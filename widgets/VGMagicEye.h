// A tuning-eye indicator: two levels in dB open or close two wedges from 12 o'clock (A anticlockwise,
// B clockwise), and the centre shows the larger of them in dB. Style 0 darkens from the top as the
// level falls; style 1 lights only the wedges, which grow with the distance below 0 dB.
#pragma once

#include "widgets/VGControl.h"

#include <memory>

class VGMagicEye : public VGControl {
public:
    static constexpr std::int32_t kTableSize = 32768;

    VGMagicEye(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette);

    void paint(CDrawContext* context) override;
    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override;

    // Linear amplitudes, 1.0 for 0 dBFS.
    void setLevelA(float level) { levelA = level; }
    void setLevelB(float level) { levelB = level; }
    float getLevelA() const { return levelA; }
    float getLevelB() const { return levelB; }
    void setStyle(bool lit) { style = lit ? 1 : 0; }
    std::int32_t getStyle() const { return style; }
    std::int16_t getChannels() const { return channels; }

    // The dB a level is shown at: one table entry per 1/32768, 0 dB from full scale up and
    // about -90.3 dB at silence. Levels from the audio may be anything: NaN and negatives count as
    // silence, infinities as full scale.
    float dbOf(float level) const;
    float degreesPerDb() const { return degPerDb; }
    const ViewRect& getPlotRect() const { return plotRect; }
    const ViewRect& getReadoutRect() const { return readoutRect; }

private:
    ViewRect plotRect;
    ViewRect readoutRect;
    std::int16_t channels = 2;
    std::int32_t style = 0;
    float levelA = 0.0f;
    float levelB = 0.0f;
    std::unique_ptr<float[]> dbTable;
    float degPerDb;
};
