// The maker-note decoder on real camera files, with ExifTool as the peer for
// the values both read under the same meaning.

#include "runprogram.h"
#include "testfiles.h"

#include "meta/text/asciitext.h"
#include "meta/container/imgdata.h"
#include "meta/makernote/makernote.h"
#include "meta/text/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

namespace vistado::test {
namespace {

// How a pair of values is compared: as texts, or as numbers (a value whose
// text this decoder maps differently than ExifTool).
enum class Compare { Text, Number };

struct PeerValue {
    const char* key;      // our name
    const char* exifTool;  // ExifTool's tag; "#" asks for its value unconverted
    Compare compare;
};

struct MakerFile {
    const char* file;
    std::vector<PeerValue> values;
};

const std::vector<MakerFile>& makerFiles()
{
    static const std::vector<MakerFile> files = {
        {"jpeg/Canon_PowerShot_S40.jpg",
         {{"FirmwareVersion", "CanonFirmwareVersion", Compare::Text},
          {"OwnerName", "OwnerName", Compare::Text},
          {"ImageNumber", "FileNumber#", Compare::Text},
          {"ImageType", "CanonImageType", Compare::Text},
          {"Macro mode", "MacroMode", Compare::Text},
          {"Drive Mode", "ContinuousDrive", Compare::Text},
          {"Focus Mode", "FocusMode", Compare::Text},
          {"Image Size", "CanonImageSize", Compare::Text},
          {"CCD ISO", "CameraISO", Compare::Text},
          {"Metering Mode", "MeteringMode", Compare::Text},
          {"AF Point", "AFPoint", Compare::Text},
          {"Exposure Mode", "CanonExposureMode", Compare::Text},
          {"White balance", "Canon:WhiteBalance", Compare::Text}}},
        {"jpeg/DSCN0010.jpg",
         {{"ColorMode", "MakerNotes:ColorMode#", Compare::Text},
          {"Quality", "MakerNotes:Quality#", Compare::Text},
          {"WhiteBalance", "MakerNotes:WhiteBalance#", Compare::Text},
          {"FocusMode", "MakerNotes:FocusMode#", Compare::Text},
          {"NoiseReduction", "NoiseReduction#", Compare::Text}}},
        {"jpeg/Nikon_COOLPIX_P1.jpg",
         {{"Quality", "MakerNotes:Quality#", Compare::Text},
          {"FlashSetting", "FlashSetting#", Compare::Text},
          {"Adapter", "AuxiliaryLens#", Compare::Text}}},
        {"jpeg/nikon-e950.jpg",
         {{"Quality", "MakerNotes:Quality#", Compare::Number},
          {"ColorMode", "MakerNotes:ColorMode#", Compare::Number},
          {"ImageAdjustment", "MakerNotes:ImageAdjustment#", Compare::Number},
          {"WhiteBalance", "MakerNotes:WhiteBalance#", Compare::Number},
          {"Converter", "Converter#", Compare::Number}}},
        {"jpeg/Fujifilm_FinePix_E500.jpg",
         {{"Quality", "MakerNotes:Quality", Compare::Text},
          {"Macro", "Macro", Compare::Text},
          {"SlowSync", "SlowSync", Compare::Text},
          {"PictureMode", "PictureMode", Compare::Text}}},
        {"jpeg/et_Casio.jpg",
         {{"RecordingMode", "RecordingMode", Compare::Text},
          {"Quality", "MakerNotes:Quality", Compare::Text},
          {"FlashIntensity", "FlashIntensity", Compare::Text},
          {"WhiteBalance", "MakerNotes:WhiteBalance", Compare::Text},
          {"Sharpness", "MakerNotes:Sharpness", Compare::Text}}},
        {"jpeg/olympus-c960.jpg",
         {{"CameraID", "CameraID", Compare::Text},
          {"Firmware", "CameraType#", Compare::Text},
          {"JpegQual", "MakerNotes:Quality#", Compare::Number},
          {"Macro", "Macro#", Compare::Number}}},
        {"jpeg/sanyo-vpcg250.jpg",
         {{"Special Mode", "SpecialMode#", Compare::Text},
          {"JpegQuality", "SanyoQuality#", Compare::Text}}},
    };
    return files;
}

// A value as both programs mean it: without the double quotes this decoder
// puts around texts, the padding of fixed-length texts (blanks, and zero bytes
// shown as "."), and with lists separated by blanks as ExifTool writes them.
std::string Plain(std::string text)
{
    if (text.starts_with('"'))
        text.erase(0, 1);
    if (text.ends_with('"'))
        text.pop_back();
    while (!text.empty() && (text.back() == '.' || text.back() == ' '))
        text.pop_back();
    for (size_t comma; (comma = text.find(", ")) != std::string::npos;)
        text.replace(comma, 2, " ");
    return trimText(text);
}

// ExifTool's values of the tags, in order, "-" for a tag it does not find.
std::vector<std::string> exifToolValues(const std::string& path, const std::vector<PeerValue>& values)
{
    std::vector<std::string> command = {"exiftool", "-T"};
    for (const PeerValue& value : values)
        command.push_back(std::string("-") + value.exifTool);
    command.push_back(path);
    const ProgramResult result = runProgram(command);
    std::vector<std::string> fields;
    std::stringstream line(result.out.substr(0, result.out.find('\n')));
    for (std::string field; std::getline(line, field, '\t');)
        fields.push_back(trimText(field));
    return fields;
}

class MakerNoteCorpusTest : public testing::Test {
protected:
    void SetUp() override
    {
        corpus = corpusDir();
        if (corpus.empty())
            GTEST_SKIP() << "no sample files";
        setDecimalSeparator('.');
    }
    void TearDown() override { setDecimalSeparator(','); }

    std::string corpus;
};

TEST_F(MakerNoteCorpusTest, EveryMakerNoteDecodes)
{
    for (const MakerFile& maker : makerFiles()) {
        SCOPED_TRACE(maker.file);
        TimgData image(kDecodeAll);
        ASSERT_TRUE(image.OpenImage(corpus + "/" + maker.file));
        TImageInfo& decoder = *image.exifDecoder;
        EXPECT_TRUE(decoder.makerNoteDecoded);
        size_t makerTags = 0;
        for (const TTagEntry& tag : decoder.tags())
            makerTags += tag.tableId == 1;
        EXPECT_GE(makerTags, maker.values.size());
        EXPECT_FALSE(decoder.makerNoteReport().empty());

        // The read does not keep the walk's error text, so the note is
        // decoded once more on its own.
        MakerNote note = decoder.makerNote();
        TmsInfo again(decoder.readingTiff, note);
        EXPECT_TRUE(again.DecodeMakerNote(note));
        EXPECT_EQ(note.errorText, "");
    }
}

// Its make, "KONICA MINOLTA", is not one the decoder knows by its first five
// letters; the note is kept but not walked.
TEST_F(MakerNoteCorpusTest, KonicaMinoltaIsNotRecognised)
{
    TimgData image(kDecodeAll);
    ASSERT_TRUE(image.OpenImage(corpus + "/jpeg/Konica_Minolta_DiMAGE_Z3.jpg"));
    EXPECT_FALSE(image.exifDecoder->makerNoteDecoded);
    EXPECT_FALSE(image.exifDecoder->makerNoteBytes.empty());
    EXPECT_EQ(image.exifDecoder->makerNoteReport(), "");
}

TEST_F(MakerNoteCorpusTest, ValuesAgreeWithExifTool)
{
    if (!programAvailable("exiftool"))
        GTEST_SKIP() << "exiftool not installed";
    for (const MakerFile& maker : makerFiles()) {
        SCOPED_TRACE(maker.file);
        const std::string path = corpus + "/" + maker.file;
        TimgData image(kDecodeAll);
        ASSERT_TRUE(image.OpenImage(path));
        const TImageInfo& decoder = *image.exifDecoder;
        const std::vector<std::string> peer = exifToolValues(path, maker.values);
        ASSERT_EQ(peer.size(), maker.values.size());
        for (size_t i = 0; i < peer.size(); ++i) {
            const PeerValue& value = maker.values[i];
            SCOPED_TRACE(value.key);
            ASSERT_GE(decoder.IndexOfName(value.key), 0);
            ASSERT_NE(peer[i], "-") << value.exifTool;
            if (value.compare == Compare::Number)
                EXPECT_EQ(decoder.TagNumber(value.key), std::strtod(peer[i].c_str(), nullptr));
            else
                EXPECT_EQ(Plain(decoder.TagValueText(value.key)), peer[i]);
        }
    }
}

}  // namespace
}  // namespace vistado::test
