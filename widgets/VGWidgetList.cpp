#include "widgets/VGWidgetList.h"

#include "viewframework/CFrame.h"

VGWidgetList::Entry::Entry(VGWidgetList& list) : next(list.entries)
{
    list.entries = this;
}

void VGWidgetList::addView(CView* view)
{
    if (frame) frame->addView(view);
}

void VGWidgetList::forget()
{
    open.store(false, std::memory_order_relaxed);
    frame = nullptr;
    for (Entry* e = entries; e; e = e->next) e->widget = nullptr;
}
