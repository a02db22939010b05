#include "runlog.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

TEST(RunLog, CreatesTheFileAnewWithCrLfLines)
{
    TempFolder tmp;
    tmp.addFile("protokoll.csv", "from an earlier run\r\n");
    TRunLog log;
    log.create(tmp.path() + "/protokoll.csv");
    EXPECT_TRUE(log.isOpen());
    log.write("a.jpg;");
    log.write("kein GPS ");
    log.endLine();
    log.close();
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(tmp.read("protokoll.csv"), "a.jpg;kein GPS \r\n");
}

TEST(RunLog, EachLineReachesTheDiskWhenComplete)
{
    TempFolder tmp;
    TRunLog log;
    std::vector<std::string> told;
    log.setLineListener([&told](std::string_view line) { told.emplace_back(line); });
    log.create(tmp.path() + "/protokoll.csv");
    log.write("a.jpg;");
    log.write("48.1,11.5;");
    EXPECT_EQ(tmp.read("protokoll.csv"), "");
    log.write(">Marktgasse<");
    log.endLine();
    EXPECT_EQ(tmp.read("protokoll.csv"), "a.jpg;48.1,11.5;>Marktgasse<\r\n");
    EXPECT_EQ(told, std::vector<std::string>{"a.jpg;48.1,11.5;>Marktgasse<"});

    // A run that ends inside a line leaves it unfinished, without a line end.
    log.write("b.jpg;-33.8,151.2;");
    log.close();
    EXPECT_EQ(tmp.read("protokoll.csv"), "a.jpg;48.1,11.5;>Marktgasse<\r\nb.jpg;-33.8,151.2;");
    EXPECT_EQ(told, (std::vector<std::string>{"a.jpg;48.1,11.5;>Marktgasse<", "b.jpg;-33.8,151.2;"}));
}

TEST(RunLog, NewRunClosesTheEarlierLogFirst)
{
    TempFolder tmp;
    TRunLog log;
    log.create(tmp.path() + "/first.csv");
    log.write("first");
    log.create(tmp.path() + "/second.csv");
    log.write("second");
    EXPECT_EQ(tmp.read("first.csv"), "first");
    log.close();
    EXPECT_EQ(tmp.read("second.csv"), "second");
}

TEST(RunLog, ClosingALogNoRunOpenedDoesNothing)
{
    TRunLog log;
    EXPECT_NO_THROW(log.close());
    EXPECT_NO_THROW(log.close());
    EXPECT_FALSE(log.isOpen());
}

TEST(RunLog, FailuresAreReported)
{
    TempFolder tmp;
    TRunLog log;
    EXPECT_THROW(log.create(tmp.path() + "/missing/protokoll.csv"), std::system_error);
    EXPECT_FALSE(log.isOpen());
    EXPECT_THROW(log.write("x"), std::logic_error);
}

TEST(RunLog, FullDiskIsReportedAndTheFileStillCloses)
{
    if (access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full";
    TRunLog log;
    log.create("/dev/full");
    log.write("a.jpg;kein GPS ");
    EXPECT_THROW(log.endLine(), std::system_error);
    log.write("b.jpg;");
    EXPECT_THROW(log.close(), std::system_error);
    EXPECT_FALSE(log.isOpen());
    EXPECT_NO_THROW(log.close());
}

}  // namespace
