#pragma once

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vistado {

// ExifTool, the outside program the GPS backup and restore hand their work to. It is
// started without a shell: the arguments reach it as a list, each one whole, so no file
// name can add options or commands. Its standard input, output and error are /dev/null;
// what it prints is not the program's to show.
//
// The processes it started are its children: it tells how many still run, waits for them,
// and reaps each one that has ended, so none is left a zombie, keeping its exit status until
// it is asked for. Its destructor waits for those still running.
class ExifTool {
public:
    // `program` is looked up in PATH (Debian's exiftool by default).
    explicit ExifTool(std::string program = "exiftool");
    ~ExifTool();
    ExifTool(const ExifTool&) = delete;
    ExifTool& operator=(const ExifTool&) = delete;

    // Starts the program with `arguments` in the current directory, without waiting for it.
    // The process when it was created and the program was found and executed; none when
    // the program is not in PATH or could not be executed.
    std::optional<pid_t> start(const std::vector<std::string>& arguments);

    // How many of the started processes still run; reaps those that have ended.
    int running();

    // Whether the started process has ended (it is then reaped; its status is kept).
    bool ended(pid_t process);
    // Waits for the started process to end and gives its exit status, -1 when a signal
    // ended it. Asked once per process: the status is forgotten then.
    int awaitEnd(pid_t process);

    // Pauses 50 ms at a time until fewer than `limit` processes run.
    void awaitFreeSlot(int limit);
    // Looks for a running process, pauses 50 ms, and again, until none ran at the last
    // look: at least one pause is made. Has no time limit.
    void awaitAllEnded();

private:
    std::string findInPath() const;

    std::string program;
    std::vector<pid_t> children;
    std::map<pid_t, int> exitStatuses;  // of the children reaped, until asked for
};

}  // namespace vistado
