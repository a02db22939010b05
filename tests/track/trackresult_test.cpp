#include "track/trackresult.h"

#include <gtest/gtest.h>

#include <string>

namespace vistado::test {
namespace {

struct LineCase {
    const char* name;
    PhotoTrackResult result;
    const char* line;
};

const LineCase kLineCases[] = {
    {"Position", {1721037600, {TrackPosition{-33.8567844, 151.2152967, 12}, 12.4}}, "a.jpg;-33.856784,151.215297;12 s"},
    {"NoTrackPosition", {1721037600, {std::nullopt, 5400}}, "a.jpg;keine Trackposition;5400 s"},
    {"EmptyTrack", {1721037600, {}}, "a.jpg;keine Trackposition;"},
    {"NoPhotoTime", {std::nullopt, {}}, "a.jpg;keine Aufnahmezeit;"},
};

class TrackLogLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(TrackLogLineTest, PathOutcomeAndTimeToTheNearestPoint)
{
    EXPECT_EQ(trackLogLine("a.jpg", GetParam().result), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Cases, TrackLogLineTest, testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vistado::test
