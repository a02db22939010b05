#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "net/uithread.h"

namespace vistado::net::test {

// The test thread plays the user-interface thread: calls that workers hand
// over queue up here and run when the test pumps.
class UiQueue {
public:
    UiThread thread();

    // Runs the queued calls; waits a little for one when none is queued.
    void pump();

    // Pumps until done() holds or the time is up; gives done().
    bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));

    std::size_t pending();

private:
    void post(std::function<void()> call);

    std::mutex lock;
    std::condition_variable arrived;
    std::deque<std::function<void()>> calls;
};

}  // namespace vistado::net::test
