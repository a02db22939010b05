// The writer: the bytes it writes for each layout of the source, its errors,
// and that a failed write leaves the target as it was.

#include "imagefiletest.h"
#include "realjpeg.h"
#include "runprogram.h"

#include "meta/jpegimage.h"
#include "meta/rangeerror.h"
#include "meta/writeerror.h"

#include <gmock/gmock.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on
#include <set>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vistado::test {
namespace {

using testing::HasSubstr;
using testing::MatchesRegex;

const std::string kDefaultJfif("\xFF\xE0\x00\x10JFIF\x00\x01\x02\x01\x01\x2C\x01\x2C\x00\x00", 18);

std::string SmallExif()
{
    TTiffBuilder tiff(false);
    tiff.AddAscii(0, 0x010F, "Maker");
    return ExifSegment(tiff.Build());
}

// The segments behind the metadata of every source below, which libjpeg
// needs to parse the frame header.
std::vector<std::string> ImageSegments()
{
    return {QuantTableSegment(), FrameSegment(8, 8), HuffmanTableSegment(), ScanSegment()};
}

std::vector<std::string> Joined(std::vector<std::string> front, const std::vector<std::string>& back)
{
    front.insert(front.end(), back.begin(), back.end());
    return front;
}

std::set<std::string> FolderEntries(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& failed) {
        return failed.what();
    }
    return "(no error)";
}

class WriterTest : public ImageFileTest {
protected:
    // Opens the source and replaces its comment as the place run does.
    void OpenAndComment(const std::string& bytes, const std::string& comment)
    {
        Open(bytes);
        ASSERT_FALSE(image.sourcePath.empty());
        image.DropCommentAndHeader();
        image.SetCommentText(comment);
    }
    std::string Path() const { return dir.File("image.jpg"); }
};

// One layout: the source's segments, what the container does, what is
// written in front, and which of the source's segments the copy behind it
// leaves out.
struct TLayoutCase {
    const char* name;
    std::vector<std::string> source;  // the segments behind SOI
    bool drop;                        // DropCommentAndHeader before SetCommentText
    const char* comment;              // nullptr: no SetCommentText
    std::vector<std::string> front;   // the segments written behind SOI
    std::set<size_t> left;            // indices into source not copied
    const char* readBack;             // CommentText of the written file
};

TEST_F(WriterTest, OutputLayout)
{
    const std::string exif = SmallExif();
    const std::string iptc = IptcSegment();
    const std::string app2 = Segment(0xE2, "ICC_PROFILE");
    const TLayoutCase cases[] = {
        {"Exif only", Joined({exif}, ImageSegments()), true, "abc",
         {exif, std::string("\xFF\xFE\x00\x05" "abc", 7)}, {0}, "abc"},
        {"APP0, Exif and COM are all replaced",
         Joined({JfifSegment(), exif, CommentSegment("old")}, ImageSegments()), true, "new",
         {exif, CommentSegment("new")}, {0, 1, 2}, "new"},
        {"XMP after Exif stays behind the new comment; the old comment goes",
         Joined({JfifSegment(), exif, XmpSegment(), CommentSegment("old")}, ImageSegments()), true, "new",
         {exif, CommentSegment("new")}, {0, 1, 3}, "new"},
        {"the comment goes wherever it stands in front of the scan",
         Joined({exif, app2, QuantTableSegment(), CommentSegment("old")}, ImageSegments()), true, "new",
         {exif, CommentSegment("new")}, {0, 3}, "new"},
        {"of several comments the last one is the comment; the others stay",
         Joined({exif, CommentSegment("first"), CommentSegment("last")}, ImageSegments()), true, "new",
         {exif, CommentSegment("new")}, {0, 2}, "first"},
        {"IPTC copied in front and kept in the remainder",
         Joined({exif, app2, iptc}, ImageSegments()), true, "new", {exif, iptc, CommentSegment("new")}, {0},
         "new"},
        {"IPTC directly behind Exif is replaced by its copy",
         Joined({exif, iptc, CommentSegment("old")}, ImageSegments()), true, "new",
         {exif, iptc, CommentSegment("new")}, {0, 1, 2}, "new"},
        {"no Exif: the default JFIF header", Joined({CommentSegment("old")}, ImageSegments()), true, "new",
         {kDefaultJfif, CommentSegment("new")}, {0}, "new"},
        {"no Exif, IPTC", Joined({JfifSegment(), iptc}, ImageSegments()), true, "new",
         {kDefaultJfif, iptc, CommentSegment("new")}, {0, 1}, "new"},
        {"empty comment: a segment the reader does not take", Joined({exif}, ImageSegments()), true, "",
         {exif, std::string("\xFF\xFE\x00\x02", 4)}, {0}, ""},
        {"header kept without Exif: the source's APP0, the comment overwritten in place",
         Joined({JfifSegment(), CommentSegment("old")}, ImageSegments()), false, "new",
         {JfifSegment(), CommentSegment("new")}, {0, 1}, "new"},
        {"no comment set: the old one is gone",
         Joined({exif, XmpSegment(), CommentSegment("old")}, ImageSegments()), true, nullptr, {exif},
         {0, 2}, ""},
        {"nothing changed: the comment moves to the front",
         Joined({exif, XmpSegment(), CommentSegment("old")}, ImageSegments()), false, nullptr,
         {exif, CommentSegment("old")}, {0, 2}, "old"},
    };
    for (const TLayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string source = JpegFile(c.source);
        Open(source);
        if (c.drop)
            image.DropCommentAndHeader();
        if (c.comment != nullptr)
            image.SetCommentText(c.comment);
        image.SaveJpeg(Path());

        std::string expected = "\xFF\xD8";
        for (const std::string& segment : c.front)
            expected += segment;
        size_t behindSegments = 2;
        for (size_t i = 0; i < c.source.size(); ++i) {
            if (!c.left.contains(i))
                expected += c.source[i];
            behindSegments += c.source[i].size();
        }
        expected += source.substr(behindSegments);
        EXPECT_EQ(ReadFile(Path()), expected);

        TimgData written(kDecodeAll);
        ASSERT_TRUE(written.OpenImage(Path()));
        EXPECT_EQ(written.CommentText(), c.readBack);
    }
}

// An empty COM segment is no comment to the reader, so the comment left out
// is the one the reader took, not an empty segment behind it: otherwise the old
// comment would stay the last one and read back instead of the new one.
TEST_F(WriterTest, AnEmptyCommentSegmentBehindTheCommentStays)
{
    const std::string exif = SmallExif();
    const std::string empty = Segment(0xFE, "");
    const std::string source =
        JpegFile(Joined({exif, CommentSegment("old"), QuantTableSegment(), empty}, ImageSegments()));
    OpenAndComment(source, "new");
    image.SaveJpeg(Path());

    const size_t behindOld = 2 + exif.size() + CommentSegment("old").size();
    EXPECT_EQ(ReadFile(Path()), "\xFF\xD8" + exif + CommentSegment("new") + source.substr(behindOld));
    TimgData written(kDecodeAll);
    ASSERT_TRUE(written.OpenImage(Path()));
    EXPECT_EQ(written.CommentText(), "new");
}

TEST_F(WriterTest, WrittenIptcIsTheOneTheReaderTakes)
{
    Open(JpegFile(Joined({SmallExif(), Segment(0xE2, "ICC"), IptcSegmentWith(IptcDataset(2, 25, "other"))},
                         ImageSegments())));
    image.DropCommentAndHeader();
    image.SetCommentText("x");
    image.SaveJpeg(Path());
    ASSERT_TRUE(image.OpenImage(Path()));
    ASSERT_NE(image.iptcSection, nullptr);
    EXPECT_EQ(image.iptcSection, &image.sections[1]);
    // The one behind APP2 is still there, unreferenced.
    EXPECT_EQ(image.sections[4].marker, 0xEDu);
}

TEST_F(WriterTest, EmitMetadataSegmentsWritesTheBytesAsHeld)
{
    Open(JpegFile(Joined({SmallExif(), IptcSegment()}, ImageSegments())));
    // A length field that disagrees with the entry's length: the bytes win.
    image.iptcSection->length = 3;
    image.SetCommentText("hi");
    std::ostringstream out;
    image.EmitMetadataSegments(out);
    EXPECT_EQ(out.str(), "\xFF\xD8" + SmallExif() + IptcSegment() + CommentSegment("hi"));
}

TEST_F(WriterTest, SetCommentText)
{
    Open(JpegFile(Joined({SmallExif(), CommentSegment("old")}, ImageSegments())));
    const int32_t count = image.sectionCount;
    tSection* read = image.commentSection;
    image.SetCommentText("over");
    EXPECT_EQ(image.commentSection, read) << "a comment that was read is overwritten in place";
    EXPECT_EQ(image.sectionCount, count);
    EXPECT_EQ(read->marker, 0xFEu);
    EXPECT_EQ(read->length, 6);
    EXPECT_EQ(image.CommentText(), "over");

    image.DropCommentAndHeader();
    EXPECT_EQ(image.sectionCount, count);
    EXPECT_EQ(image.commentSection, nullptr);
    EXPECT_EQ(image.headerSection, nullptr);
    image.SetCommentText(std::string(65533, 'x'));
    EXPECT_EQ(image.commentSection, &image.sections[static_cast<size_t>(count)]);
    EXPECT_EQ(image.commentSection->bytes.substr(0, 2), "\xFF\xFF");
    EXPECT_EQ(image.CommentText().size(), 65533u);
}

TEST_F(WriterTest, SetCommentTextRefusesWhatDoesNotFitAndChangesNothing)
{
    Open(JpegFile(Joined({SmallExif(), CommentSegment("old")}, ImageSegments())));
    EXPECT_THROW(image.SetCommentText(std::string(65534, 'x')), ERangeError);
    EXPECT_EQ(image.CommentText(), "old");

    image.DropCommentAndHeader();
    EXPECT_THROW(image.SetCommentText(std::string(70000, 'x')), ERangeError);
    EXPECT_EQ(image.commentSection, nullptr);

    // Twenty segments read leave one entry for a new comment, and no more.
    std::vector<std::string> many(19, Segment(0xE2, "x"));
    many.insert(many.begin(), SmallExif());
    Open(JpegFile(Joined(many, ImageSegments())));
    ASSERT_EQ(image.sectionCount, 20);
    image.SetCommentText("fits");
    EXPECT_EQ(image.sectionCount, 21);
    image.DropCommentAndHeader();
    EXPECT_THROW(image.SetCommentText("one too many"), ERangeError);
    EXPECT_EQ(image.sectionCount, 21);
    EXPECT_EQ(image.commentSection, nullptr);
}

TEST_F(WriterTest, AdjustSizeWritesTheImageDimensionsIntoExif)
{
    TTiffBuilder tiff(true);
    const int exifDir = tiff.AddDirectory();
    tiff.AddPointer(0, 0x8769, exifDir);
    tiff.AddShorts(exifDir, 0xA002, {100});
    tiff.AddLongs(exifDir, 0xA003, {200});
    const std::string source = JpegFile(Joined({ExifSegment(tiff.Build())}, ImageSegments()));
    Open(source);
    const TJPEGImage loaded(source);
    EXPECT_EQ(loaded.Width(), 8);
    EXPECT_EQ(loaded.Height(), 8);

    image.SaveJpegWith(loaded, Path(), false);
    EXPECT_EQ(ReadFile(Path()), source) << "without adjustSize nothing changes";

    image.SaveJpegWith(loaded, Path(), true);
    TimgData written(kDecodeAll);
    ASSERT_TRUE(written.OpenImage(Path()));
    EXPECT_EQ(written.exifDecoder->TagValueText("ExifImageWidth"), "8");
    EXPECT_EQ(written.exifDecoder->TagValueText("ExifImageLength"), "8");
    EXPECT_EQ(ReadFile(Path()).size(), source.size());
}

TEST_F(WriterTest, LoadedImageParsesTheFrameHeader)
{
    const TJPEGImage real(RealJpeg(40, 24));
    EXPECT_EQ(real.Width(), 40);
    EXPECT_EQ(real.Height(), 24);
    EXPECT_FALSE(real.Progressive());

    if (!ProgramAvailable("jpegtran"))
        GTEST_SKIP() << "no jpegtran";
    WriteFile(dir.File("base.jpg"), RealJpeg(40, 24));
    ASSERT_EQ(RunProgram({"jpegtran", "-progressive", "-outfile", dir.File("prog.jpg"), dir.File("base.jpg")})
                  .exitStatus,
              0);
    const TJPEGImage progressive = TJPEGImage::LoadFromFile(dir.File("prog.jpg"));
    EXPECT_TRUE(progressive.Progressive());
    EXPECT_EQ(progressive.Bytes(), ReadFile(dir.File("prog.jpg")));
}

TEST_F(WriterTest, SourceTheJpegLibraryCannotParseIsRefusedBeforeTheTargetIsCreated)
{
    struct TBadSource {
        const char* name;
        std::string bytes;
        int messageCode;  // the JPEG library's
    };
    const TBadSource sources[] = {
        {"no frame header before the scan", JpegFile({SmallExif(), QuantTableSegment(), ScanSegment()}),
         JERR_SOS_NO_SOF},
        {"ends inside the metadata", JpegFile({SmallExif()}).substr(0, 30), JERR_NO_IMAGE},
        {"not a JPEG", "GIF89a and so on", JERR_NO_SOI},
    };
    for (const TBadSource& bad : sources) {
        SCOPED_TRACE(bad.name);
        EXPECT_EQ(MessageOf([&] { TJPEGImage loaded(bad.bytes); }),
                  "JPEG-Fehler #" + std::to_string(bad.messageCode));

        const std::string path = dir.File("bad.jpg");
        WriteFile(path, bad.bytes);
        image.OpenImage(path);
        image.sourcePath = path;
        image.DropCommentAndHeader();
        image.SetCommentText("new");
        EXPECT_THAT(MessageOf([&] { image.SaveJpeg(dir.File("out.jpg")); }), MatchesRegex("JPEG-Fehler #[0-9]+"));
        EXPECT_EQ(FolderEntries(dir.Path()), std::set<std::string>{"bad.jpg"});
        EXPECT_THAT(MessageOf([&] { image.SaveJpeg(path); }), MatchesRegex("JPEG-Fehler #[0-9]+"));
        EXPECT_EQ(ReadFile(path), bad.bytes);
        std::filesystem::remove(path);
    }
}

TEST_F(WriterTest, MessagesNameTheFullPathAndTheSystemsReason)
{
    const std::string source = JpegFile(Joined({SmallExif()}, ImageSegments()));
    OpenAndComment(source, "new");

    const std::string relative = std::filesystem::relative(dir.File("missing/out.jpg")).string();
    ASSERT_NE(relative[0], '/');
    EXPECT_EQ(MessageOf([&] { image.SaveJpeg(relative); }),
              "Datei \"" + dir.File("missing/out.jpg") + "\" kann nicht erstellt werden. " +
                  std::strerror(ENOENT));

    std::filesystem::remove(Path());
    EXPECT_EQ(MessageOf([&] { image.SaveJpeg(dir.File("out.jpg")); }),
              "Datei " + Path() + " kann nicht geöffnet werden. " + std::strerror(ENOENT));
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}

TEST_F(WriterTest, PermissionBitsAndOwnerSurviveARewrite)
{
    const std::string source = JpegFile(Joined({SmallExif()}, ImageSegments()));
    for (const mode_t mode : {0640, 0600, 0604, 0755}) {
        SCOPED_TRACE(mode);
        OpenAndComment(source, "new");
        ASSERT_EQ(::chmod(Path().c_str(), mode), 0);
        image.SaveJpeg(Path());
        EXPECT_EQ(ModeOf(Path()), mode);
        EXPECT_EQ(image.CommentText(), "new");
    }

    // A new file gets the bits any new file gets here.
    WriteFile(dir.File("plain.jpg"), "x");
    image.SaveJpeg(dir.File("copy.jpg"));
    EXPECT_EQ(ModeOf(dir.File("copy.jpg")), ModeOf(dir.File("plain.jpg")));

    if (::geteuid() != 0)
        GTEST_SKIP() << "only the super-user can give a file to another owner";
    ASSERT_EQ(::chown(Path().c_str(), 4321, 8765), 0);
    image.SaveJpeg(Path());
    struct stat info {};
    ASSERT_EQ(::stat(Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 8765u);
}

TEST_F(WriterTest, ReadOnlyFileIsNotRewritten)
{
    const std::string source = JpegFile(Joined({SmallExif(), CommentSegment("old")}, ImageSegments()));
    OpenAndComment(source, "new");
    ASSERT_EQ(::chmod(Path().c_str(), 0444), 0);
    EXPECT_EQ(MessageOf([&] { image.SaveJpeg(Path()); }),
              "Datei \"" + Path() + "\" kann nicht erstellt werden. " + std::strerror(EACCES));
    EXPECT_EQ(ReadFile(Path()), source);
    EXPECT_EQ(ModeOf(Path()), 0444u);
    EXPECT_EQ(FolderEntries(dir.Path()), std::set<std::string>{"image.jpg"});
}

TEST_F(WriterTest, SymbolicLinkTargetRewritesTheFileItNames)
{
    const std::string source = JpegFile(Joined({SmallExif(), CommentSegment("old")}, ImageSegments()));
    OpenAndComment(source, "new");
    const std::string link = dir.File("link.jpg");
    std::filesystem::create_symlink("image.jpg", link);
    image.SaveJpeg(link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    TimgData written(kDecodeAll);
    ASSERT_TRUE(written.OpenImage(Path()));
    EXPECT_EQ(written.CommentText(), "new");
    EXPECT_EQ(FolderEntries(dir.Path()), (std::set<std::string>{"image.jpg", "link.jpg"}));
}

// Runs the action in a child process whose files may not grow beyond limit
// bytes, so that writing fails half-way as on a full disk. The child's error
// message, or "(no error)".
std::string WithFileSizeLimit(rlim_t limit, const std::function<void()>& action)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails instead
        const rlimit limits{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &limits);
        const std::string message = MessageOf(action);
        const ssize_t written = ::write(pipeEnds[1], message.data(), message.size());
        ::_exit(written == static_cast<ssize_t>(message.size()) ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    std::string message;
    char chunk[512];
    ssize_t got = 0;
    while ((got = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0)
        message.append(chunk, static_cast<size_t>(got));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return message;
}

TEST_F(WriterTest, FailedWriteLeavesTheTargetAsItWasAndNoTemporaryFile)
{
    std::string source = JpegFile(Joined({SmallExif(), CommentSegment("old")}, ImageSegments()));
    source.insert(source.size() - 2, std::string(20000, '\x55'));  // image data worth writing
    OpenAndComment(source, "a new comment");
    ASSERT_EQ(::chmod(Path().c_str(), 0640), 0);

    const std::string message = WithFileSizeLimit(4096, [&] { image.SaveJpeg(Path()); });
    EXPECT_EQ(message, "Datei \"" + Path() + "\" kann nicht erstellt werden. " + std::strerror(EFBIG));
    EXPECT_EQ(ReadFile(Path()), source);
    EXPECT_EQ(ModeOf(Path()), 0640u);
    EXPECT_EQ(FolderEntries(dir.Path()), std::set<std::string>{"image.jpg"});

    // Within the limit the same write goes through.
    EXPECT_EQ(WithFileSizeLimit(1 << 20, [&] { image.SaveJpeg(Path()); }), "(no error)");
    ASSERT_TRUE(image.OpenImage(Path()));
    EXPECT_EQ(image.CommentText(), "a new comment");
}

TEST_F(WriterTest, FailedRenameRemovesTheTemporaryFile)
{
    const std::string source = JpegFile(Joined({SmallExif()}, ImageSegments()));
    OpenAndComment(source, "new");
    const std::string folder = dir.File("folder.jpg");
    std::filesystem::create_directory(folder);
    WriteFile(folder + "/inside", "keep");
    EXPECT_THAT(MessageOf([&] { image.SaveJpeg(folder); }),
                HasSubstr("Datei \"" + folder + "\" kann nicht erstellt werden. "));
    EXPECT_EQ(FolderEntries(dir.Path()), (std::set<std::string>{"folder.jpg", "image.jpg"}));
    EXPECT_EQ(ReadFile(folder + "/inside"), "keep");
}

}  // namespace
}  // namespace vistado::test
