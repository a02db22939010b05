#include "app/exiftool/exiftool.h"
#include "pathchange.h"
#include "testfiles.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace vistado::test {

namespace {

// No child of this process is left, running or ended and uncollected.
bool noChildLeft()
{
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

class ExifToolProcesses : public ::testing::Test {
protected:
    // A program named exiftool in a folder of its own.
    std::string addProgram(const std::string& content, mode_t mode = 0755)
    {
        makeFolder(tmp.file("bin"));
        const std::string program = tmp.path() + "/bin/exiftool";
        writeFile(tmp.file("bin/exiftool"), content);
        chmod(program.c_str(), mode);
        return tmp.path() + "/bin";
    }

    TempDir tmp;
};

TEST_F(ExifToolProcesses, ArgumentsArriveWholeAndNothingIsRunByAShell)
{
    const std::string bin = addProgram("#!/bin/sh\n"
                                       "for a in \"$@\"; do printf '%s|' \"$a\"; done > \"$(dirname \"$0\")/args\"\n"
                                       "echo noise; echo more noise >&2\n");
    const PathChange path(bin + ":/usr/bin:/bin");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    {
        ExifTool exifTool;
        const std::vector<std::string> arguments{"-w", "%dgpstext/%f.txt", "--", "-x; \"y\" 'z' $(touch pwned).jpg",
                                                 "a;touch pwned2"};
        EXPECT_TRUE(exifTool.start(arguments));
        exifTool.awaitAllEnded();
        EXPECT_EQ(exifTool.running(), 0);
    }
    // What the program prints is not mixed into ours.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(readFile(tmp.file("bin/args")), "-w|%dgpstext/%f.txt|--|-x; \"y\" 'z' $(touch pwned).jpg|a;touch pwned2|");
    EXPECT_FALSE(std::filesystem::exists("pwned"));
    EXPECT_FALSE(std::filesystem::exists(tmp.path() + "/bin/pwned"));
    EXPECT_TRUE(noChildLeft());
}

TEST_F(ExifToolProcesses, AProgramThatCannotBeStartedIsReported)
{
    const struct {
        const char* name;
        std::string content;
        mode_t mode;
    } cases[] = {
        {"not executable", "#!/bin/sh\n", 0644},
        {"exec fails: no interpreter line", "just text\n", 0755},
        {"exec fails: interpreter missing", "#!/nonexistent/perl\n", 0755},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir own;
        writeFile(own.file("exiftool"), c.content);
        chmod((own.path() + "/exiftool").c_str(), c.mode);
        const PathChange path(own.path());
        ExifTool exifTool;
        EXPECT_FALSE(exifTool.start({"x.jpg"}));
        EXPECT_EQ(exifTool.running(), 0);
        EXPECT_TRUE(noChildLeft());
    }
    const PathChange empty(tmp.path());
    ExifTool missing;
    EXPECT_FALSE(missing.start({"x.jpg"}));
}

TEST_F(ExifToolProcesses, AtMostTheSlotsRunAndAllAreReaped)
{
    ExifTool sleeper("sleep");
    int most = 0;
    for (int i = 0; i < 6; ++i) {
        sleeper.awaitFreeSlot(4);
        ASSERT_TRUE(sleeper.start({"0.4"}));
        most = std::max(most, sleeper.running());
        EXPECT_LE(sleeper.running(), 4);
    }
    EXPECT_EQ(most, 4);
    sleeper.awaitAllEnded();
    EXPECT_EQ(sleeper.running(), 0);
    EXPECT_TRUE(noChildLeft());
}

TEST_F(ExifToolProcesses, ClosingWaitsForTheProcessesStillRunning)
{
    const std::string marker = tmp.path() + "/done";
    {
        ExifTool shell("sh");
        ASSERT_TRUE(shell.start({"-c", "sleep 0.3; touch \"$0\"", marker}));
        EXPECT_EQ(shell.running(), 1);
    }
    EXPECT_TRUE(std::filesystem::exists(marker));
    EXPECT_TRUE(noChildLeft());
}

}  // namespace

}  // namespace vistado::test
