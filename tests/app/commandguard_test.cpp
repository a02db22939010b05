#include "app/commandguard.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vistado::test {

namespace {

TEST(CommandGuard, OneCommandAtATime)
{
    CommandGuard guard;
    EXPECT_FALSE(guard.running());
    {
        auto hold = guard.tryEnter();
        ASSERT_TRUE(hold);
        EXPECT_TRUE(guard.running());
        // A second click, on the same or another command button, finds it taken.
        EXPECT_FALSE(guard.tryEnter());
        EXPECT_FALSE(guard.tryEnter());
        EXPECT_TRUE(guard.running());
    }
    EXPECT_FALSE(guard.running());
    EXPECT_TRUE(guard.tryEnter());
}

TEST(CommandGuard, CommandEndedByAnErrorFreesTheGuard)
{
    CommandGuard guard;
    try {
        auto hold = guard.tryEnter();
        throw std::runtime_error("Datei kann nicht geschrieben werden");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(guard.running());
}

TEST(CommandGuard, ReleaseIsAnnouncedOncePerCommandWithTheGuardFree)
{
    CommandGuard guard;
    int releases = 0;
    guard.setOnRelease([&] {
        EXPECT_FALSE(guard.running());
        ++releases;
    });
    {
        auto hold = guard.tryEnter();
        EXPECT_FALSE(guard.tryEnter());
        auto moved = std::move(hold);
        hold.reset();
        EXPECT_EQ(releases, 0);
        EXPECT_TRUE(guard.running());
    }
    EXPECT_EQ(releases, 1);
}

}  // namespace

}  // namespace vistado::test
