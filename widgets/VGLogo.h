// The title strip of every editor: a pill-shaped badge with the maker's word mark at the left and a
// bar carrying the product title (the widget's name) to its right. The badge's size follows the height.
#pragma once

#include "widgets/VGControl.h"

class VGLogo : public VGControl {
public:
    static constexpr const char* kWordMark = "tonewerks";

    VGLogo(const ViewRect& size, CControlListener* listener, std::int32_t tag, VGPalette* palette);

    void paint(CDrawContext* context) override;
    void onMouseDown(CDrawContext* context, ViewPoint& where, std::int32_t buttons) override;
};
