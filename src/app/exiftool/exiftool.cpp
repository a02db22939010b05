#include "app/exiftool/exiftool.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace vistado {

namespace {

using Clock = std::chrono::steady_clock;

// How often the wait for an answer hands over to `whileWaiting`.
constexpr auto kWaitSlice = std::chrono::milliseconds(20);
// How long an idle process may take to end when asked to, before it is killed.
constexpr auto kStopGrace = std::chrono::milliseconds(2000);
constexpr auto kStopLook = std::chrono::milliseconds(5);

bool isExecutableFile(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// A file name as one line of the argument stream: a relative one behind "./", so that it
// begins with neither "-" (an option), "#" (a comment) nor a blank (which ExifTool drops).
std::string fileArgument(const std::string& file)
{
    return file.starts_with('/') ? file : "./" + file;
}

bool holdsLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

// Waits for the child to end and collects it.
void reap(pid_t pid)
{
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

std::string joinedLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

// ExifTool's own words for a request that did not do what was asked.
std::string failureMessage(const ExifToolReply& reply)
{
    if (!reply.errors.empty())
        return joinedLines(reply.errors);
    return reply.warnings.empty() ? std::string("Nothing to do.") : joinedLines(reply.warnings);
}

}  // namespace

ExifTool::ExifTool(std::string program) : program(std::move(program)) {}

ExifTool::~ExifTool()
{
    stop();
}

std::string ExifTool::findInPath() const
{
    if (program.find('/') != std::string::npos)
        return isExecutableFile(program) ? program : std::string();
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = folders.find(':', start);
        const std::string folder = folders.substr(start, end - start);
        // An empty entry would mean the current directory, where the photos are: skipped.
        if (!folder.empty() && isExecutableFile(folder + "/" + program))
            return folder + "/" + program;
        if (end == std::string::npos)
            return {};
        start = end + 1;
    }
}

bool ExifTool::installed() const
{
    return !findInPath().empty();
}

bool ExifTool::start()
{
    const std::string executable = findInPath();
    if (executable.empty())
        return false;

    // Everything the child needs is made before the fork: between fork and exec it may
    // only make async-signal-safe calls, as other threads (downloads) may hold locks.
    const char* const argv[] = {program.c_str(), "-stay_open", "True", "-@", "-", nullptr};
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return false;
    int execReport[2];
    if (::pipe2(execReport, O_CLOEXEC) != 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return false;
    }
    const pid_t parent = ::getpid();

    const pid_t pid = ::fork();
    if (pid == 0) {
        // A group of its own, so that a kill takes whatever it started too; and it dies
        // with this program, however that ends (strictly: with the thread that started it,
        // the window's, which lives as long as the program).
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        ::dup2(ends[1], STDIN_FILENO);
        ::dup2(ends[1], STDOUT_FILENO);
        ::dup2(ends[1], STDERR_FILENO);
        ::execv(executable.c_str(), const_cast<char* const*>(argv));
        // Only reached when exec failed: the parent learns of it through the pipe, which a
        // successful exec closes without a word.
        const int error = errno;
        [[maybe_unused]] const ssize_t told = ::write(execReport[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(ends[1]);
    ::close(execReport[1]);
    if (pid < 0) {
        ::close(ends[0]);
        ::close(execReport[0]);
        return false;
    }
    ::setpgid(pid, pid);  // also here, so that no kill can come before the child's own call
    int childError = 0;
    ssize_t got = 0;
    do {
        got = ::read(execReport[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    ::close(execReport[0]);
    if (got > 0) {
        reap(pid);
        ::close(ends[0]);
        return false;
    }
    process = pid;
    channel = ends[0];
    return true;
}

void ExifTool::kill()
{
    if (process <= 0)
        return;
    ::kill(-process, SIGKILL);
    ::kill(process, SIGKILL);
    reap(process);
    ::close(channel);
    process = -1;
    channel = -1;
}

void ExifTool::stop()
{
    if (process <= 0)
        return;
    const std::string last = "-stay_open\nFalse\n";
    ::send(channel, last.data(), last.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    const Clock::time_point deadline = Clock::now() + kStopGrace;
    // Looked at without collecting it: until it is collected its group cannot be another's,
    // and kill() takes whatever it started along.
    while (Clock::now() < deadline) {
        siginfo_t ended{};
        const int looked = ::waitid(P_PID, static_cast<id_t>(process), &ended, WEXITED | WNOHANG | WNOWAIT);
        if ((looked == 0 && ended.si_pid == process) || (looked < 0 && errno != EINTR))
            break;
        std::this_thread::sleep_for(kStopLook);
    }
    kill();
}

ExifTool::Exchange ExifTool::exchange(const std::string& requestText, unsigned id, std::string& replyText)
{
    const Clock::time_point deadline = Clock::now() + replyTimeout;
    std::size_t sent = 0;
    std::string received;
    std::size_t searched = 0;
    char buffer[65536];
    for (;;) {
        if (sent < requestText.size()) {
            const ssize_t n = ::send(channel, requestText.data() + sent, requestText.size() - sent,
                                     MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0)
                sent += static_cast<std::size_t>(n);
            else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                return Exchange::Died;
        }
        if (const std::optional<std::size_t> length = replyLength(received, id, searched)) {
            replyText = received.substr(0, *length);
            return Exchange::Answered;
        }
        // The marker line may have begun in what has come already.
        searched = received.size() > 32 ? received.size() - 32 : 0;

        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return Exchange::TimedOut;
        pollfd watched{channel, static_cast<short>(POLLIN | (sent < requestText.size() ? POLLOUT : 0)), 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(std::min(left, kWaitSlice).count()));
        if (ready < 0 && errno != EINTR)
            return Exchange::Died;
        if (ready == 0) {
            if (whileWaiting)
                whileWaiting();
            continue;
        }
        if (ready < 0 || !(watched.revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        const ssize_t n = ::recv(channel, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0)
            received.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            return Exchange::Died;
    }
}

ExifToolOutcome ExifTool::request(const std::vector<std::string>& options, const std::string& file)
{
    ExifToolOutcome outcome;
    if (holdsLineBreak(file) || std::ranges::any_of(options, holdsLineBreak)) {
        outcome.status = ExifToolOutcome::Status::LineBreak;
        return outcome;
    }
    if (process <= 0 && !start()) {
        ++lost;
        outcome.status = ExifToolOutcome::Status::Died;
        return outcome;
    }
    const unsigned id = nextId++;
    std::string requestText = "-charset\nfilename=\n";
    for (const std::string& option : options)
        requestText += option + "\n";
    requestText += fileArgument(file) + "\n-execute" + std::to_string(id) + "\n";

    std::string replyText;
    switch (exchange(requestText, id, replyText)) {
    case Exchange::Answered:
        lost = 0;
        outcome.reply = parseExifToolReply(replyText);
        outcome.status = outcome.reply.errors.empty() ? ExifToolOutcome::Status::Ok : ExifToolOutcome::Status::Failed;
        if (outcome.status == ExifToolOutcome::Status::Failed)
            outcome.message = failureMessage(outcome.reply);
        return outcome;
    case Exchange::Died:
        outcome.status = ExifToolOutcome::Status::Died;
        break;
    case Exchange::TimedOut:
        outcome.status = ExifToolOutcome::Status::TimedOut;
        break;
    }
    ++lost;
    kill();
    return outcome;
}

ExifToolOutcome ExifTool::writeTags(const std::string& file, const std::vector<TagValue>& tags)
{
    std::vector<std::string> options{"-overwrite_original"};
    for (const TagValue& tag : tags)
        options.push_back("-" + tag.name + "=" + tag.value);
    ExifToolOutcome outcome = request(options, file);
    if (outcome.status == ExifToolOutcome::Status::Ok &&
        outcome.reply.filesUpdated + outcome.reply.filesUnchanged == 0) {
        outcome.status = ExifToolOutcome::Status::Failed;
        outcome.message = failureMessage(outcome.reply);
    }
    return outcome;
}

ExifToolOutcome ExifTool::readTags(const std::string& file, const std::vector<std::string>& tags, Values form)
{
    std::vector<std::string> options{"-args"};
    if (form == Values::Numbers)
        options.emplace_back("-n");
    for (const std::string& tag : tags)
        options.push_back("-" + tag);
    return request(options, file);
}

}  // namespace vistado
