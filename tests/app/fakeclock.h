#pragma once

#include "app/runclock.h"

#include <atomic>
#include <chrono>
#include <vector>

namespace vistado::test {

// A clock for the window's waits whose time passes only by its pauses and by advance(), from
// any thread; it keeps the pauses asked of it.
class FakeClock {
public:
    RunClock clock()
    {
        return {[this] { return RunClock::TimePoint(std::chrono::milliseconds(milliseconds.load())); },
                [this](std::chrono::milliseconds span) {
                    pauses.push_back(span);
                    advance(span);
                }};
    }

    void advance(std::chrono::milliseconds span) { milliseconds += span.count(); }

    std::vector<std::chrono::milliseconds> pauses;

private:
    std::atomic<long long> milliseconds{0};
};

}  // namespace vistado::test
