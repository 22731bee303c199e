#include "viewframework/CDropTarget.h"

#include "viewframework/CDragContainer.h"
#include "viewframework/CDrawContext.h"
#include "viewframework/CFrame.h"

CDropTarget::~CDropTarget()
{
    if (drag) drag->release();
}

void CDropTarget::tell(Step step)
{
    CDrawContext* context = frame->makeContext();
    ViewPoint where;
    frame->pointerInView(context, where);
    switch (step) {
    case Step::Entered: frame->onDragEntered(context, drag, where); break;
    case Step::Moved: frame->onDragMoved(context, drag, where); break;
    case Step::Left: frame->onDragLeft(context, drag, where); break;
    case Step::Dropped: frame->onDropped(context, drag, where); break;
    }
    context->release();
}

platform::DropEffect CDropTarget::dragEntered(platform::Point)
{
    if (drag) drag->release();
    drag = new CDragContainer;
    tell(Step::Entered);
    return platform::DropEffect::Move;
}

platform::DropEffect CDropTarget::dragMoved(platform::Point)
{
    tell(Step::Moved);
    return platform::DropEffect::Move;
}

void CDropTarget::dragLeft()
{
    tell(Step::Left);
    if (drag) drag->release();
    drag = nullptr;
}

platform::DropEffect CDropTarget::dropped(platform::Point)
{
    tell(Step::Dropped);
    if (drag) drag->release();
    drag = nullptr;
    return platform::DropEffect::None;
}
