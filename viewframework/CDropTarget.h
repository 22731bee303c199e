// The frame window's drop target. Drags are followed (the views hear of them and the cursor says
// "move"), but nothing accepts a drop: a drop always answers "none", so that no drag source deletes
// data it believes we took. The dragged data is never read.
#pragma once

#include "platform/DropClient.h"

class CDragContainer;
class CFrame;

class CDropTarget final : public platform::DropClient {
public:
    explicit CDropTarget(CFrame* frame) : frame(frame) {}
    ~CDropTarget();

    platform::DropEffect dragEntered(platform::Point where) override;
    platform::DropEffect dragMoved(platform::Point where) override;
    void dragLeft() override;
    platform::DropEffect dropped(platform::Point where) override;

private:
    enum class Step { Entered, Moved, Left, Dropped };
    void tell(Step step);

    CFrame* frame;
    CDragContainer* drag = nullptr;
};
