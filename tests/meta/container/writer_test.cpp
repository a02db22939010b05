// The writer: the bytes it writes for each layout of the source, its errors,
// and that a failed write leaves the target as it was.

#include "meta/imagefiletest.h"
#include "messageof.h"
#include "realjpeg.h"
#include "runprogram.h"

#include "meta/container/jpegimage.h"
#include "meta/rangeerror.h"
#include "meta/file/writeerror.h"

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

std::string smallExif()
{
    TiffBuilder tiff(false);
    tiff.addAscii(0, 0x010F, "Maker");
    return exifSegment(tiff.build());
}

// The segments behind the metadata of every source below, which libjpeg
// needs to parse the frame header.
std::vector<std::string> imageSegments()
{
    return {quantTableSegment(), frameSegment(8, 8), huffmanTableSegment(), scanSegment()};
}

std::vector<std::string> joined(std::vector<std::string> front, const std::vector<std::string>& back)
{
    front.insert(front.end(), back.begin(), back.end());
    return front;
}

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

class WriterTest : public ImageFileTest {
protected:
    // Opens the source and replaces its comment as the place run does.
    void openAndComment(const std::string& bytes, const std::string& comment)
    {
        open(bytes);
        ASSERT_FALSE(image.sourcePath.empty());
        image.DropCommentAndHeader();
        image.SetCommentText(comment);
    }
    std::string path() const { return dir.file("image.jpg"); }
};

// One layout: the source's segments, what the container does, what is
// written in front, and which of the source's segments the copy behind it
// leaves out.
struct LayoutCase {
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
    const std::string exif = smallExif();
    const std::string iptc = iptcSegment();
    const std::string app2 = segment(0xE2, "ICC_PROFILE");
    const LayoutCase cases[] = {
        {"Exif only", joined({exif}, imageSegments()), true, "abc",
         {exif, std::string("\xFF\xFE\x00\x05" "abc", 7)}, {0}, "abc"},
        {"APP0, Exif and COM are all replaced",
         joined({jfifSegment(), exif, commentSegment("old")}, imageSegments()), true, "new",
         {exif, commentSegment("new")}, {0, 1, 2}, "new"},
        {"XMP after Exif stays behind the new comment; the old comment goes",
         joined({jfifSegment(), exif, xmpSegment(), commentSegment("old")}, imageSegments()), true, "new",
         {exif, commentSegment("new")}, {0, 1, 3}, "new"},
        {"the comment goes wherever it stands in front of the scan",
         joined({exif, app2, quantTableSegment(), commentSegment("old")}, imageSegments()), true, "new",
         {exif, commentSegment("new")}, {0, 3}, "new"},
        {"of several comments the last one is the comment; the others stay",
         joined({exif, commentSegment("first"), commentSegment("last")}, imageSegments()), true, "new",
         {exif, commentSegment("new")}, {0, 2}, "first"},
        {"IPTC moved in front wherever it stood",
         joined({exif, app2, iptc}, imageSegments()), true, "new", {exif, iptc, commentSegment("new")}, {0, 2},
         "new"},
        {"Exif behind colour-profile chunks and XMP moves in front; they stay",
         joined({jfifSegment(), app2, app2, xmpSegment(), exif, commentSegment("old")}, imageSegments()), true,
         "new", {exif, commentSegment("new")}, {0, 4, 5}, "new"},
        {"IPTC directly behind Exif is replaced by its copy",
         joined({exif, iptc, commentSegment("old")}, imageSegments()), true, "new",
         {exif, iptc, commentSegment("new")}, {0, 1, 2}, "new"},
        {"the comment behind twenty colour-profile chunks goes, and only it",
         joined(joined(joined({exif}, std::vector<std::string>(20, app2)), {commentSegment("old"), commentSegment("")}),
                imageSegments()),
         true, "new", {exif, commentSegment("new")}, {0, 21}, "new"},
        {"no Exif: the default JFIF header", joined({commentSegment("old")}, imageSegments()), true, "new",
         {kDefaultJfif, commentSegment("new")}, {0}, "new"},
        {"no Exif: the photo's own JFIF header", joined({jfifSegment(), iptc}, imageSegments()), true, "new",
         {jfifSegment(), iptc, commentSegment("new")}, {0, 1}, "new"},
        {"empty comment: a segment the reader does not take", joined({exif}, imageSegments()), true, "",
         {exif, std::string("\xFF\xFE\x00\x02", 4)}, {0}, ""},
        {"header kept without Exif: the source's APP0, the comment overwritten in place",
         joined({jfifSegment(), commentSegment("old")}, imageSegments()), false, "new",
         {jfifSegment(), commentSegment("new")}, {0, 1}, "new"},
        {"no comment set: the old one is gone",
         joined({exif, xmpSegment(), commentSegment("old")}, imageSegments()), true, nullptr, {exif},
         {0, 2}, ""},
        {"nothing changed: the comment moves to the front",
         joined({exif, xmpSegment(), commentSegment("old")}, imageSegments()), false, nullptr,
         {exif, commentSegment("old")}, {0, 2}, "old"},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string source = jpegFile(c.source);
        open(source);
        if (c.drop)
            image.DropCommentAndHeader();
        if (c.comment != nullptr)
            image.SetCommentText(c.comment);
        image.SaveJpeg(path());

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
        EXPECT_EQ(readFile(path()), expected);

        TimgData written(kDecodeAll);
        ASSERT_TRUE(written.OpenImage(path()));
        EXPECT_EQ(written.CommentText(), c.readBack);
    }
}

// An empty COM segment is no comment to the reader, so the comment left out
// is the one the reader took, not an empty segment behind it: otherwise the old
// comment would stay the last one and read back instead of the new one.
TEST_F(WriterTest, AnEmptyCommentSegmentBehindTheCommentStays)
{
    const std::string exif = smallExif();
    const std::string empty = segment(0xFE, "");
    const std::string source =
        jpegFile(joined({exif, commentSegment("old"), quantTableSegment(), empty}, imageSegments()));
    openAndComment(source, "new");
    image.SaveJpeg(path());

    const size_t behindOld = 2 + exif.size() + commentSegment("old").size();
    EXPECT_EQ(readFile(path()), "\xFF\xD8" + exif + commentSegment("new") + source.substr(behindOld));
    TimgData written(kDecodeAll);
    ASSERT_TRUE(written.OpenImage(path()));
    EXPECT_EQ(written.CommentText(), "new");
}

// The place run puts the place text in front of the comment it read: a
// comment behind many other segments survives the rewrite.
TEST_F(WriterTest, PlaceTextGoesInFrontOfACommentBehindManySegments)
{
    std::vector<std::string> segments = {jfifSegment(), smallExif()};
    for (int i = 0; i < 24; ++i)
        segments.push_back(segment(0xE2, "ICC_PROFILE"));
    segments.push_back(commentSegment("Meine Notiz: Hochzeit Anna und Ben"));
    open(jpegFile(joined(segments, imageSegments())));
    const std::string comment = image.CommentText();
    image.DropCommentAndHeader();
    image.SetCommentText(">Rom<>Latium<>Italien<>IT<  " + comment);
    image.SaveJpeg(path());
    TimgData written(kDecodeAll);
    ASSERT_TRUE(written.OpenImage(path()));
    EXPECT_EQ(written.CommentText(), ">Rom<>Latium<>Italien<>IT<  Meine Notiz: Hochzeit Anna und Ben");
    EXPECT_EQ(readFile(path()).find("Meine Notiz"), readFile(path()).rfind("Meine Notiz"));
}

// A photo changed since it was read holds other segments where the reader
// found its own: nothing is written.
TEST_F(WriterTest, PhotoChangedSinceTheReadIsNotWritten)
{
    openAndComment(jpegFile(joined({smallExif(), commentSegment("old")}, imageSegments())), "new");
    const std::string changed = jpegFile(joined({smallExif(), segment(0xE2, "ICC"), commentSegment("old")},
                                                imageSegments()));
    writeFile(path(), changed);
    EXPECT_EQ(messageOf([&] { image.SaveJpeg(path()); }), "wurde inzwischen geändert");
    EXPECT_EQ(readFile(path()), changed);
    EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"image.jpg"});
}

TEST_F(WriterTest, WrittenIptcIsTheOneTheReaderTakes)
{
    const std::string first = iptcSegmentWith(iptcDataset(2, 25, "first"));
    open(jpegFile(joined({smallExif(), segment(0xE2, "ICC"), first, iptcSegmentWith(iptcDataset(2, 25, "other"))},
                         imageSegments())));
    image.DropCommentAndHeader();
    image.SetCommentText("x");
    image.SaveJpeg(path());
    ASSERT_TRUE(image.OpenImage(path()));
    ASSERT_NE(image.iptcSection, nullptr);
    EXPECT_EQ(image.iptcSection, &image.sections[1]);
    EXPECT_EQ("\xFF\xED" + image.iptcSection->bytes, first);
    // Only the one taken moved; the second is still there, unreferenced.
    EXPECT_EQ(image.sections[4].marker, 0xEDu);
    EXPECT_EQ(image.sections[5].marker, 0xDBu);
}

TEST_F(WriterTest, EmitMetadataSegmentsWritesTheBytesAsHeld)
{
    open(jpegFile(joined({smallExif(), iptcSegment()}, imageSegments())));
    // A length field that disagrees with the entry's length: the bytes win.
    image.iptcSection->length = 3;
    image.SetCommentText("hi");
    std::ostringstream out;
    image.EmitMetadataSegments(out);
    EXPECT_EQ(out.str(), "\xFF\xD8" + smallExif() + iptcSegment() + commentSegment("hi"));
}

TEST_F(WriterTest, SetCommentText)
{
    open(jpegFile(joined({smallExif(), commentSegment("old")}, imageSegments())));
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
    open(jpegFile(joined({smallExif(), commentSegment("old")}, imageSegments())));
    EXPECT_THROW(image.SetCommentText(std::string(65534, 'x')), ERangeError);
    EXPECT_EQ(image.CommentText(), "old");

    image.DropCommentAndHeader();
    EXPECT_THROW(image.SetCommentText(std::string(70000, 'x')), ERangeError);
    EXPECT_EQ(image.commentSection, nullptr);

    // Twenty segments read leave one entry for a new comment, and no more.
    std::vector<std::string> many(19, segment(0xE2, "x"));
    many.insert(many.begin(), smallExif());
    open(jpegFile(joined(many, imageSegments())));
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
    TiffBuilder tiff(true);
    const int exifDir = tiff.addDirectory();
    tiff.addPointer(0, 0x8769, exifDir);
    tiff.addShorts(exifDir, 0xA002, {100});
    tiff.addLongs(exifDir, 0xA003, {200});
    const std::string source = jpegFile(joined({exifSegment(tiff.build())}, imageSegments()));
    open(source);
    const TJPEGImage loaded(source);
    EXPECT_EQ(loaded.width(), 8);
    EXPECT_EQ(loaded.height(), 8);

    image.SaveJpegWith(loaded, path(), false);
    EXPECT_EQ(readFile(path()), source) << "without adjustSize nothing changes";

    image.SaveJpegWith(loaded, path(), true);
    TimgData written(kDecodeAll);
    ASSERT_TRUE(written.OpenImage(path()));
    EXPECT_EQ(written.exifDecoder->TagValueText("ExifImageWidth"), "8");
    EXPECT_EQ(written.exifDecoder->TagValueText("ExifImageLength"), "8");
    EXPECT_EQ(readFile(path()).size(), source.size());
}

TEST_F(WriterTest, LoadedImageParsesTheFrameHeader)
{
    const TJPEGImage real(realJpeg(40, 24));
    EXPECT_EQ(real.width(), 40);
    EXPECT_EQ(real.height(), 24);
    EXPECT_FALSE(real.progressive());

    if (!programAvailable("jpegtran"))
        GTEST_SKIP() << "no jpegtran";
    writeFile(dir.file("base.jpg"), realJpeg(40, 24));
    ASSERT_EQ(runProgram({"jpegtran", "-progressive", "-outfile", dir.file("prog.jpg"), dir.file("base.jpg")})
                  .exitStatus,
              0);
    const TJPEGImage progressive = TJPEGImage::loadFromFile(dir.file("prog.jpg"));
    EXPECT_TRUE(progressive.progressive());
    EXPECT_EQ(progressive.bytes(), readFile(dir.file("prog.jpg")));
}

TEST_F(WriterTest, SourceTheJpegLibraryCannotParseIsRefusedBeforeTheTargetIsCreated)
{
    struct BadSource {
        const char* name;
        std::string bytes;
        int messageCode;  // the JPEG library's
    };
    const BadSource sources[] = {
        {"no frame header before the scan", jpegFile({smallExif(), quantTableSegment(), scanSegment()}),
         JERR_SOS_NO_SOF},
        {"ends inside the metadata", jpegFile({smallExif()}).substr(0, 30), JERR_NO_IMAGE},
        {"not a JPEG", "GIF89a and so on", JERR_NO_SOI},
    };
    for (const BadSource& bad : sources) {
        SCOPED_TRACE(bad.name);
        EXPECT_EQ(messageOf([&] { TJPEGImage loaded(bad.bytes); }),
                  "JPEG-Fehler #" + std::to_string(bad.messageCode));

        const std::string path = dir.file("bad.jpg");
        writeFile(path, bad.bytes);
        image.OpenImage(path);
        image.sourcePath = path;
        image.DropCommentAndHeader();
        image.SetCommentText("new");
        EXPECT_THAT(messageOf([&] { image.SaveJpeg(dir.file("out.jpg")); }), MatchesRegex("JPEG-Fehler #[0-9]+"));
        EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"bad.jpg"});
        EXPECT_THAT(messageOf([&] { image.SaveJpeg(path); }), MatchesRegex("JPEG-Fehler #[0-9]+"));
        EXPECT_EQ(readFile(path), bad.bytes);
        std::filesystem::remove(path);
    }
}

TEST_F(WriterTest, MessagesNameTheFullPathAndTheSystemsReason)
{
    const std::string source = jpegFile(joined({smallExif()}, imageSegments()));
    openAndComment(source, "new");

    const std::string relative = std::filesystem::relative(dir.file("missing/out.jpg")).string();
    ASSERT_NE(relative[0], '/');
    EXPECT_EQ(messageOf([&] { image.SaveJpeg(relative); }),
              "Datei \"" + dir.file("missing/out.jpg") + "\" kann nicht erstellt werden. " +
                  std::strerror(ENOENT));

    std::filesystem::remove(path());
    EXPECT_EQ(messageOf([&] { image.SaveJpeg(dir.file("out.jpg")); }),
              "Datei " + path() + " kann nicht geöffnet werden. " + std::strerror(ENOENT));
    EXPECT_TRUE(folderEntries(dir.path()).empty());
}

TEST_F(WriterTest, PermissionBitsAndOwnerSurviveARewrite)
{
    const std::string source = jpegFile(joined({smallExif()}, imageSegments()));
    for (const mode_t mode : {0640, 0600, 0604, 0755}) {
        SCOPED_TRACE(mode);
        openAndComment(source, "new");
        ASSERT_EQ(::chmod(path().c_str(), mode), 0);
        image.SaveJpeg(path());
        EXPECT_EQ(modeOf(path()), mode);
        EXPECT_EQ(image.CommentText(), "new");
    }

    // A new file gets the bits any new file gets here.
    writeFile(dir.file("plain.jpg"), "x");
    image.SaveJpeg(dir.file("copy.jpg"));
    EXPECT_EQ(modeOf(dir.file("copy.jpg")), modeOf(dir.file("plain.jpg")));

    if (::geteuid() != 0)
        GTEST_SKIP() << "only the super-user can give a file to another owner";
    ASSERT_EQ(::chown(path().c_str(), 4321, 8765), 0);
    image.SaveJpeg(path());
    struct stat info {};
    ASSERT_EQ(::stat(path().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 8765u);
}

TEST_F(WriterTest, ReadOnlyFileIsNotRewritten)
{
    const std::string source = jpegFile(joined({smallExif(), commentSegment("old")}, imageSegments()));
    openAndComment(source, "new");
    ASSERT_EQ(::chmod(path().c_str(), 0444), 0);
    EXPECT_EQ(messageOf([&] { image.SaveJpeg(path()); }),
              "Datei \"" + path() + "\" kann nicht erstellt werden. " + std::strerror(EACCES));
    EXPECT_EQ(readFile(path()), source);
    EXPECT_EQ(modeOf(path()), 0444u);
    EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"image.jpg"});
}

TEST_F(WriterTest, SymbolicLinkTargetRewritesTheFileItNames)
{
    const std::string source = jpegFile(joined({smallExif(), commentSegment("old")}, imageSegments()));
    openAndComment(source, "new");
    const std::string link = dir.file("link.jpg");
    std::filesystem::create_symlink("image.jpg", link);
    image.SaveJpeg(link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    TimgData written(kDecodeAll);
    ASSERT_TRUE(written.OpenImage(path()));
    EXPECT_EQ(written.CommentText(), "new");
    EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{"image.jpg", "link.jpg"}));
}

// Runs the action in a child process whose files may not grow beyond limit
// bytes, so that writing fails half-way as on a full disk. The child's error
// message, or "(no error)".
std::string withFileSizeLimit(rlim_t limit, const std::function<void()>& action)
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
        const std::string message = messageOf(action);
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
    std::string source = jpegFile(joined({smallExif(), commentSegment("old")}, imageSegments()));
    source.insert(source.size() - 2, std::string(20000, '\x55'));  // image data worth writing
    openAndComment(source, "a new comment");
    ASSERT_EQ(::chmod(path().c_str(), 0640), 0);

    const std::string message = withFileSizeLimit(4096, [&] { image.SaveJpeg(path()); });
    EXPECT_EQ(message, "Datei \"" + path() + "\" kann nicht erstellt werden. " + std::strerror(EFBIG));
    EXPECT_EQ(readFile(path()), source);
    EXPECT_EQ(modeOf(path()), 0640u);
    EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"image.jpg"});

    // Within the limit the same write goes through.
    EXPECT_EQ(withFileSizeLimit(1 << 20, [&] { image.SaveJpeg(path()); }), "(no error)");
    ASSERT_TRUE(image.OpenImage(path()));
    EXPECT_EQ(image.CommentText(), "a new comment");
}

TEST_F(WriterTest, FailedRenameRemovesTheTemporaryFile)
{
    const std::string source = jpegFile(joined({smallExif()}, imageSegments()));
    openAndComment(source, "new");
    const std::string folder = dir.file("folder.jpg");
    std::filesystem::create_directory(folder);
    writeFile(folder + "/inside", "keep");
    EXPECT_THAT(messageOf([&] { image.SaveJpeg(folder); }),
                HasSubstr("Datei \"" + folder + "\" kann nicht erstellt werden. "));
    EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{"folder.jpg", "image.jpg"}));
    EXPECT_EQ(readFile(folder + "/inside"), "keep");
}

}  // namespace
}  // namespace vistado::test
