// What a window's drop target asks the object behind it. Points are on the screen.
#pragma once

#include "platform/PlatformTypes.h"

namespace platform {

enum class DropEffect { None, Move };

class DropClient {
public:
    virtual DropEffect dragEntered(Point where) = 0;
    virtual DropEffect dragMoved(Point where) = 0;
    virtual void dragLeft() = 0;
    virtual DropEffect dropped(Point where) = 0;

protected:
    ~DropClient() = default;
};

}  // namespace platform
