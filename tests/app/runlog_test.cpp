#include "app/runlog.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace vistado::test {

namespace {

TEST(RunLog, CreatesTheFileAnewWithCrLfLines)
{
    TempDir tmp;
    writeFile(tmp.file("protokoll.csv"), "from an earlier run\r\n");
    RunLog log;
    log.create(tmp.path() + "/protokoll.csv");
    EXPECT_TRUE(log.isOpen());
    log.write("a.jpg;");
    log.write("kein GPS ");
    log.endLine();
    log.close();
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(readFile(tmp.file("protokoll.csv")), "a.jpg;kein GPS \r\n");
}

TEST(RunLog, EachLineReachesTheDiskWhenComplete)
{
    TempDir tmp;
    RunLog log;
    std::vector<std::string> told;
    log.setLineListener([&told](std::string_view line) { told.emplace_back(line); });
    log.create(tmp.path() + "/protokoll.csv");
    log.write("a.jpg;");
    log.write("48.1,11.5;");
    EXPECT_EQ(readFile(tmp.file("protokoll.csv")), "");
    log.write(">Marktgasse<");
    log.endLine();
    EXPECT_EQ(readFile(tmp.file("protokoll.csv")), "a.jpg;48.1,11.5;>Marktgasse<\r\n");
    EXPECT_EQ(told, std::vector<std::string>{"a.jpg;48.1,11.5;>Marktgasse<"});

    // A run that ends inside a line leaves it unfinished, without a line end.
    log.write("b.jpg;-33.8,151.2;");
    log.close();
    EXPECT_EQ(readFile(tmp.file("protokoll.csv")), "a.jpg;48.1,11.5;>Marktgasse<\r\nb.jpg;-33.8,151.2;");
    EXPECT_EQ(told, (std::vector<std::string>{"a.jpg;48.1,11.5;>Marktgasse<", "b.jpg;-33.8,151.2;"}));
}

TEST(RunLog, LinesBehindAHeldLineWaitForIt)
{
    TempDir tmp;
    RunLog log;
    std::vector<std::string> told;
    log.setLineListener([&told](std::string_view line) { told.emplace_back(line); });
    log.create(tmp.path() + "/protokoll.csv");
    log.write("a.jpg;hat GPS schreiben.. ");
    const std::size_t a = log.holdLine();
    log.write("b.jpg;hat GPS schreiben.. ");
    const std::size_t b = log.holdLine();
    log.write("c.jpg; -  ");
    log.endLine();
    log.completeLine(b, "ok");
    EXPECT_EQ(readFile(tmp.file("protokoll.csv")), "");
    log.completeLine(a, "Fehler mit Exiftool");
    EXPECT_EQ(readFile(tmp.file("protokoll.csv")),
              "a.jpg;hat GPS schreiben.. Fehler mit Exiftool\r\nb.jpg;hat GPS schreiben.. ok\r\nc.jpg; -  \r\n");
    EXPECT_EQ(told, (std::vector<std::string>{"a.jpg;hat GPS schreiben.. Fehler mit Exiftool",
                                              "b.jpg;hat GPS schreiben.. ok", "c.jpg; -  "}));
    EXPECT_THROW(log.completeLine(a, "ok"), std::logic_error);

    // A line still held when the log closes is written as it stands.
    log.write("d.jpg;hat GPS schreiben.. ");
    log.holdLine();
    log.close();
    EXPECT_TRUE(readFile(tmp.file("protokoll.csv")).ends_with("c.jpg; -  \r\nd.jpg;hat GPS schreiben.. \r\n"));
}

TEST(RunLog, NewRunClosesTheEarlierLogFirst)
{
    TempDir tmp;
    RunLog log;
    log.create(tmp.path() + "/first.csv");
    log.write("first");
    log.create(tmp.path() + "/second.csv");
    log.write("second");
    EXPECT_EQ(readFile(tmp.file("first.csv")), "first");
    log.close();
    EXPECT_EQ(readFile(tmp.file("second.csv")), "second");
}

TEST(RunLog, ClosingALogNoRunOpenedDoesNothing)
{
    RunLog log;
    EXPECT_NO_THROW(log.close());
    EXPECT_NO_THROW(log.close());
    EXPECT_FALSE(log.isOpen());
}

TEST(RunLog, FailuresAreReported)
{
    TempDir tmp;
    RunLog log;
    EXPECT_THROW(log.create(tmp.path() + "/missing/protokoll.csv"), std::system_error);
    EXPECT_FALSE(log.isOpen());
    EXPECT_THROW(log.write("x"), std::logic_error);
}

TEST(RunLog, FullDiskIsReportedAndTheFileStillCloses)
{
    if (access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full";
    RunLog log;
    log.create("/dev/full");
    log.write("a.jpg;kein GPS ");
    EXPECT_THROW(log.endLine(), std::system_error);
    log.write("b.jpg;");
    EXPECT_THROW(log.close(), std::system_error);
    EXPECT_FALSE(log.isOpen());
    EXPECT_NO_THROW(log.close());
}

}  // namespace

}  // namespace vistado::test
