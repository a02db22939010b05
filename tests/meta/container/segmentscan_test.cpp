#include "meta/imagefiletest.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vistado::test {
namespace {

std::string smallExif()
{
    TiffBuilder tiff(false);
    tiff.addAscii(0, 0x010F, "Maker");
    return exifSegment(tiff.build());
}

class SegmentScanTest : public ImageFileTest {};

TEST_F(SegmentScanTest, TypicalCameraFile)
{
    ASSERT_TRUE(open(jpegFile({jfifSegment(), smallExif(), quantTableSegment(), frameSegment(8, 8),
                               huffmanTableSegment(), scanSegment()})));
    EXPECT_EQ(image.errorText, "<none>");
    EXPECT_EQ(image.sectionCount, 6);
    EXPECT_EQ(image.headerSection, &image.sections[0]);
    EXPECT_EQ(image.exifSection, &image.sections[1]);
    EXPECT_EQ(image.sections[5].marker, 0xDAu);
    EXPECT_EQ(image.sections[5].length, 12);
    EXPECT_EQ(image.sections[5].bytes.size(), 12u);
    EXPECT_EQ(image.commentSection, nullptr);
    EXPECT_EQ(image.iptcSection, nullptr);
    EXPECT_TRUE(image.ExifPresent());
    EXPECT_EQ(value("Make"), "Maker");
}

TEST_F(SegmentScanTest, SecondApp1IsDropped)
{
    ASSERT_TRUE(open(jpegFile({smallExif(), xmpSegment(), quantTableSegment(), scanSegment()})));
    EXPECT_EQ(image.sectionCount, 3);
    EXPECT_EQ(image.sections[1].marker, 0xDBu);
    EXPECT_EQ(value("Make"), "Maker");
}

// The Exif segment is the APP1 segment that holds Exif data, behind an XMP
// packet too; without one, the first APP1 segment stands for it.
TEST_F(SegmentScanTest, ExifSegmentIsTheApp1ThatHoldsExifData)
{
    ASSERT_TRUE(open(jpegFile({xmpSegment(), smallExif(), quantTableSegment(), scanSegment()})));
    EXPECT_EQ(image.errorText, "<none>");
    EXPECT_EQ(image.exifSection, &image.sections[1]);
    EXPECT_EQ(image.sectionCount, 4);
    EXPECT_EQ(value("Make"), "Maker");

    ASSERT_TRUE(open(jpegFile({xmpSegment(), xmpSegment(), quantTableSegment(), scanSegment()})));
    EXPECT_EQ(image.exifSection, &image.sections[0]);
    EXPECT_EQ(image.sectionCount, 3);
    EXPECT_TRUE(decoder().tags().empty());
}

// Metadata behind any number of other segments is found; a file with none
// still reads as no Exif file.
TEST_F(SegmentScanTest, MetadataAnywhereBeforeTheImageData)
{
    EXPECT_FALSE(open(jpegFile({jfifSegment(), quantTableSegment(), quantTableSegment(), frameSegment(8, 8),
                                huffmanTableSegment(), scanSegment()})));
    EXPECT_EQ(image.errorText, "Not an EXIF file");

    ASSERT_TRUE(open(jpegFile({jfifSegment(), quantTableSegment(), quantTableSegment(), frameSegment(8, 8),
                               huffmanTableSegment(), commentSegment("late"), scanSegment()})));
    EXPECT_EQ(image.CommentText(), "late");

    std::vector<std::string> segments = {jfifSegment()};
    for (int i = 0; i < 30; ++i)
        segments.push_back(segment(0xE2, "ICC_PROFILE chunk"));
    segments.push_back(smallExif());
    segments.push_back(commentSegment("Meine Notiz: Hochzeit Anna und Ben"));
    segments.push_back(scanSegment());
    ASSERT_TRUE(open(jpegFile(segments)));
    EXPECT_EQ(image.sectionCount, TimgData::kSectionsRead);
    EXPECT_EQ(value("Make"), "Maker");
    EXPECT_EQ(image.CommentText(), "Meine Notiz: Hochzeit Anna und Ben");
    EXPECT_EQ(image.headerSection, &image.sections[0]);
}

TEST_F(SegmentScanTest, LastCommentWins)
{
    ASSERT_TRUE(open(jpegFile({commentSegment("one"), commentSegment("two"),
                               commentSegment(">>>> Rom  three"), scanSegment()})));
    EXPECT_EQ(image.commentSection, &image.sections[2]);
    EXPECT_EQ(image.CommentText(), ">>>> Rom  three");
}

TEST_F(SegmentScanTest, CommentTextFollowsItsOwnLengthField)
{
    ASSERT_TRUE(open(jpegFile({commentSegment("abcdef"), scanSegment()})));
    image.commentSection->bytes[1] = 5;  // announces three payload bytes
    EXPECT_EQ(image.CommentText(), "abc");
    image.commentSection->bytes[1] = 40;  // more than there are
    EXPECT_EQ(image.CommentText(), "abcdef");
}

TEST_F(SegmentScanTest, EmptyCommentSegmentIsStoredButNotTaken)
{
    ASSERT_TRUE(open(jpegFile({commentSegment("kept"), commentSegment(""), scanSegment()})));
    EXPECT_EQ(image.sectionCount, 3);
    EXPECT_EQ(image.CommentText(), "kept");
}

TEST_F(SegmentScanTest, LengthFieldBelowTwoFailsTheRead)
{
    for (uint16_t length : {0, 1}) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(open(jpegFile({commentSegment("c"), segmentWithLength(0xDB, length, ""), scanSegment()})));
        EXPECT_EQ(image.errorText, "Not an EXIF file");
    }
}

TEST_F(SegmentScanTest, FillBytesBeforeAMarker)
{
    ASSERT_TRUE(open("\xFF\xD8\xFF\xFF\xFF" + commentSegment("filled") + "\xFF\xFF" + scanSegment() + "\xFF\xD9"));
    EXPECT_EQ(image.CommentText(), "filled");
    EXPECT_EQ(image.sections[1].marker, 0xDAu);
}

TEST_F(SegmentScanTest, TableHoldsTwentySegments)
{
    std::vector<std::string> segments = {commentSegment("c"), smallExif()};
    for (int i = 0; i < 3; ++i)
        segments.push_back(xmpSegment());  // dropped: not counted
    for (int i = 0; i < 22; ++i)
        segments.push_back(quantTableSegment());
    segments.push_back(scanSegment());
    ASSERT_TRUE(open(jpegFile(segments)));
    EXPECT_EQ(image.sectionCount, TimgData::kSectionsRead);
    EXPECT_EQ(image.sections[2].marker, 0xDBu);
    EXPECT_EQ(image.sections[19].marker, 0xDBu);
}

TEST_F(SegmentScanTest, ExtensionsDecideThePath)
{
    const std::string jpeg = jpegFile({commentSegment("c"), scanSegment()});
    EXPECT_TRUE(open(jpeg, "upper.JPG"));
    EXPECT_TRUE(open(jpeg, "long.Jpeg"));
    EXPECT_TRUE(open(jpeg, "short.jpe"));
    for (const char* name : {"other.jfif", "noextension", "dot.jpg.bak"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(open(jpeg, name));
        EXPECT_EQ(image.errorText, "Not an EXIF file");
    }
}

TEST_F(SegmentScanTest, MissingFileLeavesErrorTextEmpty)
{
    const std::string folderLikeAPhoto = dir.file("folder.jpg");
    std::filesystem::create_directory(folderLikeAPhoto);
    for (const bool locking : {true, false}) {
        SCOPED_TRACE(locking);
        image.lockForRewrite = locking;
        for (const std::string& path : {dir.file("absent.jpg"), dir.path(), folderLikeAPhoto}) {
            SCOPED_TRACE(path);
            EXPECT_FALSE(image.OpenImage(path));
            EXPECT_EQ(image.errorText, "");
        }
    }
}

TEST_F(SegmentScanTest, FileThatCannotBeOpened)
{
    // A socket exists in the file system, but opening it for reading fails.
    const std::string path = dir.file("socket.jpg");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    for (const bool locking : {true, false}) {
        SCOPED_TRACE(locking);
        image.lockForRewrite = locking;
        EXPECT_FALSE(image.OpenImage(path));
        EXPECT_EQ(image.errorText, "Illegal Exif construction");
    }
    ::close(fd);
}

TEST_F(SegmentScanTest, NoStartOfImage)
{
    EXPECT_FALSE(open("GIF89a"));
    EXPECT_EQ(image.errorText, "Not an EXIF file");
    EXPECT_FALSE(open(""));
}

TEST_F(SegmentScanTest, ExifHeaderMessagesLastUntilAFailedRead)
{
    const std::string broken = segmentWithLength(0xDB, 1, "");
    EXPECT_FALSE(open(jpegFile({segment(0xE1, std::string("Exig\0\0II", 8)), broken})));
    EXPECT_EQ(image.errorText, "Incorrect Exif header");
    EXPECT_TRUE(image.ExifPresent());
    EXPECT_FALSE(open(jpegFile({segment(0xE1, std::string("Exif\0\0XX*\0\0\0\0\x08", 14)), broken})));
    EXPECT_EQ(image.errorText, "Invalid Exif alignment marker");
    // A successful read replaces them.
    EXPECT_TRUE(open(jpegFile({segment(0xE1, std::string("Exif\0\0XX", 8)), scanSegment()})));
    EXPECT_EQ(image.errorText, "<none>");
}

TEST_F(SegmentScanTest, ErrorInFirstDirectoryFailsTheRead)
{
    TiffBuilder tiff(true);
    tiff.addAscii(0, 0x010F, "Maker");
    tiff.addRawEntry(0, 0x0110, 13, 1, 0);
    EXPECT_FALSE(openExif(tiff));
    EXPECT_EQ(image.errorText, "Not an EXIF file");
}

TEST_F(SegmentScanTest, FileEndingEarly)
{
    const std::string comment = commentSegment("kept");
    const std::string exif = smallExif();
    // Inside a segment: the entry keeps the bytes that exist.
    const std::string cut = "\xFF\xD8" + comment + exif.substr(0, 20);
    ASSERT_TRUE(open(cut));
    EXPECT_EQ(image.sectionCount, 2);
    EXPECT_EQ(image.sections[1].bytes, exif.substr(2, 18));
    EXPECT_EQ(image.sections[1].length, static_cast<int32_t>(exif.size() - 2));
    EXPECT_FALSE(image.ExifPresent());
    // Before any metadata: nothing found.
    EXPECT_FALSE(open("\xFF\xD8" + jfifSegment() + exif.substr(0, 20)));
    // After an EOI at the very end, and between segments.
    EXPECT_TRUE(open("\xFF\xD8" + comment + "\xFF\xD9"));
    EXPECT_EQ(image.sectionCount, 1);
    EXPECT_TRUE(open("\xFF\xD8" + comment));
    EXPECT_TRUE(open("\xFF\xD8" + comment + "\xFF"));
}

TEST_F(SegmentScanTest, ContainerServesOneFileAfterAnother)
{
    ASSERT_TRUE(open(jpegFile({smallExif(), commentSegment("first"), scanSegment()})));
    ASSERT_TRUE(open(jpegFile({commentSegment("second"), scanSegment()}), "second.jpg"));
    EXPECT_FALSE(image.ExifPresent());
    EXPECT_EQ(image.exifDecoder, nullptr);
    EXPECT_EQ(image.CommentText(), "second");
    EXPECT_EQ(image.sourcePath, dir.file("second.jpg"));
    EXPECT_EQ(image.sectionCount, 2);
}

TEST_F(SegmentScanTest, App13IsTheIptcSection)
{
    ASSERT_TRUE(open(jpegFile({jfifSegment(), iptcSegment(), iptcSegment(), scanSegment()})));
    EXPECT_EQ(image.iptcSection, &image.sections[1]);
    EXPECT_EQ(image.sectionCount, 4);
}

// A read for a rewrite keeps the photo locked against our other writers; a
// read that never writes leaves it free.
TEST_F(SegmentScanTest, OnlyAReadForARewriteHoldsTheLock)
{
    for (const bool rewrite : {true, false}) {
        SCOPED_TRACE(rewrite);
        image.lockForRewrite = rewrite;
        ASSERT_TRUE(open(jpegFile({commentSegment("c"), scanSegment()})));
        const int fd = ::open(dir.file("image.jpg").c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB) == 0, !rewrite);
        ::close(fd);
    }
}

TEST_F(SegmentScanTest, FileInformation)
{
    const std::string bytes = jpegFile({commentSegment(std::string(3000, 'x')), scanSegment()});
    ASSERT_TRUE(open(bytes));
    EXPECT_EQ(image.sourceSize, static_cast<int64_t>(bytes.size()));
    EXPECT_NE(image.sourceDate, 0);
}

}  // namespace
}  // namespace vistado::test
