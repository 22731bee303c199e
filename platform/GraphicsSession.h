// Keeps the anti-aliased graphics library running for as long as it lives (GDI+ wants a start-up and a
// shut-down per user; Cairo needs neither). Every editor holds one.
#pragma once

#include <cstdint>

namespace platform {

class GraphicsSession {
public:
    GraphicsSession();
    ~GraphicsSession();
    GraphicsSession(const GraphicsSession&) = delete;
    GraphicsSession& operator=(const GraphicsSession&) = delete;

    bool running() const { return ok; }

private:
    std::uintptr_t token = 0;
    bool ok = false;
};

}  // namespace platform
