// Paints one widget on its own into a white surface and keeps every shape and text it issued.
#pragma once

#include "platform/GraphicsSession.h"
#include "viewframework/COffscreenContext.h"
#include "viewframework/ViewConstants.h"
#include "widgets/ARSDrawContext.h"
#include "widgets/VGControl.h"

#include <gtest/gtest.h>

#include <vector>

class Recording : public ARSDrawRecorder {
public:
    Recording() { ARSDrawContext::setRecorder(this); }
    ~Recording() { ARSDrawContext::setRecorder(nullptr); }
    void record(const ARSDrawCall& call) override { calls.push_back(call); }

    std::vector<ARSDrawCall> of(ARSDrawCall::Kind kind) const
    {
        std::vector<ARSDrawCall> out;
        for (const ARSDrawCall& c : calls)
            if (c.kind == kind) out.push_back(c);
        return out;
    }
    std::vector<ViewRect> rects(ARSDrawCall::Kind kind) const
    {
        std::vector<ViewRect> out;
        for (const ARSDrawCall& c : of(kind)) out.push_back(c.rect);
        return out;
    }

    std::vector<ARSDrawCall> calls;
};

// A white target the size of the widget's placement plus its offset, painted once.
struct Painted {
    Painted(VGControl& widget, int targetWidth, int targetHeight)
        : target(new COffscreenContext(nullptr, targetWidth, targetHeight, kColourWhite))
    {
        widget.paint(target);
    }
    ~Painted() { target->release(); }
    std::uint32_t at(int x, int y) const
    {
        const ViewColour c = target->pixelAt(x, y);
        return std::uint32_t(c.red) << 16 | std::uint32_t(c.green) << 8 | c.blue;
    }
    COffscreenContext* target;
};

inline std::uint32_t wordOf(ViewColour c)
{
    return std::uint32_t(c.red) << 16 | std::uint32_t(c.green) << 8 | c.blue;
}

inline std::uint32_t argb(ViewColour c)
{
    return std::uint32_t(c.alpha) << 24 | wordOf(c);
}

// A palette whose entries are told apart easily.
inline VGPalette testPalette()
{
    return {{{200, 20, 20, 255}, {20, 160, 20, 255}, {20, 20, 220, 255}, {0, 0, 0, 255}}};
}
