#pragma once

#include "app/runclock.h"

#include <chrono>
#include <optional>

namespace vistado {

// Keeps the requests to a web service at least `interval` apart, from one request's start
// to the next one's, whatever the time between them was spent on.
class RequestPace {
public:
    RequestPace(std::chrono::milliseconds interval, const RunClock& clock) : interval(interval), clock(clock) {}

    // Pauses until the interval since the last request's start has passed, and takes now as
    // this request's start. The first request goes at once.
    void awaitTurn();

private:
    const std::chrono::milliseconds interval;
    const RunClock& clock;
    std::optional<RunClock::TimePoint> lastStart;
};

}  // namespace vistado
