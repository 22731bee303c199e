#include "widgets/VGVectorgram.h"

#include "viewframework/ViewConstants.h"
#include "widgets/ARSDrawContext.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kHalfRoot2 = 0.7071067812;
}  // namespace

VGVectorgram::VGVectorgram(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette,
                           const std::atomic<float>* windowA, const std::atomic<float>* windowB,
                           std::int32_t windowLength)
    : VGControl(size, listener, tag, palette), windowA(windowA), windowB(windowB),
      windowLength(windowA && windowB ? std::max(0, windowLength) : 0)
{
    drawn.reserve(2 * std::size_t(this->windowLength) + 2);
}

void VGVectorgram::setSampleCount(float n)
{
    if (std::isnan(n)) return;
    const float top = float(windowLength);
    sampleCount = n <= 0.0f ? 0 : n >= top ? windowLength : std::int32_t(n);
}

void VGVectorgram::paint(CDrawContext* context)
{
    if (!context || width <= 0 || height <= 0) return;
    const std::int32_t W = width, H = height;
    plotRect = ViewRect(3, 3, W - 3, H - 3);
    const double pw = plotRect.width(), ph = plotRect.height();
    guideRect = ViewRect(std::int32_t(plotRect.left + 0.3 * pw), std::int32_t(plotRect.top + 0.3 * ph),
                         std::int32_t(plotRect.right - 0.3 * pw), std::int32_t(plotRect.bottom - 0.3 * ph));

    // First where everything goes: the dot's position and the trace's pixels are all the picture
    // depends on besides size and palette, so equal ones show the kept picture again.
    const auto toPixel = [&](double v, double span, std::int32_t origin) {
        return std::int32_t((v + 1.0) * 0.5 * span) + origin;
    };
    drawn.clear();
    drawn.push_back(0);  // the dot, filled in below
    drawn.push_back(0);
    double sx = 0.0, sy = 0.0;
    const std::int32_t n = std::min(sampleCount, windowLength);
    for (std::int32_t i = 0; i < n; ++i) {
        const double a = windowA[i].load(std::memory_order_relaxed);
        const double b = windowB[i].load(std::memory_order_relaxed);
        double x = (a - b) * kHalfRoot2, y = (a + b) * kHalfRoot2;
        // A frame of NaN has no position and is left out: the trace joins its neighbours instead. An
        // infinite frame goes out along its direction (a difference of infinities counts as none), and
        // far-out frames are pulled in towards the centre, so the visible part of the line still points
        // where the audio went.
        if (!std::isfinite(x) || !std::isfinite(y)) {
            if (std::isnan(x) && std::isnan(y)) continue;
            x = std::isinf(x) ? std::copysign(kReach, x) : 0.0;
            y = std::isinf(y) ? std::copysign(kReach, y) : 0.0;
        }
        const double far = std::max(std::fabs(x), std::fabs(y));
        if (far > kReach) x *= kReach / far, y *= kReach / far;
        drawn.push_back(toPixel(x, pw, plotRect.left - 1));
        drawn.push_back(toPixel(y, ph, plotRect.top));
        sx += x;
        sy += y;
    }

    // Folded into the upper half. A side-only signal sums to exactly +0: it folds too, or atan2 of +0
    // and a negative x would be +pi and the dot would glide through the lower half to get there.
    if (sy >= 0) sx = -sx, sy = -sy;
    if (sy > -0.00001 && sx > -0.00001) sy = -1.0, sx = 0.0;  // no clear direction: straight up
    const float previousAngle = markerAngle;
    markerAngle = float(double(markerAngle) * 0.8 + std::atan2(sy, sx) * 0.2);
    const double c = std::cos(markerAngle), s = std::sin(markerAngle);
    const std::int32_t mx = toPixel(c, pw, plotRect.left - 1), my = toPixel(s, ph, plotRect.top);
    drawn[0] = mx;
    drawn[1] = my;
    if (showKept(context, drawn.data(), drawn.size() * sizeof drawn[0])) return;

    ARSDrawContext* pic = beginPicture(context, true);
    if (!pic) {
        markerAngle = previousAngle;  // nothing was drawn, so the dot did not move
        return;
    }
    const VGPalette& p = *palette;
    ViewColour trace = p[VGPalette::kFace];
    trace.alpha = 128;

    pic->setPenColour(trace);
    pic->setBrushColour(trace);
    pic->setPenWidth(1);
    for (std::size_t k = 2; k + 1 < drawn.size(); k += 2) {
        const ViewPoint at(drawn[k], drawn[k + 1]);
        if (k == 2)
            pic->penMoveTo(at);
        else
            pic->penLineTo(at);
    }

    pic->setBrushColour(p[VGPalette::kBody]);
    pic->fillOval(ViewRect(mx - 3, my + 4, mx + 3, my + 10));

    endPicture(pic, context);
    keepState(drawn.data(), drawn.size() * sizeof drawn[0]);
}

void VGVectorgram::drawBackdrop(ARSDrawContext* pic)
{
    const VGPalette& p = *palette;
    pic->setPenColour(kColourBlack);
    pic->strokeOval(ViewRect(1, 1, width - 1, height - 1));
    pic->setBrushColour(halfIntensity(p[VGPalette::kAccent]));
    pic->fillOval(plotRect);

    pic->setPenColour(p[VGPalette::kBody]);
    pic->setPenWidth(2);
    const std::int32_t cx = (plotRect.left + plotRect.right) / 2;
    pic->penMoveTo(ViewPoint(cx - 1, guideRect.top));
    pic->penLineTo(ViewPoint(cx - 1, guideRect.bottom));
    pic->penMoveTo(ViewPoint(guideRect.left, guideRect.top));
    pic->penLineTo(ViewPoint(guideRect.right, guideRect.bottom));
    pic->penMoveTo(ViewPoint(guideRect.right, guideRect.top));
    pic->penLineTo(ViewPoint(guideRect.left, guideRect.bottom));
}

void VGVectorgram::onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons)
{
    VGControl::onMouseDown(context, where, buttons);
}
