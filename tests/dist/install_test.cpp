// The install as a packager makes it: `cmake --install` into a temporary DESTDIR under a
// prefix of its own, then the installed programs run from there, far from the build tree.

#include "realjpeg.h"
#include "runprogram.h"
#include "testfiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <sys/stat.h>

namespace vistado::test {
namespace {

const std::string kPrefix = "/opt/vistado-test";

class InstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        destDir = std::make_unique<TempDir>();
        ProgramOptions options;
        options.environment["DESTDIR"] = destDir->path();
        installed = runProgram({VISTADO_CMAKE, "--install", VISTADO_BUILD_DIR, "--prefix", kPrefix}, options);
    }
    static void TearDownTestSuite() { destDir.reset(); }

    void SetUp() override { ASSERT_EQ(installed.exitStatus, 0) << installed.out << installed.err; }

    // A path below the installed prefix, such as "bin/vistado".
    static std::string installedPath(const std::string& relative) { return destDir->path() + kPrefix + "/" + relative; }

    static std::unique_ptr<TempDir> destDir;
    static ProgramResult installed;
};

std::unique_ptr<TempDir> InstallTest::destDir;
ProgramResult InstallTest::installed;

// Width and height from a PNG's header chunk, which follows the 8-byte signature.
std::pair<int, int> pngSize(const std::string& png)
{
    auto number = [&](size_t at) {
        int value = 0;
        for (size_t i = at; i < at + 4; ++i)
            value = value * 256 + static_cast<unsigned char>(png.at(i));
        return value;
    };
    if (png.substr(1, 3) != "PNG" || png.substr(12, 4) != "IHDR")
        return {0, 0};
    return {number(16), number(20)};
}

TEST_F(InstallTest, PutsEveryFileWhereTheDesktopLooksForIt)
{
    struct Case {
        std::string path;
        bool program = false;
        int iconSize = 0;  // a PNG icon of that many pixels square
    };
    const Case cases[] = {
        {"bin/vistado", true},
        {"bin/vistado-meta", true},
        {"share/applications/vistado.desktop"},
        {"share/metainfo/de.vistado.vistado.metainfo.xml"},
        {"share/icons/hicolor/scalable/apps/vistado.svg"},
        {"share/icons/hicolor/48x48/apps/vistado.png", false, 48},
        {"share/icons/hicolor/256x256/apps/vistado.png", false, 256},
        {"share/man/man1/vistado.1.gz"},
        {"share/man/man1/vistado-meta.1.gz"},
        {"share/doc/vistado/copyright"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        struct stat status {};
        ASSERT_EQ(::stat(installedPath(c.path).c_str(), &status), 0);
        EXPECT_TRUE(S_ISREG(status.st_mode));
        EXPECT_GT(status.st_size, 0);
        EXPECT_EQ((status.st_mode & S_IXOTH) != 0, c.program);
        if (c.iconSize != 0) {
            EXPECT_EQ(pngSize(readFile(installedPath(c.path))), std::make_pair(c.iconSize, c.iconSize));
        }
    }
}

TEST_F(InstallTest, ProgramsReportTheirVersion)
{
    for (const char* program : {"bin/vistado", "bin/vistado-meta"}) {
        const ProgramResult result = runProgram({installedPath(program), "--version"});
        EXPECT_EQ(result.exitStatus, 0) << program << result.err;
        EXPECT_NE(result.out.find(VISTADO_EXPECTED_VERSION), std::string::npos) << program << result.out;
    }
}

// The place data is found beside the installed program, whatever the prefix: vistado-meta
// names the place without a complaint on standard error, and the place run names the same.
TEST_F(InstallTest, InstalledProgramsFindPlaces)
{
    TempDir work;
    const std::string photo = work.file("marienplatz.jpg");
    writeFile(photo, realJpeg(32, 24));
    const ProgramResult tagged =
        runProgram({"exiftool", "-overwrite_original", "-GPSLatitude=48.137154", "-GPSLatitudeRef=N",
                    "-GPSLongitude=11.576124", "-GPSLongitudeRef=E", "--", photo});
    ASSERT_EQ(tagged.exitStatus, 0) << tagged.err;

    const ProgramResult meta = runProgram({installedPath("bin/vistado-meta"), "--place", photo});
    EXPECT_EQ(meta.exitStatus, 0);
    EXPECT_EQ(meta.err, "");
    ASSERT_TRUE(std::regex_match(meta.out, std::regex(">[^<]+<>.*<\n"))) << meta.out;

    ProgramOptions inWork;
    inWork.workingDirectory = work.path();
    const ProgramResult run = runProgram({installedPath("bin/vistado"), "--orte", work.path()}, inWork);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, photo + ";48.137154,11.576124;" + meta.out);
}

// A validator's verdict on an installed file; skipped where the validator is not installed.
void expectValid(const std::vector<std::string>& validator, const std::string& file)
{
    if (!programAvailable(validator[0]))
        GTEST_SKIP() << validator[0] << " is not installed";
    std::vector<std::string> command = validator;
    command.push_back(file);
    const ProgramResult result = runProgram(command);
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
}

TEST_F(InstallTest, DesktopEntryPassesItsValidator)
{
    expectValid({"desktop-file-validate"}, installedPath("share/applications/vistado.desktop"));
}

// The software-centre entry, with the launcher it names, as the installed tree holds them.
TEST_F(InstallTest, MetainfoPassesItsValidator)
{
    expectValid({"appstreamcli", "validate-tree", "--no-net"}, destDir->path() + kPrefix);
}

// The launcher starts an installed program and shows an installed icon.
TEST_F(InstallTest, DesktopEntryNamesInstalledFiles)
{
    const std::string entry = readFile(installedPath("share/applications/vistado.desktop"));
    std::smatch exec;
    ASSERT_TRUE(std::regex_search(entry, exec, std::regex("\nExec=([^ \n]+) %f\n")));
    EXPECT_TRUE(std::filesystem::exists(installedPath("bin/" + exec[1].str())));
    std::smatch icon;
    ASSERT_TRUE(std::regex_search(entry, icon, std::regex("\nIcon=([^\n]+)\n")));
    EXPECT_TRUE(std::filesystem::exists(installedPath("share/icons/hicolor/scalable/apps/" + icon[1].str() + ".svg")));
}

// Every option a program's --help names is described in its manual page, which renders
// without a warning.
TEST_F(InstallTest, ManualPagesDescribeEveryOption)
{
    if (!programAvailable("man"))
        GTEST_SKIP() << "man is not installed";
    ProgramOptions wide;
    wide.environment["MANWIDTH"] = "200";
    for (const std::string program : {"vistado", "vistado-meta"}) {
        SCOPED_TRACE(program);
        const ProgramResult page =
            runProgram({"man", "--warnings", "-l", installedPath("share/man/man1/" + program + ".1.gz")}, wide);
        EXPECT_EQ(page.exitStatus, 0);
        EXPECT_EQ(page.err, "");
        const ProgramResult help = runProgram({installedPath("bin/" + program), "--help"});
        std::set<std::string> options;
        const std::regex option("--[a-z-]+");
        for (auto it = std::sregex_iterator(help.out.begin(), help.out.end(), option); it != std::sregex_iterator(); ++it)
            options.insert(it->str());
        EXPECT_FALSE(options.empty()) << help.out;
        for (const std::string& name : options)
            EXPECT_NE(page.out.find(name), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace vistado::test
