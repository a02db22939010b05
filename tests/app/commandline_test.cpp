#include "commandline.h"
#include "foldersearch.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

namespace {

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
    TempFolder tmp;
    tmp.addFolder("Urlaub");
    tmp.addFile("Urlaub/b.jpg");
    tmp.addFile("Urlaub/a.JPG");
    tmp.addFile("Urlaub/notes.txt");
    const std::string folder = tmp.path() + "/Urlaub";
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
    TempFolder tmp;
    tmp.addFolder("Foto.2010");
    tmp.addFile("Foto.2010/a.jpg");

    const TCommandLineJobs dotted = jobsFromCommandLine(tmp.path() + "/Foto.2010", "/nonexistent");
    EXPECT_EQ(dotted.frageCaption, std::nullopt);
    EXPECT_EQ(dotted.zielText, std::nullopt);
    EXPECT_TRUE(dotted.jobs.empty());

    const TCommandLineJobs slash = jobsFromCommandLine(tmp.path() + "/Foto.2010/", "/nonexistent");
    EXPECT_EQ(slash.jobs, Jobs{tmp.path() + "/Foto.2010/a.jpg"});
}

TEST(CommandLine, NoArgumentListsTheCurrentDirectoryByBareNames)
{
    TempFolder tmp;
    tmp.addFile("b.jpg");
    tmp.addFile("A.JPG");
    tmp.addFile("c.png");

    const TCommandLineJobs result = jobsFromCommandLine("", tmp.path());
    EXPECT_EQ(result.frageCaption, "Orte ermitteln?");
    EXPECT_EQ(result.zielText, "Bilder im Verzeichnis");
    EXPECT_EQ(result.jobs, (Jobs{"A.JPG", "b.jpg"}));
    EXPECT_EQ(result.currentPath, "");
}

TEST(CommandLine, OtherExtensionsLeaveTheWindowAsItIs)
{
    TempFolder tmp;
    tmp.addFile("x.jpeg");
    for (const std::string& argument : {tmp.path() + "/x.jpeg", std::string("Bild.png"), std::string("Bild."),
                                       std::string("a/.hidden"), std::string("Bild.jpg.bak")}) {
        SCOPED_TRACE(argument);
        const TCommandLineJobs result = jobsFromCommandLine(argument, tmp.path());
        EXPECT_EQ(result.frageCaption, std::nullopt);
        EXPECT_EQ(result.zielText, std::nullopt);
        EXPECT_TRUE(result.jobs.empty());
        EXPECT_EQ(result.currentPath, argument);
    }
}

TEST(CommandLine, MissingFolderShowsItsNameWithNoJobs)
{
    TempFolder tmp;
    const TCommandLineJobs result = jobsFromCommandLine(tmp.path() + "/nix", tmp.path());
    EXPECT_EQ(result.frageCaption, "Orte ermitteln?");
    EXPECT_EQ(result.zielText, "Bilder im Verzeichnis \"nix\"");
    EXPECT_TRUE(result.jobs.empty());
}

TEST(FolderSearch, MatchesJpgInAnyCaseWithHiddenEntriesAndFolders)
{
    TempFolder tmp;
    for (const char* name : {"b.jpg", "A.JPG", "c.Jpg", ".hidden.jpg", ".jpg", "d.jpeg", "e.jpg.bak", "f.png", "jpg",
                             "Stra\xDF" "e.jpg"})
        tmp.addFile(name);
    tmp.addFolder("x.jpg");
    tmp.addFolder("sub");
    tmp.addFile("sub/deep.jpg");

    EXPECT_EQ(findJpgEntries(tmp.path()),
              (Jobs{".hidden.jpg", ".jpg", "A.JPG", "b.jpg", "c.Jpg", "Stra\xDF" "e.jpg", "x.jpg"}));
}

TEST(FolderSearch, SortsByNameWithoutRegardToCase)
{
    TempFolder tmp;
    for (const char* name : {"IMG_0010.JPG", "img_0002.jpg", "a.jpg", "IMG_0001.JPG", "A.jpg", "Img_0003.jpg", "_x.jpg"})
        tmp.addFile(name);

    EXPECT_EQ(findJpgEntries(tmp.path()),
              (Jobs{"A.jpg", "a.jpg", "IMG_0001.JPG", "img_0002.jpg", "Img_0003.jpg", "IMG_0010.JPG", "_x.jpg"}));
}

}  // namespace
