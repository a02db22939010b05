#include "app/commandline.h"
#include "app/foldersearch.h"
#include "testfiles.h"

#include <gtest/gtest.h>

namespace {

using vistado::test::TTempDir;
using vistado::test::WriteFile;
using vistado::test::MakeFolder;

using Jobs = std::vector<std::string>;

TEST(CommandLine, JpgFileInAnyLetterCaseIsTheOnlyJob)
{
    for (const std::string argument : {"Foto.jpg", "/home/u/Bilder/IMG_1.JPG", "a/x.JpG", "Foto.2010/b.jPg", "a/.jpg"}) {
        SCOPED_TRACE(argument);
        const TCommandLineJobs result = jobsFromCommandLine(argument, "/nonexistent");
        EXPECT_EQ(result.frageCaption, "Ort ermitteln?");
        const std::string name = argument.substr(argument.rfind('/') + 1);
        EXPECT_EQ(result.zielText, "Bild \"" + name + "\"");
        EXPECT_EQ(result.jobs, Jobs{argument});
        EXPECT_EQ(result.currentPath, argument);
    }
}

TEST(CommandLine, FolderWithAndWithoutTrailingSlashGivesTheSameJobs)
{
    TTempDir tmp;
    MakeFolder(tmp.File("Urlaub"));
    WriteFile(tmp.File("Urlaub/b.jpg"), "");
    WriteFile(tmp.File("Urlaub/a.JPG"), "");
    WriteFile(tmp.File("Urlaub/notes.txt"), "");
    const std::string folder = tmp.Path() + "/Urlaub";
    const Jobs expected{folder + "/a.JPG", folder + "/b.jpg"};

    const TCommandLineJobs plain = jobsFromCommandLine(folder, "/nonexistent");
    EXPECT_EQ(plain.frageCaption, "Orte ermitteln?");
    EXPECT_EQ(plain.zielText, "Bilder im Verzeichnis \"Urlaub\"");
    EXPECT_EQ(plain.currentPath, folder + "/");
    EXPECT_EQ(plain.jobs, expected);

    const TCommandLineJobs slash = jobsFromCommandLine(folder + "/", "/nonexistent");
    EXPECT_EQ(slash.frageCaption, "Orte ermitteln?");
    EXPECT_EQ(slash.zielText, "Bilder im Verzeichnis \"" + folder + "/\"");
    EXPECT_EQ(slash.currentPath, folder + "/");
    EXPECT_EQ(slash.jobs, expected);
}

TEST(CommandLine, DottedFolderNameCountsAsAnExtensionUnlessItEndsInASlash)
{
    TTempDir tmp;
    MakeFolder(tmp.File("Foto.2010"));
    WriteFile(tmp.File("Foto.2010/a.jpg"), "");

    const TCommandLineJobs dotted = jobsFromCommandLine(tmp.Path() + "/Foto.2010", "/nonexistent");
    EXPECT_EQ(dotted.frageCaption, std::nullopt);
    EXPECT_EQ(dotted.zielText, std::nullopt);
    EXPECT_TRUE(dotted.jobs.empty());

    const TCommandLineJobs slash = jobsFromCommandLine(tmp.Path() + "/Foto.2010/", "/nonexistent");
    EXPECT_EQ(slash.jobs, Jobs{tmp.Path() + "/Foto.2010/a.jpg"});
}

TEST(CommandLine, NoArgumentListsTheCurrentDirectoryByBareNames)
{
    TTempDir tmp;
    WriteFile(tmp.File("b.jpg"), "");
    WriteFile(tmp.File("A.JPG"), "");
    WriteFile(tmp.File("c.png"), "");

    const TCommandLineJobs result = jobsFromCommandLine("", tmp.Path());
    EXPECT_EQ(result.frageCaption, "Orte ermitteln?");
    EXPECT_EQ(result.zielText, "Bilder im Verzeichnis");
    EXPECT_EQ(result.jobs, (Jobs{"A.JPG", "b.jpg"}));
    EXPECT_EQ(result.currentPath, "");
}

TEST(CommandLine, OtherExtensionsLeaveTheWindowAsItIs)
{
    TTempDir tmp;
    WriteFile(tmp.File("x.jpeg"), "");
    for (const std::string& argument : {tmp.Path() + "/x.jpeg", std::string("Bild.png"), std::string("Bild."),
                                       std::string("a/.hidden"), std::string("Bild.jpg.bak")}) {
        SCOPED_TRACE(argument);
        const TCommandLineJobs result = jobsFromCommandLine(argument, tmp.Path());
        EXPECT_EQ(result.frageCaption, std::nullopt);
        EXPECT_EQ(result.zielText, std::nullopt);
        EXPECT_TRUE(result.jobs.empty());
        EXPECT_EQ(result.currentPath, argument);
    }
}

TEST(CommandLine, MissingFolderShowsItsNameWithNoJobs)
{
    TTempDir tmp;
    const TCommandLineJobs result = jobsFromCommandLine(tmp.Path() + "/nix", tmp.Path());
    EXPECT_EQ(result.frageCaption, "Orte ermitteln?");
    EXPECT_EQ(result.zielText, "Bilder im Verzeichnis \"nix\"");
    EXPECT_TRUE(result.jobs.empty());
}

TEST(FolderSearch, MatchesJpgInAnyCaseWithHiddenEntriesAndFolders)
{
    TTempDir tmp;
    for (const char* name : {"b.jpg", "A.JPG", "c.Jpg", ".hidden.jpg", ".jpg", "d.jpeg", "e.jpg.bak", "f.png", "jpg",
                             "Stra\xDF" "e.jpg"})
        WriteFile(tmp.File(name), "");
    MakeFolder(tmp.File("x.jpg"));
    MakeFolder(tmp.File("sub"));
    WriteFile(tmp.File("sub/deep.jpg"), "");

    EXPECT_EQ(findJpgEntries(tmp.Path()),
              (Jobs{".hidden.jpg", ".jpg", "A.JPG", "b.jpg", "c.Jpg", "Stra\xDF" "e.jpg", "x.jpg"}));
}

TEST(FolderSearch, SortsByNameWithoutRegardToCase)
{
    TTempDir tmp;
    for (const char* name : {"IMG_0010.JPG", "img_0002.jpg", "a.jpg", "IMG_0001.JPG", "A.jpg", "Img_0003.jpg", "_x.jpg"})
        WriteFile(tmp.File(name), "");

    EXPECT_EQ(findJpgEntries(tmp.Path()),
              (Jobs{"A.jpg", "a.jpg", "IMG_0001.JPG", "img_0002.jpg", "Img_0003.jpg", "IMG_0010.JPG", "_x.jpg"}));
}

}  // namespace
