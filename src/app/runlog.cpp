#include "app/runlog.h"

#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

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
    flush("\r\n");
}

void RunLog::close()
{
    if (!isOpen())
        return;
    // The descriptor is released even when the last piece cannot be written.
    std::exception_ptr writeFailure;
    if (!currentLine.empty()) {
        try {
            flush("");
        } catch (const std::system_error&) {
            writeFailure = std::current_exception();
        }
    }
    const int closed = ::close(logFd);
    const int closeErrno = errno;
    logFd = -1;
    currentLine.clear();
    if (writeFailure)
        std::rethrow_exception(writeFailure);
    if (closed != 0) {
        errno = closeErrno;
        throwFileError(logPath);
    }
}

// Writes the line and `lineEnd` in one piece, then tells the listener.
void RunLog::flush(std::string_view lineEnd)
{
    const std::string line = std::move(currentLine);
    currentLine.clear();
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
