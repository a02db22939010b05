#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace vistado {

// The clock the window's commands wait by: the steady clock and a plain sleep in the
// program; tests give their own, to count the pauses or let time pass at once.
struct RunClock {
    using TimePoint = std::chrono::steady_clock::time_point;

    std::function<TimePoint()> now = [] { return std::chrono::steady_clock::now(); };
    std::function<void(std::chrono::milliseconds)> pause = [](std::chrono::milliseconds span) {
        std::this_thread::sleep_for(span);
    };
};

}  // namespace vistado
