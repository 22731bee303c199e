#include "protools/library/CNoResourceView.h"

#include <algorithm>

CNoResourceView::CNoResourceView(std::int32_t width, std::int32_t height)
    : CPlugInView(PI_ViewRect{0, 0, std::max(height, 0), std::max(width, 0)})
{
}

CNoResourceView::~CNoResourceView() = default;
