// vistado-meta --json, read back with the JSON library scripts use: the same tags as
// --tags and records as --iptc, valid UTF-8 whatever bytes the files hold, and an object for a file it cannot read.

#include "jpegbuilder.h"
#include "runprogram.h"
#include "testfiles.h"
#include "tiffbuilder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace vistado::test {
namespace {

using Json = nlohmann::ordered_json;

ProgramResult metaInLocale(const std::string& locale, std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), VISTADO_META_TOOL);
    ProgramOptions options;
    options.environment["LC_ALL"] = locale;
    return runProgram(arguments, options);
}

// The name and value pairs of --tags, then those of --iptc with "IPTC:" in front; the
// first of each name.
std::vector<std::pair<std::string, std::string>> tagLines(const std::string& file)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const std::string mode : {"--tags", "--iptc"}) {
        std::istringstream lines(metaInLocale("C", {mode, file}).out);
        for (std::string line; std::getline(lines, line);) {
            const size_t tab = line.find('\t');
            const std::string name = (mode == "--iptc" ? "IPTC:" : "") + line.substr(0, tab);
            if (std::none_of(pairs.begin(), pairs.end(), [&](const auto& pair) { return pair.first == name; }))
                pairs.emplace_back(name, line.substr(tab + 1));
        }
    }
    return pairs;
}

TEST(MetaToolJson, MatchesTagsForTheSampleFiles)
{
    const std::string corpus = corpusDir();
    if (corpus.empty())
        GTEST_SKIP() << "no sample files";
    std::vector<std::string> files;
    for (const char* folder : {"/jpeg", "/tiff"})
        for (const auto& entry : std::filesystem::directory_iterator(corpus + folder))
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());

    std::vector<std::string> arguments = files;
    arguments.insert(arguments.begin(), "--json");
    const ProgramResult json = metaInLocale("C", arguments);
    const Json all = Json::parse(json.out);
    ASSERT_EQ(all.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i]);
        const Json& object = all[i];
        ASSERT_EQ(object.at("SourceFile"), files[i]);
        if (object.contains("Error")) {
            EXPECT_NE(metaInLocale("C", {"--tags", files[i]}).exitStatus, 0);
            EXPECT_NE(json.err.find(files[i] + ": "), std::string::npos);
            continue;
        }
        std::vector<std::pair<std::string, std::string>> fromJson;
        for (const auto& [name, value] : object.items())
            if (name != "SourceFile")
                fromJson.emplace_back(name, value.get<std::string>());
        EXPECT_EQ(fromJson, tagLines(files[i]));
    }
}

// A file whose tags hold bytes that are no UTF-8 still gives JSON that parses; text that is
// UTF-8 in a UTF-8 locale stays as it is; a file that cannot be read gets "Error", and the
// files after it are still there.
TEST(MetaToolJson, ValidUtf8AndAnErrorObject)
{
    TempDir dir;
    const auto photoWithArtist = [&](const std::string& name, const std::string& artist) {
        TiffBuilder tiff(false);
        tiff.addAscii(0, 0x010F, "NIKON");
        tiff.addAscii(0, 0x013B, artist);
        writeFile(dir.file(name), jpegFile({exifSegment(tiff.build()), quantTableSegment(), scanSegment()}));
        return dir.file(name);
    };
    const std::string latin1 = photoWithArtist("latin1.jpg", "Ren\xE9 M");
    const std::string utf8 = photoWithArtist("utf8.jpg", "Ren\xC3\xA9");
    const std::string broken = dir.file("broken.jpg");
    writeFile(broken, "not a JPEG at all");

    const struct {
        std::string locale;
        std::string file;
        std::string artist;
    } cases[] = {
        {"C", latin1, "Ren\xEF\xBF\xBD M"},
        {"C.UTF-8", latin1, "Ren\xEF\xBF\xBD M"},
        {"C.UTF-8", utf8, "Ren\xC3\xA9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale + " " + c.file);
        const ProgramResult result = metaInLocale(c.locale, {"--json", broken, c.file});
        EXPECT_EQ(result.exitStatus, 1);
        const Json all = Json::parse(result.out);
        ASSERT_EQ(all.size(), 2u);
        EXPECT_EQ(all[0].at("SourceFile"), broken);
        EXPECT_FALSE(all[0].at("Error").get<std::string>().empty());
        EXPECT_EQ(all[1].at("Make"), "NIKON");
        EXPECT_EQ(all[1].at("Artist"), c.artist);
    }
}

}  // namespace
}  // namespace vistado::test
