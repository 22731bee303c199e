#include "protools/library/CPlugInView.h"

#include "protools/library/CDAEError.h"

CPlugInView::CPlugInView(const PI_ViewRect& bounds) : rect(bounds) {}

CPlugInView::~CPlugInView() = default;

void CPlugInView::addSubview(std::unique_ptr<CPlugInView> view)
{
    if (!view) throw CDAEError(PI_ErrNullPointer);
    subviews.push_back(std::move(view));
}

CPlugInView* CPlugInView::subview(std::int32_t number) const
{
    if (number < 0 || number >= subviewCount()) return nullptr;
    return subviews[std::size_t(number)].get();
}

void CPlugInView::draw(const PI_ViewRect& area)
{
    for (const auto& view : subviews) {
        const PI_ViewRect& r = view->bounds();
        if (r.left < area.right && area.left < r.right && r.top < area.bottom && area.top < r.bottom) view->draw(area);
    }
}
