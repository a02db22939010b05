#include "app/progress.h"

#include <gtest/gtest.h>

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

}  // namespace

}  // namespace vistado::test
