#pragma once

#include "app/runclock.h"

#include <chrono>
#include <string>

namespace vistado {

// The progress bar's position after `done` of `count` images: done x 100 / count, rounded to
// the nearest whole number, halves to the even one (for 8 images: 12, 25, 38, 50, 62, 75,
// 88, 100). `count` is at least `done` and above 0.
int progressPosition(int done, int count);

// How much longer a run will take, as its progress bar says it: "noch etwa 45 s" (to 5 s),
// "noch etwa 2 min" (to the minute), "noch etwa 1 Std. 20 min".
std::string timeLeftText(std::chrono::milliseconds left);

// A command's progress over its job list of `count` images, from the time it started.
class RunProgress {
public:
    // The estimate waits this long: the first photos' times say little about the rest.
    static constexpr std::chrono::seconds kEstimateAfter{3};

    RunProgress(int count, RunClock::TimePoint start) : count(count), start(start) {}

    // The bar's position and its text after `done` images: "12 von 50", and once the run is
    // past its first seconds and not at its end, the time left from the pace so far:
    // "12 von 50, noch etwa 2 min".
    int position(int done) const;
    std::string text(int done, RunClock::TimePoint now) const;

private:
    int count;
    RunClock::TimePoint start;
};

}  // namespace vistado
