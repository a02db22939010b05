#include "app/exiftool/exiftoolcalls.h"
#include "app/exiftool/gpstext.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vistado::test {

namespace {

TEST(GpsText, WhereTheBackupOfAnImageLies)
{
    const struct {
        const char* image;
        const char* folder;
        const char* baseName;
        const char* file;
    } cases[] = {
        {"/home/u/Bilder/IMG_1.JPG", "/home/u/Bilder/gpstext", "IMG_1", "/home/u/Bilder/gpstext/IMG_1.txt"},
        {"Foto.Urlaub.jpg", "gpstext", "Foto.Urlaub", "gpstext/Foto.Urlaub.txt"},
        {"rom/b.JpG", "rom/gpstext", "b", "rom/gpstext/b.txt"},
        // A folder named like an image does not move the file elsewhere.
        {"/a/alt.jpg.d/c.jpg", "/a/alt.jpg.d/gpstext", "c", "/a/alt.jpg.d/gpstext/c.txt"},
        // The name without its last extension, as ExifTool's %f names the backup.
        {"/a/x.JPG.jpg", "/a/gpstext", "x.JPG", "/a/gpstext/x.JPG.txt"},
        {"/a/.jpg", "/a/gpstext", "", "/a/gpstext/.txt"},
        {"/a/bild.png", "/a/gpstext", "bild", "/a/gpstext/bild.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.image);
        EXPECT_EQ(mache_gpsdatenpfad(c.image), c.folder);
        EXPECT_EQ(backupBaseName(c.image), c.baseName);
        EXPECT_EQ(backupTextFile(c.image), c.file);
    }
}

TEST(GpsText, RemoveBlanksTakesOutBlanksOnly)
{
    EXPECT_EQ(RemoveBlanks(" GPS  Latitude Ref "), "GPSLatitudeRef");
    EXPECT_EQ(RemoveBlanks("a\tb"), "a\tb");
    EXPECT_EQ(RemoveBlanks(""), "");
}

TEST(GpsText, ParseDmsLineTakesExifToolsValueApart)
{
    const struct {
        const char* line;
        const char* value;
        const char* reference;
    } cases[] = {
        {"GPS Latitude                    : 48 deg 8' 13.75\" N", "\"48  8 13.75\"", "N"},
        {"GPS Longitude                   : 122 deg 25' 9.00\" W", "\"122  25 9.00\"", "W"},
        {"GPS Latitude: 0 deg 0' 0.00\" S", "\"0  0 0.00\"", "S"},
        // Not ExifTool's form: the pieces whose marks are missing stay empty.
        {"GPS Latitude                    : 48.137154", "\"  \"", ""},
        {"GPS Latitude : 48 deg 8' 13.75\"", "\"48  8 13.75\"", ""},
        {"GPS Latitude : 48 deg 8.5", "\"48   \"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const DmsValue parsed = ParseDmsLine(c.line);
        EXPECT_EQ(parsed.value, c.value);
        EXPECT_EQ(parsed.reference, c.reference);
    }
}

TEST(GpsText, ReadGpsBackupTakesTheLatitudeAndLongitudeLines)
{
    std::istringstream text("GPS Latitude Ref                : North\r\n"
                            "gps latitude : 1 deg 2' 3.00\" S\r\n"
                            "GPS Longitude                   : 11 deg 34' 34.05\" E\r\n"
                            "no colon here\r\n"
                            "GPSLATITUDE                     : 48 deg 8' 13.75\" N");
    const GpsBackup backup = readGpsBackup(text);
    EXPECT_EQ(backup.latitude.value, "\"48  8 13.75\"");
    EXPECT_EQ(backup.latitude.reference, "N");
    EXPECT_EQ(backup.longitude.value, "\"11  34 34.05\"");
    EXPECT_EQ(backup.longitude.reference, "E");

    std::istringstream empty("Something : else\n");
    const GpsBackup none = readGpsBackup(empty);
    EXPECT_EQ(none.latitude.value, "");
    EXPECT_EQ(none.longitude.reference, "");
}

TEST(GpsText, OnlyABackupWithBothCoordinatesInRangeIsComplete)
{
    const std::string latitude = "GPS Latitude                    : ";
    const std::string longitude = "\nGPS Longitude                   : ";
    const struct {
        std::string text;
        bool complete;
    } cases[] = {
        {latitude + "48 deg 8' 13.75\" N" + longitude + "11 deg 34' 34.05\" E\n", true},
        {latitude + "90 deg 0' 0.00\" S" + longitude + "180 deg 0' 0.00\" W", true},
        {"", false},
        {latitude + "48 deg 8' 13.75\" N\n", false},
        {longitude + "11 deg 34' 34.05\" E\n", false},
        {latitude + "48.137154" + longitude + "11.576124", false},
        {latitude + "48 deg 8' 13.75\"" + longitude + "11 deg 34' 34.05\" E", false},
        {latitude + "48 deg 8' 13.75\" E" + longitude + "11 deg 34' 34.05\" N", false},
        {latitude + "91 deg 0' 0.00\" N" + longitude + "11 deg 34' 34.05\" E", false},
        {latitude + "90 deg 0' 0.01\" N" + longitude + "11 deg 34' 34.05\" E", false},
        {latitude + "48 deg 60' 0.00\" N" + longitude + "11 deg 34' 34.05\" E", false},
        {latitude + "48 deg 8' 60.00\" N" + longitude + "11 deg 34' 34.05\" E", false},
        {latitude + "-48 deg 8' 13.75\" N" + longitude + "11 deg 34' 34.05\" E", false},
        {latitude + "48 deg 8' 1e1\" N" + longitude + "11 deg 34' 34.05\" E", false},
        {latitude + "48 deg 8 5' 13.75\" N" + longitude + "11 deg 34' 34.05\" E", false},
        {latitude + "48 deg 8' 13.75\" N" + longitude + "181 deg 0' 0.00\" E", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::istringstream text(c.text);
        EXPECT_EQ(backupComplete(readGpsBackup(text)), c.complete);
    }
}

TEST(ExifToolCalls, BackupAsTheCaptionShowsItAndAsExifToolGetsIt)
{
    const ExifToolCall inFolder = backupCall("/home/u/Bilder 2010/-x; \"y\".jpg");
    EXPECT_EQ(inFolder.parameterText, " -overwrite_original  -gpslatitude -gpslongitude -w "
                                      "\"/home/u/Bilder 2010/gpstext/%f.txt\" \"/home/u/Bilder 2010/-x; \"y\".jpg\"");
    const std::vector<std::string> options{"-overwrite_original", "-gpslatitude", "-gpslongitude", "-w",
                                           "%dgpstext/%f.txt"};
    EXPECT_EQ(inFolder.options, options);

    const ExifToolCall bare = backupCall("-a.jpg");
    EXPECT_EQ(bare.parameterText, " -overwrite_original  -gpslatitude -gpslongitude -w \"gpstext/%f.txt\" \"-a.jpg\"");
    EXPECT_EQ(bare.options, options);
}

TEST(ExifToolCalls, RestoreWritesTheFourTagsWithoutTheQuotesAShellWouldHaveRemoved)
{
    const GpsBackup backup{{"\"48  8 13.75\"", "N"}, {"\"122  25 9.00\"", "W"}};
    const std::vector<TagValue> tags{{"gpslatitude", "48  8 13.75"}, {"gpslatituderef", "N"},
                                     {"gpslongitude", "122  25 9.00"}, {"gpslongituderef", "W"}};
    EXPECT_EQ(restoreTags(backup), tags);
}

}  // namespace

}  // namespace vistado::test
