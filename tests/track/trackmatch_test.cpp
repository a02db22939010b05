#include "track/trackmatch.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vistado::test {
namespace {

// Segment 0: three points 600 s apart, the middle one without a height. Segment 1 begins
// 900 s after it ends and holds a jump of 3,700 s. Segment 2 crosses the 180th meridian;
// segment 3 repeats a time.
const Track& testTrack()
{
    static const Track track({
        {0, 10, 20, 100, 0},
        {600, 11, 21, {}, 0},
        {1200, 12, 22, 300, 0},
        {2100, 30, 40, 10, 1},
        {5800, 31, 41, 20, 1},
        {10000, 0, 179.5, {}, 2},
        {10100, 1, -179.5, {}, 2},
        {20000, 5, 5, 5, 3},
        {20000, 6, 6, 6, 3},
        {20600, 7, 7, 7, 3},
    });
    return track;
}

struct MatchCase {
    const char* name;
    double time;
    std::optional<TrackPosition> position;
    std::optional<double> nearest;
};

const MatchCase kMatchCases[] = {
    {"OnAPoint", 600, TrackPosition{11, 21, {}}, 0},
    {"Interpolated", 150, TrackPosition{10.25, 20.25, {}}, 150},
    {"HeightOnlyWhereBothPointsHaveOne", 300, TrackPosition{10.5, 20.5, {}}, 300},
    {"BeforeTheTrackWithinReach", -1800, TrackPosition{10, 20, 100}, 1800},
    {"BeforeTheTrackOutOfReach", -1801, std::nullopt, 1801},
    {"BetweenSegmentsTheNearerPoint", 1500, TrackPosition{12, 22, 300}, 300},
    {"BetweenSegmentsHalfwayTheLater", 1650, TrackPosition{30, 40, 10}, 450},
    {"InAJumpNearItsStart", 2200, TrackPosition{30, 40, 10}, 100},
    {"InAJumpOutOfReach", 3950, std::nullopt, 1850},
    {"OverTheMeridian", 10025, TrackPosition{0.25, 179.75, {}}, 25},
    {"OverTheMeridianBeyondIt", 10075, TrackPosition{0.75, -179.75, {}}, 25},
    {"DuplicateTimeTheFirstRead", 20000, TrackPosition{5, 5, 5}, 0},
    {"AfterDuplicatesFromTheLast", 20300, TrackPosition{6.5, 6.5, 6.5}, 300},
    {"AfterTheTrackOutOfReach", 22401, std::nullopt, 1801},
};

class TrackMatchTest : public testing::TestWithParam<MatchCase> {};

TEST_P(TrackMatchTest, PositionAndNearestPoint)
{
    const TrackMatch match = matchTrack(testTrack(), GetParam().time);
    EXPECT_EQ(match.nearestSeconds, GetParam().nearest);
    ASSERT_EQ(match.position.has_value(), GetParam().position.has_value());
    if (!match.position)
        return;
    EXPECT_NEAR(match.position->latitude, GetParam().position->latitude, 1e-9);
    EXPECT_NEAR(match.position->longitude, GetParam().position->longitude, 1e-9);
    ASSERT_EQ(match.position->height.has_value(), GetParam().position->height.has_value());
    if (match.position->height) {
        EXPECT_NEAR(*match.position->height, *GetParam().position->height, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TrackMatchTest, testing::ValuesIn(kMatchCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TrackMatch, EmptyTrackGivesNothing)
{
    const TrackMatch match = matchTrack(Track(), 0);
    EXPECT_FALSE(match.position);
    EXPECT_FALSE(match.nearestSeconds);
}

}  // namespace
}  // namespace vistado::test
