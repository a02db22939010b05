#pragma once

#include <functional>

namespace vistado::net {

// How a download worker reaches the user-interface thread. The owner of a
// download component supplies it (the window with its event loop, tests with
// a queue of their own), so the component needs no user-interface library.
struct UiThread {
    // Called on a worker thread: hands the call over to the user-interface
    // thread, which runs it later; returns at once. Must be safe to call from
    // any thread.
    std::function<void(std::function<void()>)> post;

    // Called on the user-interface thread: runs the calls handed over so far.
    // It may block until at least one call has arrived; every download ends
    // with one, so a pump that waits is always woken.
    std::function<void()> pump;
};

}  // namespace vistado::net
