#include "httpserver.h"
#include "rawserver.h"
#include "testfiles.h"
#include "app/vistado4.h"

#include <QCoreApplication>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace vistado::test {

namespace {

// Noon of the day before today, in local time.
std::time_t yesterday()
{
    const std::time_t now = std::time(nullptr);
    std::tm day{};
    localtime_r(&now, &day);
    day.tm_mday -= 1;
    day.tm_hour = 12;
    day.tm_min = day.tm_sec = 0;
    day.tm_isdst = -1;
    return std::mktime(&day);
}

void setModified(const std::string& file, std::time_t when)
{
    const timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

std::time_t modified(const std::string& file)
{
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 ? status.st_mtime : 0;
}

Services updatesAt(int port)
{
    return {"", "", "127.0.0.1:" + std::to_string(port)};
}

class UpdateCheck : public ::testing::Test {
protected:
    std::string versionFile() const { return tmp.path() + "/vistado.ver"; }
    std::optional<std::string> versionFileContents() const
    {
        if (!std::filesystem::exists(versionFile()))
            return std::nullopt;
        return readFile(tmp.file("vistado.ver"));
    }

    TempDir tmp;
};

TEST_F(UpdateCheck, OncePerDayAgainstTheOwnVersion)
{
    enum class Age { none, today, yesterday };
    const struct {
        const char* name;
        Age age;                 // of a version file from an earlier start, holding "9.9.9"
        const char* served;      // the update server's version file
        bool fetched;
        bool notice;
    } cases[] = {
        {"first start, same version", Age::none, VISTADO_EXPECTED_VERSION "\n", true, false},
        {"checked today, other version", Age::today, VISTADO_EXPECTED_VERSION "\n", false, false},
        {"checked yesterday, same version", Age::yesterday, VISTADO_EXPECTED_VERSION "\r\n", true, false},
        {"checked yesterday, newer version", Age::yesterday, "1.0.1\n", true, true},
        {"older version", Age::yesterday, "0.9.0", true, true},
        {"trailing blank", Age::yesterday, VISTADO_EXPECTED_VERSION " \n", true, true},
        {"empty version file", Age::yesterday, "", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        if (c.age != Age::none) {
            writeFile(folder.file("vistado.ver"), "9.9.9\n");
            if (c.age == Age::yesterday)
                setModified(folder.path() + "/vistado.ver", yesterday());
        }
        const std::string served = c.served;
        HttpServer server([&served](httplib::Server& routes) {
            routes.Get("/download/vistado.ver", [&served](const httplib::Request&, httplib::Response& response) {
                response.set_content(served, "text/plain");
            });
        });

        const TForm1 form("", folder.path(), updatesAt(server.port()));
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), c.fetched ? 1u : 0u);
        if (c.fetched) {
            EXPECT_EQ(requests[0].target, "/download/vistado.ver");
            EXPECT_EQ(readFile(folder.file("vistado.ver")), served);
        } else {
            EXPECT_EQ(readFile(folder.file("vistado.ver")), "9.9.9\n");
        }
        // The file's date says the check was made today.
        EXPECT_GT(modified(folder.path() + "/vistado.ver"), yesterday());
        EXPECT_EQ(form.Label1->isVisibleTo(&form), c.notice);
        if (c.notice) {
            EXPECT_EQ(form.Label1->text().toStdString(),
                      "neue Version: http://127.0.0.1:" + std::to_string(server.port()) + "/download/vistado.exe");
        }
    }
}

TEST_F(UpdateCheck, NoUpdateServerSetNoCheck)
{
    const TForm1 form("", tmp.path());
    EXPECT_FALSE(form.Label1->isVisibleTo(&form));
    EXPECT_FALSE(versionFileContents());
}

// No whole version file comes: nothing is shown, and the next start checks again.
TEST_F(UpdateCheck, ServerDownShowsNothing)
{
    RefusingPort down;
    HttpServer missing([](httplib::Server& routes) {
        routes.Get("/download/vistado.ver", [](const httplib::Request&, httplib::Response& response) {
            response.status = 404;
            response.set_content("not found", "text/plain");
        });
    });
    const RawServer cutShort("HTTP/1.0 200 OK\r\nContent-Length: 7\r\n\r\n1.0.");
    for (const int port : {down.port(), missing.port(), cutShort.port()}) {
        writeFile(tmp.file("vistado.ver"), "9.9.9\n");
        setModified(versionFile(), yesterday());
        const TForm1 form("", tmp.path(), updatesAt(port));
        EXPECT_FALSE(form.Label1->isVisibleTo(&form)) << port;
        EXPECT_FALSE(versionFileContents()) << port;
    }
}

// A server that never answers holds the start-up for about 2 s, and its file cannot come later.
TEST_F(UpdateCheck, SilentServerIsGivenUp)
{
    RawServer silent(std::nullopt);
    TForm1 form("", tmp.path(), updatesAt(silent.port()));
    EXPECT_FALSE(form.Label1->isVisibleTo(&form));
    while (form.HTTPGet2.busy())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_FALSE(form.HTTPGet2.hasSucceeded());
    EXPECT_FALSE(versionFileContents());
}

}  // namespace

}  // namespace vistado::test
