#include "app/commandline.h"
#include "app/foldersearch.h"
#include "testfiles.h"

#include <gtest/gtest.h>

namespace vistado::test {

namespace {

using Jobs = std::vector<std::string>;

TEST(CommandLine, JpgFileInAnyLetterCaseIsTheOnlyJob)
{
    for (const std::string argument : {"Foto.jpg", "/home/u/Bilder/IMG_1.JPG", "a/x.JpG", "Foto.2010/b.jPg", "a/.jpg"}) {
        SCOPED_TRACE(argument);
        const CommandLineJobs result = jobsFromCommandLine(argument, "/nonexistent");
        EXPECT_EQ(result.frageCaption, "Ort ermitteln?");
        const std::string name = argument.substr(argument.rfind('/') + 1);
        EXPECT_EQ(result.zielText, "Bild \"" + name + "\"");
        EXPECT_EQ(result.jobs, Jobs{argument});
        EXPECT_EQ(result.currentPath, argument);
    }
}

TEST(CommandLine, FolderWithAndWithoutTrailingSlashGivesTheSameJobs)
{
    TempDir tmp;
    makeFolder(tmp.file("Urlaub"));
    writeFile(tmp.file("Urlaub/b.jpg"), "");
    writeFile(tmp.file("Urlaub/a.JPG"), "");
    writeFile(tmp.file("Urlaub/notes.txt"), "");
    const std::string folder = tmp.path() + "/Urlaub";
    const Jobs expected{folder + "/a.JPG", folder + "/b.jpg"};

    const CommandLineJobs plain = jobsFromCommandLine(folder, "/nonexistent");
    EXPECT_EQ(plain.frageCaption, "Orte ermitteln?");
    EXPECT_EQ(plain.zielText, "Bilder im Verzeichnis \"Urlaub\"");
    EXPECT_EQ(plain.currentPath, folder + "/");
    EXPECT_EQ(plain.jobs, expected);

    const CommandLineJobs slash = jobsFromCommandLine(folder + "/", "/nonexistent");
    EXPECT_EQ(slash.frageCaption, "Orte ermitteln?");
    EXPECT_EQ(slash.zielText, "Bilder im Verzeichnis \"" + folder + "/\"");
    EXPECT_EQ(slash.currentPath, folder + "/");
    EXPECT_EQ(slash.jobs, expected);
}

TEST(CommandLine, AnExistingFolderIsAFolderWhateverItsName)
{
    TempDir tmp;
    makeFolder(tmp.file("Foto.2010"));
    writeFile(tmp.file("Foto.2010/a.jpg"), "");
    makeFolder(tmp.file("alt.jpg"));
    writeFile(tmp.file("alt.jpg/b.jpg"), "");

    const struct {
        std::string argument;
        std::string folder;
        std::string shown;
        Jobs jobs;
    } cases[] = {
        {tmp.path() + "/Foto.2010", tmp.path() + "/Foto.2010/", "Foto.2010", {tmp.path() + "/Foto.2010/a.jpg"}},
        {tmp.path() + "/Foto.2010/", tmp.path() + "/Foto.2010/", tmp.path() + "/Foto.2010/", {tmp.path() + "/Foto.2010/a.jpg"}},
        {tmp.path() + "/alt.jpg", tmp.path() + "/alt.jpg/", "alt.jpg", {tmp.path() + "/alt.jpg/b.jpg"}},
        {tmp.path() + "/Foto.2010/..", tmp.path() + "/Foto.2010/../", "..", {tmp.path() + "/Foto.2010/../alt.jpg"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        const CommandLineJobs result = jobsFromCommandLine(c.argument, "/nonexistent");
        EXPECT_EQ(result.frageCaption, "Orte ermitteln?");
        EXPECT_EQ(result.zielText, "Bilder im Verzeichnis \"" + c.shown + "\"");
        EXPECT_EQ(result.currentPath, c.folder);
        EXPECT_EQ(result.jobs, c.jobs);
        EXPECT_TRUE(result.folder);
        EXPECT_EQ(result.pathState, PathState::Found);
    }
}

TEST(CommandLine, AFolderThatCannotBeReadLeavesTheHint)
{
    TempDir tmp;
    // Longer than a name may be: the system refuses to look.
    for (const std::string& argument : {tmp.path() + "/" + std::string(300, 'x'), tmp.path() + "/" + std::string(300, 'x') + ".jpg"}) {
        const CommandLineJobs result = jobsFromCommandLine(argument, tmp.path());
        EXPECT_EQ(result.pathState, PathState::Unreadable);
        EXPECT_EQ(result.frageCaption, std::nullopt);
        EXPECT_EQ(result.zielText, std::nullopt);
        EXPECT_TRUE(result.jobs.empty());
    }
    const CommandLineJobs missing = jobsFromCommandLine(tmp.path() + "/nix.jpg", tmp.path());
    EXPECT_EQ(missing.pathState, PathState::Missing);
    EXPECT_EQ(missing.jobs, Jobs{tmp.path() + "/nix.jpg"});
}

TEST(CommandLine, NoArgumentListsTheCurrentDirectoryByBareNames)
{
    TempDir tmp;
    writeFile(tmp.file("b.jpg"), "");
    writeFile(tmp.file("A.JPG"), "");
    writeFile(tmp.file("c.png"), "");

    const CommandLineJobs result = jobsFromCommandLine("", tmp.path());
    EXPECT_EQ(result.frageCaption, "Orte ermitteln?");
    EXPECT_EQ(result.zielText, "Bilder im Verzeichnis");
    EXPECT_EQ(result.jobs, (Jobs{"A.JPG", "b.jpg"}));
    EXPECT_EQ(result.currentPath, "");
}

TEST(CommandLine, OtherExtensionsLeaveTheWindowAsItIs)
{
    TempDir tmp;
    writeFile(tmp.file("x.jpeg"), "");
    for (const std::string& argument : {tmp.path() + "/x.jpeg", std::string("Bild.png"), std::string("Bild."),
                                       std::string("a/.hidden"), std::string("Bild.jpg.bak")}) {
        SCOPED_TRACE(argument);
        const CommandLineJobs result = jobsFromCommandLine(argument, tmp.path());
        EXPECT_EQ(result.frageCaption, std::nullopt);
        EXPECT_EQ(result.zielText, std::nullopt);
        EXPECT_TRUE(result.jobs.empty());
        EXPECT_EQ(result.currentPath, argument);
    }
}

TEST(CommandLine, MissingFolderShowsItsNameWithNoJobs)
{
    TempDir tmp;
    const CommandLineJobs result = jobsFromCommandLine(tmp.path() + "/nix", tmp.path());
    EXPECT_EQ(result.frageCaption, "Orte ermitteln?");
    EXPECT_EQ(result.zielText, "Bilder im Verzeichnis \"nix\"");
    EXPECT_TRUE(result.jobs.empty());
    EXPECT_EQ(result.pathState, PathState::Missing);
}

TEST(FolderSearch, MatchesJpgInAnyCaseWithHiddenEntriesAndFolders)
{
    TempDir tmp;
    for (const char* name : {"b.jpg", "A.JPG", "c.Jpg", ".hidden.jpg", ".jpg", "d.jpeg", "e.jpg.bak", "f.png", "jpg",
                             "Stra\xDF" "e.jpg"})
        writeFile(tmp.file(name), "");
    makeFolder(tmp.file("x.jpg"));
    makeFolder(tmp.file("sub"));
    writeFile(tmp.file("sub/deep.jpg"), "");

    EXPECT_EQ(findJpgEntries(tmp.path()),
              (Jobs{".hidden.jpg", ".jpg", "A.JPG", "b.jpg", "c.Jpg", "Stra\xDF" "e.jpg", "x.jpg"}));
}

TEST(FolderSearch, SortsByNameWithoutRegardToCase)
{
    TempDir tmp;
    for (const char* name : {"IMG_0010.JPG", "img_0002.jpg", "a.jpg", "IMG_0001.JPG", "A.jpg", "Img_0003.jpg", "_x.jpg"})
        writeFile(tmp.file(name), "");

    EXPECT_EQ(findJpgEntries(tmp.path()),
              (Jobs{"A.jpg", "a.jpg", "IMG_0001.JPG", "img_0002.jpg", "Img_0003.jpg", "IMG_0010.JPG", "_x.jpg"}));
}

}  // namespace

}  // namespace vistado::test
