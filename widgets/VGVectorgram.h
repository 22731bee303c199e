// The round vector scope of +vectorgram: the oldest frames of the capture window, as many as the sample
// count says, joined as one trace, turned by 45 degrees so that mono runs up and down and one channel
// alone runs along a diagonal, with guide lines for the three axes and a dot on the rim pointing where
// the trace leans on average.
#pragma once

#include "widgets/VGControl.h"

#include <atomic>
#include <cstdint>
#include <vector>

class VGVectorgram : public VGControl {
public:
    // The trace never goes further out than this many times full scale. Nothing beyond about 1.02 is
    // inside the picture anyway; the bound keeps every pixel position a small, defined integer.
    static constexpr double kReach = 64.0;

    // The windows are the effect's, read in place at every paint (relaxed loads: the audio thread
    // rewrites them meanwhile); `windowLength` is what the caller guarantees can be read.
    VGVectorgram(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette,
                 const std::atomic<float>* windowA, const std::atomic<float>* windowB, std::int32_t windowLength);

    void paint(CDrawContext* context) override;
    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override;

    // Truncated, and kept within 0..windowLength; NaN leaves the count as it was.
    void setSampleCount(float n);
    std::int32_t getSampleCount() const { return sampleCount; }
    float getMarkerAngle() const { return markerAngle; }
    const ViewRect& getPlotRect() const { return plotRect; }
    const ViewRect& getGuideRect() const { return guideRect; }

protected:
    // Rim, screen and guides.
    bool hasBackdrop() const override { return true; }
    void drawBackdrop(ARSDrawContext* pic) override;

private:
    ViewRect plotRect;
    ViewRect guideRect;
    std::int32_t sampleCount = 0;
    const std::atomic<float>* windowA;
    const std::atomic<float>* windowB;
    std::int32_t windowLength;
    float markerAngle = 0.0f;
    // The dot's position, then the trace's points, as x and y pairs.
    std::vector<std::int32_t> drawn;
};
