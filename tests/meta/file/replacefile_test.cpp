// What a rewrite keeps and protects beyond the photo's bytes: the order in
// which it reaches the disk, the file's extended attributes, another
// program's change made meanwhile, the lock, and the temporary files a
// killed writer leaves behind.

#include "filecalls.h"
#include "meta/imagefiletest.h"
#include "messageof.h"
#include "realjpeg.h"
#include "runprogram.h"

#include "meta/file/commitqueue.h"
#include "meta/file/replacefile.h"
#include "meta/file/temporaryname.h"

#include <gmock/gmock.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <sys/file.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <tuple>
#include <unistd.h>

namespace vistado::test {
namespace {

using Attributes = std::map<std::string, std::string>;

// A decodable photo with Exif data and a comment, as a camera and an earlier
// run leave it, last written a day ago.
std::string photoBytes()
{
    TiffBuilder tiff(false);
    tiff.addAscii(0, 0x010F, "Maker");
    return "\xFF\xD8" + exifSegment(tiff.build()) + commentSegment("old") + realJpeg(16, 16).substr(2);
}

Attributes attributesOf(const std::string& path)
{
    Attributes attributes;
    char names[4096];
    const ssize_t length = ::listxattr(path.c_str(), names, sizeof names);
    for (ssize_t start = 0; start < length; start += static_cast<ssize_t>(std::strlen(names + start)) + 1) {
        char value[4096];
        const ssize_t size = ::getxattr(path.c_str(), names + start, value, sizeof value);
        attributes[names + start] = std::string(value, static_cast<size_t>(std::max<ssize_t>(size, 0)));
    }
    return attributes;
}

bool setAttribute(const std::string& path, const std::string& name, const std::string& value)
{
    return ::setxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0) == 0;
}

// An ACL as the kernel stores it in system.posix_acl_access (and _default):
// owner rw, user 1234 r, group r, mask r, others nothing.
std::string aclGrantingReadTo1234()
{
    std::string acl;
    const auto put = [&acl](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            acl += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    put(2, 4);  // version
    const uint32_t anyone = 0xFFFFFFFF;
    for (const auto& [tag, permissions, id] : {std::tuple{0x01u, 6u, anyone}, std::tuple{0x02u, 4u, 1234u},
                                              std::tuple{0x04u, 4u, anyone}, std::tuple{0x10u, 4u, anyone},
                                              std::tuple{0x20u, 0u, anyone}}) {
        put(tag, 2);
        put(permissions, 2);
        put(id, 4);
    }
    return acl;
}

// Which locks another open of the file could take at this moment.
std::string locksFree(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::string free;
    if (::flock(fd, LOCK_SH | LOCK_NB) == 0) {
        free += "shared";
        ::flock(fd, LOCK_UN);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        free += free.empty() ? "exclusive" : " exclusive";
    ::close(fd);
    return free.empty() ? "none" : free;
}

// A child process of the test: what it does runs in `body`, which must not
// return into the test; the child is killed and waited for when the test
// leaves it behind.
class Child {
public:
    explicit Child(const std::function<void()>& body) : pid(::fork())
    {
        if (pid != 0)
            return;
        try {
            body();
        } catch (...) {
        }
        ::_exit(3);
    }
    ~Child() { end(); }
    void end()
    {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        pid = 0;
    }
    pid_t id() const { return pid; }

private:
    pid_t pid;
};

class ReplaceFileTest : public ImageFileTest {
protected:
    void SetUp() override
    {
        ImageFileTest::SetUp();
        takeFileCalls();
    }

    // Writes the photo, dates it back and reads it as the place run does.
    void readPhoto(const std::string& at, const std::string& readAs)
    {
        writeFile(at, photoBytes());
        const timespec dayAgo[2] = {{::time(nullptr) - 86400, 0}, {::time(nullptr) - 86400, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, at.c_str(), dayAgo, 0), 0);
        ASSERT_TRUE(image.OpenImage(readAs));
        image.DropCommentAndHeader();
        image.SetCommentText("new");
    }
    std::string commentAt(const std::string& path)
    {
        TimgData written(kDecodeAll);
        return written.OpenImage(path) ? written.CommentText() : "(not readable)";
    }
    std::string path() const { return dir.file("image.jpg"); }
};

TEST_F(ReplaceFileTest, NewFileReachesTheDiskBeforeTheRenameAndTheFolderAfterIt)
{
    // Through a symbolic link the file it names is replaced, beside itself;
    // the link stays as it is.
    struct Case {
        const char* name;
        const char* linkText;  // nullptr: the photo is written by its own name
    };
    for (const Case& c : {Case{"photo", nullptr}, Case{"link into another folder", "../archiv/image.jpg"}}) {
        SCOPED_TRACE(c.name);
        const TempDir base;
        makeFolder(base.file("fotos"));
        makeFolder(base.file("archiv"));
        const std::string named = base.file("fotos/image.jpg");
        const std::string real = c.linkText ? base.file("archiv/image.jpg") : named;
        if (c.linkText)
            std::filesystem::create_symlink(c.linkText, named);
        readPhoto(real, named);
        takeFileCalls();
        image.SaveJpeg(named);

        const std::vector<FileCall> calls = takeFileCalls();
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[0].call, "fsync file");
        EXPECT_EQ(std::filesystem::path(calls[0].path).parent_path(), std::filesystem::path(real).parent_path());
        EXPECT_EQ(calls[1].call, "rename");
        EXPECT_EQ(calls[1].path, calls[0].path);
        EXPECT_EQ(calls[1].to, real);
        EXPECT_EQ(calls[2].call, "fsync folder");
        EXPECT_EQ(calls[2].path, std::filesystem::path(real).parent_path().string());

        EXPECT_EQ(commentAt(real), "new");
        EXPECT_EQ(folderEntries(base.file("fotos")), std::set<std::string>{"image.jpg"});
        if (c.linkText) {
            EXPECT_TRUE(std::filesystem::is_symlink(named));
            EXPECT_EQ(std::filesystem::read_symlink(named), c.linkText);
            EXPECT_EQ(folderEntries(base.file("archiv")), std::set<std::string>{"image.jpg"});
        }
    }
}

TEST_F(ReplaceFileTest, ExtendedAttributesAndAclsSurvive)
{
    if (!setAttribute(dir.path(), "user.probe", "1"))
        GTEST_SKIP() << "no extended attributes on " << dir.path();
    struct Case {
        const char* name;
        Attributes before;    // set before the read
        Attributes meanwhile; // set between the read and the write
        bool folderDefaultAcl;
    };
    const std::string acl = aclGrantingReadTo1234();
    const Case cases[] = {
        {"desktop tags and rating", {{"user.xdg.tags", "Urlaub,See"}, {"user.baloo.rating", "8"}}, {}, false},
        {"an ACL letting another user read", {{"system.posix_acl_access", acl}}, {}, false},
        {"none, and none from the folder's default ACL", {}, {}, true},
        {"a tag set after the read", {{"user.xdg.tags", "Urlaub"}}, {{"user.xdg.comment", "See"}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir folder;
        const std::string photo = folder.file("image.jpg");
        writeFile(photo, photoBytes());
        for (const auto& [name, value] : c.before) {
            ASSERT_TRUE(setAttribute(photo, name, value)) << name;
        }
        if (c.folderDefaultAcl) {
            ASSERT_TRUE(setAttribute(folder.path(), "system.posix_acl_default", acl));
        }
        readPhoto(photo, photo);
        for (const auto& [name, value] : c.meanwhile) {
            ASSERT_TRUE(setAttribute(photo, name, value)) << name;
        }
        const Attributes expected = attributesOf(photo);
        struct stat before {};
        ASSERT_EQ(::stat(photo.c_str(), &before), 0);

        image.SaveJpeg(photo);
        EXPECT_EQ(attributesOf(photo), expected);
        struct stat after {};
        ASSERT_EQ(::stat(photo.c_str(), &after), 0);
        EXPECT_NE(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(commentAt(photo), "new");
    }
}

TEST_F(ReplaceFileTest, ChangeByAnotherProgramDuringTheWriteIsKept)
{
    struct Case {
        const char* name;
        std::function<void()> change;
        bool needsExifTool;
    };
    const std::string other = "\xFF\xD8" + commentSegment("the other program's") + realJpeg(16, 16).substr(2);
    const Case cases[] = {
        {"ExifTool sets the artist", [&] {
             runProgram({"exiftool", "-q", "-overwrite_original", "-Artist=Anna", path()});
         }, true},
        {"written anew and renamed over it", [&] {
             writeFile(dir.file("other.tmp"), other);
             std::filesystem::rename(dir.file("other.tmp"), path());
         }, false},
        {"written in place, same size", [&] {
             std::string bytes = readFile(path());
             bytes[bytes.size() - 3] ^= 1;
             std::FILE* file = std::fopen(path().c_str(), "r+b");
             std::fwrite(bytes.data(), 1, bytes.size(), file);
             std::fclose(file);
         }, false},
        {"removed", [&] { std::filesystem::remove(path()); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsExifTool && !programAvailable("exiftool"))
            continue;
        readPhoto(path(), path());
        std::string changed;
        duringNextFileSync([&] {
            c.change();
            changed = std::filesystem::exists(path()) ? readFile(path()) : "(gone)";
        });
        EXPECT_EQ(messageOf([&] { image.SaveJpeg(path()); }), "wurde inzwischen geändert");
        EXPECT_EQ(std::filesystem::exists(path()) ? readFile(path()) : "(gone)", changed);
        EXPECT_NE(changed, photoBytes());
        EXPECT_THAT(folderEntries(dir.path()), testing::IsSubsetOf(std::set<std::string>{"image.jpg"}));
    }
}

TEST_F(ReplaceFileTest, ReadHoldsOffOurWritersAndTheWriteHoldsOffEveryone)
{
    readPhoto(path(), path());
    EXPECT_EQ(locksFree(path()), "shared");
    std::string duringSync;
    duringNextFileSync([&] { duringSync = locksFree(path()); });
    image.SaveJpeg(path());
    EXPECT_EQ(duringSync, "none");
    EXPECT_EQ(locksFree(path()), "shared exclusive");
}

// Two processes that read the same photo and write it at once: one writes,
// the other finds it changed; neither comment is lost unseen.
TEST_F(ReplaceFileTest, TwoWritersOfOnePhotoLoseNoUpdate)
{
    writeFile(path(), photoBytes());
    int toChild[2];
    int fromChild[2];
    ASSERT_EQ(::pipe(toChild), 0);
    ASSERT_EQ(::pipe(fromChild), 0);
    Child child([&] {
        TimgData mine(kDecodeAll);
        mine.OpenImage(path());
        mine.DropCommentAndHeader();
        mine.SetCommentText("child");
        char go = 0;
        if (::write(fromChild[1], "r", 1) != 1 || ::read(toChild[0], &go, 1) != 1)
            ::_exit(2);
        const std::string message = messageOf([&] { mine.SaveJpeg(path()); });
        ::_exit(::write(fromChild[1], message.data(), message.size()) > 0 ? 0 : 1);
    });
    ::close(toChild[0]);
    ::close(fromChild[1]);
    char ready = 0;
    ASSERT_EQ(::read(fromChild[0], &ready, 1), 1);
    ASSERT_TRUE(image.OpenImage(path()));
    image.DropCommentAndHeader();
    image.SetCommentText("parent");
    ASSERT_EQ(::write(toChild[1], "g", 1), 1);
    const std::string parentMessage = messageOf([&] { image.SaveJpeg(path()); });
    std::string childMessage;
    char chunk[512];
    for (ssize_t got; (got = ::read(fromChild[0], chunk, sizeof chunk)) > 0;)
        childMessage.append(chunk, static_cast<size_t>(got));
    ::close(toChild[1]);
    ::close(fromChild[0]);

    const std::string changed = "wurde inzwischen geändert";
    EXPECT_THAT((std::multiset<std::string>{parentMessage, childMessage}),
                testing::UnorderedElementsAre("(no error)", changed));
    EXPECT_EQ(commentAt(path()), parentMessage == changed ? "child" : "parent");
}

// Commits handed to the queue run in the background; each tells its own
// outcome, and by then its lock and temporary file are gone.
TEST_F(ReplaceFileTest, QueuedCommitsTellTheirOutcomeAndLeaveNothingBehind)
{
    struct Case {
        const char* name;
        bool changedMeanwhile;
    };
    const Case cases[] = {{"a.jpg", false}, {"b.jpg", true}, {"c.jpg", false}, {"d.jpg", true}, {"e.jpg", false}};
    CommitQueue queue;
    std::vector<std::future<void>> outcomes;
    for (const Case& c : cases) {
        readPhoto(dir.file(c.name), dir.file(c.name));
        std::unique_ptr<ReplacementFile> file = image.writeNewFile(dir.file(c.name));
        if (c.changedMeanwhile)
            writeFile(dir.file(c.name), "the other program's");
        outcomes.push_back(queue.commit(std::move(file)));
    }
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string photo = dir.file(cases[i].name);
        SCOPED_TRACE(photo);
        const std::string message = messageOf([&] { outcomes[i].get(); });
        EXPECT_EQ(locksFree(photo), "shared exclusive");
        if (cases[i].changedMeanwhile) {
            EXPECT_EQ(message, "wurde inzwischen geändert");
            EXPECT_EQ(readFile(photo), "the other program's");
        } else {
            EXPECT_EQ(message, "(no error)");
            EXPECT_EQ(commentAt(photo), "new");
        }
    }
    EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}));
}

// A writer killed with SIGKILL while it writes leaves its temporary file; the
// next rewrite in that folder removes it, and nothing else.
TEST_F(ReplaceFileTest, KilledWritersTemporaryFileIsRemovedByTheNextRewrite)
{
    const TempDir folder;
    const std::string big = folder.file("big.jpg");
    std::string bytes = photoBytes();
    bytes.insert(bytes.size() - 2, std::string(8 << 20, '\x55'));
    writeFile(big, bytes);

    std::set<std::string> leftover;
    for (int attempt = 0; attempt < 20 && leftover.empty(); ++attempt) {
        Child writer([&] {
            for (bool odd = false;; odd = !odd) {
                TimgData mine(kDecodeAll);
                mine.OpenImage(big);
                mine.SetCommentText(odd ? "eins" : "zwei");
                mine.SaveJpeg(big);
            }
        });
        for (int look = 0; look < 10000 && folderEntries(folder.path()).size() < 2; ++look)
            ::usleep(200);
        writer.end();
        leftover = folderEntries(folder.path());
        leftover.erase("big.jpg");
    }
    ASSERT_EQ(leftover.size(), 1u) << "no writer was caught in the middle of a write";
    EXPECT_TRUE(temporaryOwner(*leftover.begin()));

    // Files of a process that still runs, or held by a writer this process
    // cannot see, and files not named by us, stay.
    const Child alive([] { ::pause(); });
    const std::string hex = [](unsigned value) {
        char text[16];
        std::snprintf(text, sizeof text, "%x", value);
        return std::string(text);
    }(static_cast<unsigned>(alive.id()));
    const std::string deadTag = leftover.begin()->substr(leftover.begin()->rfind(".vistado-"));
    const std::set<std::string> kept = {
        "big.jpg",
        ".other.jpg.vistado-" + hex + "-0",  // its process runs
        ".locked.jpg" + deadTag,              // its writer holds the lock
        "other.jpg" + deadTag,                // not hidden: not ours
        ".other.jpg.vistado-" + hex + "-x",   // not a count
        ".folder.jpg" + deadTag,              // a folder
    };
    for (const std::string& name : kept)
        if (name != "big.jpg" && name != ".folder.jpg" + deadTag)
            writeFile(folder.file(name), "keep");
    makeFolder(folder.file(".folder.jpg" + deadTag));
    const int held = ::open(folder.file(".locked.jpg" + deadTag).c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    writeFile(folder.file("image.jpg"), photoBytes());
    ASSERT_TRUE(image.OpenImage(folder.file("image.jpg")));
    image.SetCommentText("new");
    image.SaveJpeg(folder.file("image.jpg"));
    std::set<std::string> expected = kept;
    expected.insert("image.jpg");
    EXPECT_EQ(folderEntries(folder.path()), expected);

    ::close(held);
}

}  // namespace
}  // namespace vistado::test
