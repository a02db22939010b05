// The maker-note decoder on real camera files, with ExifTool as the peer for
// the values both read under the same meaning.

#include "runprogram.h"
#include "testfiles.h"

#include "meta/asciitext.h"
#include "meta/imgdata.h"
#include "meta/makernote.h"
#include "meta/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

namespace vistado::test {
namespace {

// How a pair of values is compared: as texts, or as numbers (a value whose
// text this decoder maps differently than ExifTool).
enum class TCompare { Text, Number };

struct TPeerValue {
    const char* key;      // our name
    const char* exifTool;  // ExifTool's tag; "#" asks for its value unconverted
    TCompare compare;
};

struct TMakerFile {
    const char* file;
    std::vector<TPeerValue> values;
};

const std::vector<TMakerFile>& MakerFiles()
{
    static const std::vector<TMakerFile> files = {
        {"jpeg/Canon_PowerShot_S40.jpg",
         {{"FirmwareVersion", "CanonFirmwareVersion", TCompare::Text},
          {"OwnerName", "OwnerName", TCompare::Text},
          {"ImageNumber", "FileNumber#", TCompare::Text},
          {"ImageType", "CanonImageType", TCompare::Text},
          {"Macro mode", "MacroMode", TCompare::Text},
          {"Drive Mode", "ContinuousDrive", TCompare::Text},
          {"Focus Mode", "FocusMode", TCompare::Text},
          {"Image Size", "CanonImageSize", TCompare::Text},
          {"CCD ISO", "CameraISO", TCompare::Text},
          {"Metering Mode", "MeteringMode", TCompare::Text},
          {"AF Point", "AFPoint", TCompare::Text},
          {"Exposure Mode", "CanonExposureMode", TCompare::Text},
          {"White balance", "Canon:WhiteBalance", TCompare::Text}}},
        {"jpeg/DSCN0010.jpg",
         {{"ColorMode", "MakerNotes:ColorMode#", TCompare::Text},
          {"Quality", "MakerNotes:Quality#", TCompare::Text},
          {"WhiteBalance", "MakerNotes:WhiteBalance#", TCompare::Text},
          {"FocusMode", "MakerNotes:FocusMode#", TCompare::Text},
          {"NoiseReduction", "NoiseReduction#", TCompare::Text}}},
        {"jpeg/Nikon_COOLPIX_P1.jpg",
         {{"Quality", "MakerNotes:Quality#", TCompare::Text},
          {"FlashSetting", "FlashSetting#", TCompare::Text},
          {"Adapter", "AuxiliaryLens#", TCompare::Text}}},
        {"jpeg/nikon-e950.jpg",
         {{"Quality", "MakerNotes:Quality#", TCompare::Number},
          {"ColorMode", "MakerNotes:ColorMode#", TCompare::Number},
          {"ImageAdjustment", "MakerNotes:ImageAdjustment#", TCompare::Number},
          {"WhiteBalance", "MakerNotes:WhiteBalance#", TCompare::Number},
          {"Converter", "Converter#", TCompare::Number}}},
        {"jpeg/Fujifilm_FinePix_E500.jpg",
         {{"Quality", "MakerNotes:Quality", TCompare::Text},
          {"Macro", "Macro", TCompare::Text},
          {"SlowSync", "SlowSync", TCompare::Text},
          {"PictureMode", "PictureMode", TCompare::Text}}},
        {"jpeg/et_Casio.jpg",
         {{"RecordingMode", "RecordingMode", TCompare::Text},
          {"Quality", "MakerNotes:Quality", TCompare::Text},
          {"FlashIntensity", "FlashIntensity", TCompare::Text},
          {"WhiteBalance", "MakerNotes:WhiteBalance", TCompare::Text},
          {"Sharpness", "MakerNotes:Sharpness", TCompare::Text}}},
        {"jpeg/olympus-c960.jpg",
         {{"CameraID", "CameraID", TCompare::Text},
          {"Firmware", "CameraType#", TCompare::Text},
          {"JpegQual", "MakerNotes:Quality#", TCompare::Number},
          {"Macro", "Macro#", TCompare::Number}}},
        {"jpeg/sanyo-vpcg250.jpg",
         {{"Special Mode", "SpecialMode#", TCompare::Text},
          {"JpegQuality", "SanyoQuality#", TCompare::Text}}},
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
    return TrimText(text);
}

// ExifTool's values of the tags, in order, "-" for a tag it does not find.
std::vector<std::string> ExifToolValues(const std::string& path, const std::vector<TPeerValue>& values)
{
    std::vector<std::string> command = {"exiftool", "-T"};
    for (const TPeerValue& value : values)
        command.push_back(std::string("-") + value.exifTool);
    command.push_back(path);
    const TProgramResult result = RunProgram(command);
    std::vector<std::string> fields;
    std::stringstream line(result.out.substr(0, result.out.find('\n')));
    for (std::string field; std::getline(line, field, '\t');)
        fields.push_back(TrimText(field));
    return fields;
}

class MakerNoteCorpusTest : public testing::Test {
protected:
    void SetUp() override
    {
        corpus = CorpusDir();
        if (corpus.empty())
            GTEST_SKIP() << "no sample files";
        SetDecimalSeparator('.');
    }
    void TearDown() override { SetDecimalSeparator(','); }

    std::string corpus;
};

TEST_F(MakerNoteCorpusTest, EveryMakerNoteDecodes)
{
    for (const TMakerFile& maker : MakerFiles()) {
        SCOPED_TRACE(maker.file);
        TimgData image(kDecodeAll);
        ASSERT_TRUE(image.OpenImage(corpus + "/" + maker.file));
        TImageInfo& decoder = *image.exifDecoder;
        EXPECT_TRUE(decoder.makerNoteDecoded);
        size_t makerTags = 0;
        for (const TTagEntry& tag : decoder.tags)
            makerTags += tag.tableId == 1;
        EXPECT_GE(makerTags, maker.values.size());
        EXPECT_FALSE(decoder.makerNoteReport.empty());

        // A successful read leaves "<none>" in errorText whatever the walk
        // put there, so the note is decoded once more on its own.
        image.errorText.clear();
        TmsInfo again(decoder.readingTiff, decoder);
        EXPECT_TRUE(again.DecodeMakerNote(decoder));
        EXPECT_EQ(image.errorText, "");
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
    EXPECT_EQ(image.exifDecoder->makerNoteReport, "");
}

TEST_F(MakerNoteCorpusTest, ValuesAgreeWithExifTool)
{
    if (!ProgramAvailable("exiftool"))
        GTEST_SKIP() << "exiftool not installed";
    for (const TMakerFile& maker : MakerFiles()) {
        SCOPED_TRACE(maker.file);
        const std::string path = corpus + "/" + maker.file;
        TimgData image(kDecodeAll);
        ASSERT_TRUE(image.OpenImage(path));
        const TImageInfo& decoder = *image.exifDecoder;
        const std::vector<std::string> peer = ExifToolValues(path, maker.values);
        ASSERT_EQ(peer.size(), maker.values.size());
        for (size_t i = 0; i < peer.size(); ++i) {
            const TPeerValue& value = maker.values[i];
            SCOPED_TRACE(value.key);
            ASSERT_GE(decoder.IndexOfName(value.key), 0);
            ASSERT_NE(peer[i], "-") << value.exifTool;
            if (value.compare == TCompare::Number)
                EXPECT_EQ(decoder.TagNumber(value.key), std::strtod(peer[i].c_str(), nullptr));
            else
                EXPECT_EQ(Plain(decoder.TagValueText(value.key)), peer[i]);
        }
    }
}

}  // namespace
}  // namespace vistado::test
