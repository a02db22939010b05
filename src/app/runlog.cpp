#include "app/runlog.h"

#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <stdexcept>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace vistado {

namespace {

[[noreturn]] void throwFileError(const std::string& path)
{
    throw std::system_error(errno, std::generic_category(), path);
}

}  // namespace

RunLog::~RunLog()
{
    if (!isOpen())
        return;
    try {
        close();
    } catch (const std::exception&) {
        // A destructor cannot report; the owner's close() is where failures show.
    }
}

void RunLog::create(const std::string& path)
{
    close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        throwFileError(path);
    logFd = fd;
    logPath = path;
    firstWaiting = 0;
}

void RunLog::write(std::string_view text)
{
    if (!isOpen())
        throw std::logic_error("Protokoll ist nicht offen");
    currentLine.append(text);
}

void RunLog::endLine()
{
    if (!isOpen())
        throw std::logic_error("Protokoll ist nicht offen");
    std::string line = std::move(currentLine);
    currentLine.clear();
    if (waiting.empty())
        writeOut(line, "\r\n");
    else
        waiting.push_back({std::move(line), true});
}

std::size_t RunLog::holdLine()
{
    if (!isOpen())
        throw std::logic_error("Protokoll ist nicht offen");
    waiting.push_back({std::move(currentLine), false});
    currentLine.clear();
    return firstWaiting + waiting.size() - 1;
}

void RunLog::completeLine(std::size_t held, std::string_view text)
{
    if (held < firstWaiting || held - firstWaiting >= waiting.size() || waiting[held - firstWaiting].complete)
        throw std::logic_error("Protokollzeile ist nicht offen");
    WaitingLine& line = waiting[held - firstWaiting];
    line.text.append(text);
    line.complete = true;
    writeCompleteLines();
}

void RunLog::writeCompleteLines()
{
    while (!waiting.empty() && waiting.front().complete) {
        const std::string line = std::move(waiting.front().text);
        waiting.pop_front();
        ++firstWaiting;
        writeOut(line, "\r\n");
    }
}

void RunLog::close()
{
    if (!isOpen())
        return;
    // The descriptor is released even when the last pieces cannot be written.
    std::exception_ptr writeFailure;
    try {
        // A line still held is written as it stands: its result never came.
        for (WaitingLine& line : waiting)
            line.complete = true;
        writeCompleteLines();
        if (!currentLine.empty())
            writeOut(std::exchange(currentLine, {}), "");
    } catch (const std::system_error&) {
        writeFailure = std::current_exception();
    }
    const int closed = ::close(logFd);
    const int closeErrno = errno;
    logFd = -1;
    currentLine.clear();
    waiting.clear();
    if (writeFailure)
        std::rethrow_exception(writeFailure);
    if (closed != 0) {
        errno = closeErrno;
        throwFileError(logPath);
    }
}

// Writes the line and `lineEnd` in one piece, then tells the listener.
void RunLog::writeOut(const std::string& line, std::string_view lineEnd)
{
    const std::string piece = line + std::string(lineEnd);
    std::size_t done = 0;
    while (done < piece.size()) {
        const ssize_t n = ::write(logFd, piece.data() + done, piece.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throwFileError(logPath);
        }
        done += static_cast<std::size_t>(n);
    }
    if (lineListener)
        lineListener(line);
}

}  // namespace vistado
