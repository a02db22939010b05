#include "app/exiftool/exiftool.h"
#include "fakeexiftool.h"
#include "pathchange.h"
#include "photos.h"
#include "realjpeg.h"
#include "testfiles.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vistado::test {

namespace {

using Status = ExifToolOutcome::Status;

// No child of this process is left, running or ended and uncollected.
bool noChildLeft()
{
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

// What the file holds; empty when it is not there (yet).
std::string textOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The process has ended (a zombie nobody has collected yet counts as ended).
bool processGone(pid_t pid)
{
    const std::string stat = textOf("/proc/" + std::to_string(pid) + "/stat");
    return stat.empty() || stat.find(") Z ") != std::string::npos;
}

class ExifToolProcesses : public ::testing::Test {
protected:
    std::string bin() const { return tmp.path() + "/bin"; }
    std::vector<std::string> lines() const
    {
        std::vector<std::string> read;
        const std::string text = textOf(bin() + "/lines");
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = text.find('\n', start);
            read.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return read;
    }
    int starts() const
    {
        const std::string text = textOf(bin() + "/starts");
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }

    TempDir tmp;
};

TEST_F(ExifToolProcesses, EachArgumentIsOneLineAndAFileNameIsNeverSyntax)
{
    writeFakeExifTool(bin(), "", ":");
    const PathChange path(bin() + ":/usr/bin:/bin");
    const struct {
        std::string file;
        std::string line;
    } names[] = {
        {"-x; \"y\" 'z' $(touch pwned).jpg", "./-x; \"y\" 'z' $(touch pwned).jpg"},
        {"#kein Kommentar.jpg", "./#kein Kommentar.jpg"},
        {" Leerzeichen vorn.jpg", "./ Leerzeichen vorn.jpg"},
        {"-execute7", "./-execute7"},
        {"/abs/-a.jpg", "/abs/-a.jpg"},
        {"caf\xE9.jpg", "./caf\xE9.jpg"},
    };
    std::vector<std::string> expected;
    {
        ExifTool exifTool;
        unsigned id = 0;
        for (const auto& name : names) {
            EXPECT_EQ(exifTool.request({"-w", "%dgpstext/%f.txt"}, name.file).status, Status::Ok) << name.file;
            expected.insert(expected.end(),
                            {"-charset", "filename=", "-w", "%dgpstext/%f.txt", name.line, "-execute" + std::to_string(++id)});
        }
        for (const char* broken : {"zeilen\numbruch.jpg", "wagen\rruecklauf.jpg"})
            EXPECT_EQ(exifTool.request({}, broken).status, Status::LineBreak) << broken;
        EXPECT_EQ(exifTool.writeTags("a.jpg", {{"Comment", "zwei\nZeilen"}}).status, Status::LineBreak);
    }
    expected.insert(expected.end(), {"-stay_open", "False"});
    EXPECT_EQ(lines(), expected);
    EXPECT_FALSE(std::filesystem::exists("pwned"));
    EXPECT_TRUE(noChildLeft());
}

TEST_F(ExifToolProcesses, AProgramThatCannotBeStartedIsReported)
{
    const struct {
        const char* name;
        std::string content;
        mode_t mode;
        bool installed;
    } cases[] = {
        {"not executable", "#!/bin/sh\n", 0644, false},
        {"exec fails: no interpreter line", "just text\n", 0755, true},
        {"exec fails: interpreter missing", "#!/nonexistent/perl\n", 0755, true},
        {"ends at once", "#!/bin/sh\nexit 0\n", 0755, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir own;
        writeFile(own.file("exiftool"), c.content);
        chmod((own.path() + "/exiftool").c_str(), c.mode);
        const PathChange path(own.path());
        ExifTool exifTool;
        EXPECT_EQ(exifTool.installed(), c.installed);
        EXPECT_EQ(exifTool.request({}, "x.jpg").status, Status::Died);
        EXPECT_EQ(exifTool.lostInARow(), 1);
        EXPECT_FALSE(exifTool.running());
        EXPECT_TRUE(noChildLeft());
    }
    const PathChange empty(tmp.path());
    EXPECT_FALSE(ExifTool().installed());
}

TEST_F(ExifToolProcesses, OneProcessServesEveryRequestAndTheWindowGetsItsTurnsMeanwhile)
{
    writeFakeExifTool(bin(), "langsam", "sleep 0.3");
    const PathChange path(bin() + ":/usr/bin:/bin");
    ExifTool exifTool;
    int turns = 0;
    exifTool.whileWaiting = [&turns] { ++turns; };
    EXPECT_FALSE(exifTool.running());
    for (const char* name : {"a.jpg", "langsam.jpg", "c.jpg", "d.jpg"})
        writeFile(tmp.file(name), realJpeg(8, 8));
    for (const char* name : {"a.jpg", "langsam.jpg", "c.jpg"})
        EXPECT_EQ(exifTool.request({"-FileName"}, tmp.file(name)).status, Status::Ok) << name;
    EXPECT_EQ(starts(), 1);
    EXPECT_GE(turns, 5);
    exifTool.stop();
    EXPECT_FALSE(exifTool.running());
    EXPECT_TRUE(noChildLeft());
    // A request after the stop starts a new process.
    EXPECT_EQ(exifTool.request({"-FileName"}, tmp.file("d.jpg")).status, Status::Ok);
    EXPECT_EQ(starts(), 2);
}

TEST_F(ExifToolProcesses, ALostProcessCostsOneRequestAndTheNextStartsANewOne)
{
    const struct {
        const char* act;
        Status status;
        const char* message;
    } cases[] = {
        {"exit 3", Status::Died, ""},
        {"sleep 60", Status::TimedOut, ""},
        {"echo \"Error: Kaputt - $last\"", Status::Failed, "Kaputt - "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.act);
        TempDir own;
        writeFakeExifTool(own.path(), "b.jpg", c.act);
        const PathChange path(own.path() + ":/usr/bin:/bin");
        writeFile(own.file("c.jpg"), realJpeg(8, 8));
        ExifTool exifTool;
        exifTool.replyTimeout = std::chrono::milliseconds(500);
        const ExifToolOutcome outcome = exifTool.request({"-FileName"}, own.file("b.jpg"));
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.message, c.status == Status::Failed ? c.message + own.file("b.jpg") : "");
        EXPECT_EQ(exifTool.lostInARow(), c.status == Status::Failed ? 0 : 1);
        // The real ExifTool behind the fake may take longer than the hang's limit to start.
        exifTool.replyTimeout = ExifTool::kReplyTimeout;
        EXPECT_EQ(exifTool.request({"-FileName"}, own.file("c.jpg")).status, Status::Ok);
        EXPECT_EQ(exifTool.lostInARow(), 0);
        const std::string startLines = readFile(own.file("starts"));
        EXPECT_EQ(std::count(startLines.begin(), startLines.end(), '\n'), c.status == Status::Failed ? 1 : 2);
        exifTool.stop();
        EXPECT_TRUE(noChildLeft());
    }
}

TEST_F(ExifToolProcesses, TheProcessEndsWithTheProgramHoweverThatEnds)
{
    writeFakeExifTool(bin(), "", "exec sleep 60");
    const PathChange path(bin() + ":/usr/bin:/bin");
    // A program killed while ExifTool works for it.
    const pid_t program = ::fork();
    if (program == 0) {
        ExifTool exifTool;
        exifTool.request({}, "a.jpg");
        ::_exit(0);
    }
    ASSERT_GT(program, 0);
    for (int i = 0; i < 500 && starts() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(starts(), 1);
    ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);
    const pid_t exifTool = std::stoi(readFile(bin() + "/starts"));
    for (int i = 0; i < 200 && !processGone(exifTool); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(processGone(exifTool));
    EXPECT_TRUE(noChildLeft());
}

// The interface other commands build on, against the real ExifTool.
TEST(ExifToolTags, WritesAndReadsTagsAndSaysWhyNot)
{
    TempDir tmp;
    makePhotos(tmp.path(), {{"a.jpg", gpsTags("48.137154", "N", "11.576124", "E")}});
    writeFile(tmp.file("kaputt.jpg"), "kein JPEG");
    const std::string photo = tmp.file("a.jpg");
    ExifTool exifTool;

    const ExifToolOutcome written = exifTool.writeTags(photo, {{"GPSLatitude", "33 51 24.42"}, {"GPSLatitudeRef", "S"}});
    EXPECT_EQ(written.status, Status::Ok) << written.message;
    const ExifToolOutcome numbers = exifTool.readTags(photo, {"GPSLatitude", "GPSLongitude", "Artist"}, ExifTool::Values::Numbers);
    EXPECT_EQ(numbers.status, Status::Ok);
    ASSERT_EQ(numbers.reply.values.size(), 2u);
    EXPECT_EQ(numbers.reply.values[0].name, "GPSLatitude");
    EXPECT_NEAR(std::stod(numbers.reply.values[0].value), -33.856783, 1e-6);
    EXPECT_EQ(numbers.reply.values[1], (TagValue{"GPSLongitude", "11.576124"}));
    EXPECT_EQ(exifTool.readTags(photo, {"GPSLatitude"}, ExifTool::Values::Printed).reply.values,
              (std::vector<TagValue>{{"GPSLatitude", "33 deg 51' 24.42\" S"}}));

    const struct {
        std::string file;
        std::vector<TagValue> tags;
        std::string message;
    } refused[] = {
        {photo, {{"Bogus", "1"}}, "Tag 'Bogus' is not defined"},
        {photo, {{"GPSLatitude", "nordwärts"}}, "Error converting value for GPS:GPSLatitude (ValueConvInv)"},
        {tmp.file("kaputt.jpg"), {{"GPSLatitude", "1"}}, "Not a valid JPG (looks more like a TXT) - " + tmp.file("kaputt.jpg")},
        {tmp.file("fehlt.jpg"), {{"GPSLatitude", "1"}}, "File not found - " + tmp.file("fehlt.jpg")},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.message);
        const ExifToolOutcome outcome = exifTool.writeTags(r.file, r.tags);
        EXPECT_EQ(outcome.status, Status::Failed);
        EXPECT_EQ(outcome.message, r.message);
    }
    EXPECT_EQ(exifTool.readTags(tmp.file("fehlt.jpg"), {"GPSLatitude"}, ExifTool::Values::Numbers).status, Status::Failed);
    EXPECT_EQ(exifTool.lostInARow(), 0);
}

TEST(ExifToolReplies, TheReplyEndsAtItsOwnReadyLineOnly)
{
    const struct {
        std::string received;
        unsigned id;
        std::optional<std::size_t> length;
    } cases[] = {
        {"{ready3}\n", 3, 0},
        {"    1 image files updated\n{ready3}\n", 3, 26},
        {"    1 image files updated\n{ready3}", 3, std::nullopt},  // its line end still to come
        {"{ready2}\n", 3, std::nullopt},
        {"{ready33}\n", 3, std::nullopt},
        {"-Comment=x{ready3}\n{ready3}\n", 3, 19},
        {"", 1, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.received);
        EXPECT_EQ(replyLength(c.received, c.id), c.length);
    }
}

TEST(ExifToolReplies, CountsErrorsWarningsAndValuesAreTakenFromTheirLines)
{
    const ExifToolReply reply = parseExifToolReply("Warning: [minor] Odd offset - ./a.jpg\n"
                                                   "Error: File not found - ./b.jpg\r\n"
                                                   "-GPSLatitude=48.1371538888889\n"
                                                   "-Comment=a=b\n"
                                                   "-=leer\n"
                                                   "======== ./a.jpg\n"
                                                   "    1 image files updated\n"
                                                   "    2 image files unchanged\n"
                                                   "    3 files weren't updated due to errors\n"
                                                   "   12 output files created\n"
                                                   "    7 image files read\n"
                                                   "Nothing to do.");
    EXPECT_EQ(reply.warnings, (std::vector<std::string>{"[minor] Odd offset - ./a.jpg"}));
    EXPECT_EQ(reply.errors, (std::vector<std::string>{"File not found - ./b.jpg"}));
    EXPECT_EQ(reply.values, (std::vector<TagValue>{{"GPSLatitude", "48.1371538888889"}, {"Comment", "a=b"}}));
    EXPECT_EQ(reply.filesUpdated, 1);
    EXPECT_EQ(reply.filesUnchanged, 2);
    EXPECT_EQ(reply.outputFilesCreated, 12);
}

}  // namespace

}  // namespace vistado::test
