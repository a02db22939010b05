#include "runlog.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <system_error>
#include <unistd.h>

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

TEST(RunLog, ReachesTheDiskInPiecesAndWhenClosed)
{
    TempFolder tmp;
    TRunLog log;
    log.create(tmp.path() + "/protokoll.csv");
    log.write(std::string(100, 'x'));
    EXPECT_EQ(tmp.read("protokoll.csv"), "");
    log.write(std::string(40, 'y'));
    EXPECT_EQ(tmp.read("protokoll.csv"), std::string(100, 'x') + std::string(40, 'y'));
    log.write("z");
    log.close();
    EXPECT_EQ(tmp.read("protokoll.csv").size(), 141u);
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
    EXPECT_THROW(log.write(std::string(200, 'x')), std::system_error);
    EXPECT_THROW(log.close(), std::system_error);
    EXPECT_FALSE(log.isOpen());
    EXPECT_NO_THROW(log.close());
}

}  // namespace
