#include "app/progress.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace vistado::test {

namespace {

std::vector<int> positions(int count)
{
    std::vector<int> shown;
    for (int done = 1; done <= count; ++done)
        shown.push_back(progressPosition(done, count));
    return shown;
}

TEST(Progress, RoundsHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(positions(8), (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
    EXPECT_EQ(positions(3), (std::vector<int>{33, 67, 100}));
    EXPECT_EQ(positions(1), std::vector<int>{100});
    EXPECT_EQ(progressPosition(1, 200), 0);
    EXPECT_EQ(progressPosition(3, 200), 2);
    EXPECT_EQ(progressPosition(5, 200), 2);
    EXPECT_EQ(progressPosition(2'000'000'000, 2'000'000'000), 100);
}

TEST(Progress, CountsThePhotosAndAfterAFewSecondsTellsTheTimeLeft)
{
    using namespace std::chrono_literals;
    const struct {
        int done;
        int count;
        std::chrono::milliseconds elapsed;
        const char* text;
    } cases[] = {
        {0, 50, 0ms, "0 von 50"},
        {0, 50, 10s, "0 von 50"},
        {20, 50, 2999ms, "20 von 50"},
        {1, 50, 3s, "1 von 50, noch etwa 2 min"},         // 147 s
        {30, 50, 3s, "30 von 50, noch etwa 5 s"},          // 2 s
        {10, 50, 5s, "10 von 50, noch etwa 20 s"},
        {10, 50, 14s, "10 von 50, noch etwa 55 s"},        // 56 s
        {10, 50, 15s, "10 von 50, noch etwa 1 min"},       // 60 s
        {1, 10000, 5s, "1 von 10000, noch etwa 13 Std. 53 min"},
        {1000, 10000, 800s, "1000 von 10000, noch etwa 2 Std."},
        {50, 50, 20s, "50 von 50"},
        {0, 0, 5s, "0 von 0"},
    };
    const RunClock::TimePoint start{};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RunProgress(c.count, start).text(c.done, start + c.elapsed), c.text);
    }
    EXPECT_EQ(RunProgress(0, start).position(0), 100);
    EXPECT_EQ(RunProgress(8, start).position(3), 38);
}

}  // namespace

}  // namespace vistado::test
