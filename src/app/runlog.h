#pragma once

#include <string>
#include <string_view>

// The run log protokoll.csv: created anew by each run, written through a small
// buffer, closed when the next run starts or the window closes. Every failure
// of the file raises std::system_error; writing to a log that is not open is a
// std::logic_error.
class TRunLog {
public:
    TRunLog() = default;
    TRunLog(const TRunLog&) = delete;
    TRunLog& operator=(const TRunLog&) = delete;
    // Writes out what is still buffered; errors are reported only by close().
    ~TRunLog();

    // Closes a log still open from an earlier run, then creates (or empties) `path`.
    void create(const std::string& path);
    void write(std::string_view text);
    // Ends the current line the way the log's readers expect it: CR LF.
    void endLine();
    // Writes out the buffer and closes the file; does nothing when no log is open.
    void close();
    bool isOpen() const { return fd_ >= 0; }

private:
    void flush();

    int fd_ = -1;
    std::string path_;
    std::string buffer_;
};
