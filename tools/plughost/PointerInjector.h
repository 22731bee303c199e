// Presses and drags with the server's test extension, from a thread of its own on a display
// connection of its own. A plug-in's drag loop runs inside the host's idle call and polls the live
// pointer until the button goes up, so the host's thread must stay free to keep idling meanwhile.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

struct _XDisplay;

// What the host's thread tells the injector: how many idle calls it has begun and ended, and how
// often the effect has called the host's idle (which only a widget's press handling does, from inside
// the idle call that delivered the press; a drag loop does so about every 100 ms while it polls).
struct IdleGauge {
    std::atomic<int> started{0};
    std::atomic<int> ended{0};
    std::atomic<int> hostIdles{0};

    void enter() { started.fetch_add(1, std::memory_order_acq_rel); }
    void leave() { ended.fetch_add(1, std::memory_order_acq_rel); }
    void hostIdle() { hostIdles.fetch_add(1, std::memory_order_acq_rel); }
};

class PointerInjector {
public:
    // A press at (x1, y1) and, for a drag, a move to (x2, y2) before the release. Screen pixels.
    struct Gesture {
        bool drag = false;
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    };

    PointerInjector() = default;
    ~PointerInjector();
    PointerInjector(const PointerInjector&) = delete;
    PointerInjector& operator=(const PointerInjector&) = delete;

    // Opens the display named by DISPLAY on the calling thread and checks for the test extension.
    bool open(std::string& error);

    // Starts playing one gesture; the caller idles the editor until finished() holds, then calls wait().
    void start(const Gesture& gesture, const IdleGauge& gauge);
    bool finished() const { return finished_.load(std::memory_order_acquire); }
    void wait();

private:
    void play(Gesture gesture, const IdleGauge& gauge);

    _XDisplay* display_ = nullptr;
    std::thread thread_;
    std::atomic<bool> finished_{true};
};
