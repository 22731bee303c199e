#include "protools/CVectorgramView.h"

#include "protools/CVectorgramCustomUI.h"

#include <new>

CCustomView* CVectorgramView::create()
{
    return new (std::nothrow) CVectorgramView;
}

void CVectorgramView::draw(const PI_ViewRect& area)
{
    if (customUI) customUI->draw(area.left, area.top, area.right, area.bottom);
}
