#include "protools/library/CCustomView.h"

CCustomView::CCustomView() : CPlugInView(PI_ViewRect{0, 0, 0, 0}) {}

CCustomView::~CCustomView() = default;

void CCustomView::place(const PI_ViewRect& bounds, std::uint32_t id)
{
    setBounds(bounds);
    idOfView = id;
}
