#include "meta/endind.h"
#include "meta/rangeerror.h"

#include <gtest/gtest.h>

namespace vistado {
namespace {

TEST(EndInd, ReadsInBothByteOrders)
{
    tEndInd data;
    data.buffer = std::string("\x12\x34\x56\x78\x9A", 5);
    data.bigEndian = true;
    EXPECT_EQ(data.Read16At(1), 0x1234);
    EXPECT_EQ(data.Read32At(2), 0x3456789Au);
    data.bigEndian = false;
    EXPECT_EQ(data.Read16At(1), 0x3412);
    EXPECT_EQ(data.Read32At(2), 0x9A785634u);
}

TEST(EndInd, ReadsOutsideTheBufferAreRangeErrors)
{
    tEndInd data;
    data.buffer = "abcd";
    EXPECT_NO_THROW(data.Read32At(1));
    EXPECT_THROW(data.Read32At(2), ERangeError);
    EXPECT_THROW(data.Read16At(4), ERangeError);
    EXPECT_THROW(data.Read16At(0), ERangeError);
    EXPECT_THROW(data.Read16At(-5), ERangeError);
    EXPECT_THROW(data.Read32At(INT64_MAX - 1), ERangeError);
}

TEST(EndInd, CountsAndOffsetsBelow2To31)
{
    tEndInd data;
    data.bigEndian = true;
    data.buffer = std::string("\x7F\xFF\xFF\xFF\x80\x00\x00\x00", 8);
    EXPECT_EQ(data.readOffsetAt(1), INT32_MAX);
    EXPECT_THROW(data.readOffsetAt(5), ERangeError);
}

TEST(EndInd, WritesInItsByteOrder)
{
    tEndInd data;
    std::string target(6, '\0');
    data.bigEndian = true;
    data.Write32At(target, 0x01020304, 2);
    EXPECT_EQ(target, std::string("\0\x01\x02\x03\x04\0", 6));
    data.bigEndian = false;
    data.Write32At(target, 0x01020304, 3);
    EXPECT_EQ(target, std::string("\0\x01\x04\x03\x02\x01", 6));
    EXPECT_THROW(data.Write32At(target, 1, 4), ERangeError);
}

TEST(EndInd, BytesAtGivesWhatExists)
{
    EXPECT_EQ(bytesAt("abcdef", 2, 3), "bcd");
    EXPECT_EQ(bytesAt("abcdef", 5, 10), "ef");
    EXPECT_EQ(bytesAt("abcdef", 7, 1), "");
    EXPECT_EQ(bytesAt("abcdef", 0, 2), "");
    EXPECT_EQ(bytesAt("abcdef", 1, -1), "");
    EXPECT_EQ(bytesAt("abcdef", 1, INT64_MAX), "abcdef");
}

}  // namespace
}  // namespace vistado
