#pragma once

#include "app/exiftool/exiftoolreply.h"

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace vistado {

// What became of one request to ExifTool.
struct ExifToolOutcome {
    enum class Status {
        Ok,         // ExifTool did it (see the requests below for what that means)
        Failed,     // ExifTool answered, with an error or without doing the work: `message` says why
        Died,       // the process ended, or could not be started, before it answered
        TimedOut,   // no answer in time: the process was killed
        LineBreak,  // the file name or a value holds a line break: nothing was sent
    };
    Status status = Status::Died;
    // Failed: ExifTool's error lines, or else its warnings ("Nothing to do." when there
    // were none), one a line.
    std::string message;
    // What ExifTool answered; for a read its values.
    ExifToolReply reply;
};

// ExifTool, the outside program the GPS backup and restore hand their work to, as one
// long-lived process (`exiftool -stay_open True -@ -`) serving request after request.
// It starts at the first request. Each request goes to it as an argument stream, one
// argument a line, ended by a numbered -execute, and its reply is read up to the matching
// "{ready<number>}" line. It never runs through a shell: a file name is one line of data, a
// relative one passed as "./NAME", so that a leading "-", "#" or blank is no syntax. Names are
// bytes, in whatever character set the locale has, and ExifTool is told not to convert them
// ("-charset filename=" with nothing behind it), else it would name -w's files in UTF-8.
//
// A process that dies or does not answer within `replyTimeout` costs that request only: it
// is killed and collected, and the next request starts a new one. The process is ended
// (-stay_open False) by stop() and the destructor; it dies with this program (also when a
// signal ends it), so none is left behind.
//
// Requests are answered one after the other on the calling thread. While it waits for an
// answer, `whileWaiting` is called about every 20 ms (the window processes its events).
class ExifTool {
public:
    static constexpr std::chrono::milliseconds kReplyTimeout{30'000};

    // `program` is looked up in PATH (Debian's exiftool by default).
    explicit ExifTool(std::string program = "exiftool");
    ~ExifTool();
    ExifTool(const ExifTool&) = delete;
    ExifTool& operator=(const ExifTool&) = delete;

    // Whether the program is in PATH as an executable file.
    bool installed() const;

    // Writes the tags (name=value, as ExifTool names them: "GPSLatitude" = "48 8 13.75")
    // into the file and replaces it (-overwrite_original). Ok when ExifTool reports the file
    // updated (or unchanged: it held those values already) and no error. ExifTool drops one
    // blank behind the "=", so a value should not begin with one.
    ExifToolOutcome writeTags(const std::string& file, const std::vector<TagValue>& tags);

    // Reads the tags of the file (in -args form): the values, in ExifTool's order and names,
    // as numbers (-n: 48.137154) or as ExifTool prints them (48 deg 8' 13.75" N). A tag the
    // file does not have is left out. Ok when ExifTool reports no error.
    enum class Values { Printed, Numbers };
    ExifToolOutcome readTags(const std::string& file, const std::vector<std::string>& tags, Values form);

    // Any request: the options, one argument each, then the file. Ok when ExifTool reports
    // no error; what it did is in the reply.
    ExifToolOutcome request(const std::vector<std::string>& options, const std::string& file);

    // Ends the process when one runs: asks it to, and kills it when it has not ended after
    // a moment. A later request starts a new one.
    void stop();

    // Whether a process runs (started and not yet stopped or lost).
    bool running() const { return process > 0; }

    // The requests in a row whose process died or did not answer in time; back to 0 with
    // every answer.
    int lostInARow() const { return lost; }

    std::chrono::milliseconds replyTimeout = kReplyTimeout;
    std::function<void()> whileWaiting;

private:
    enum class Exchange { Answered, Died, TimedOut };

    std::string findInPath() const;
    bool start();
    Exchange exchange(const std::string& requestText, unsigned id, std::string& replyText);
    void kill();

    std::string program;
    pid_t process = -1;
    int channel = -1;  // the process's standard input, output and error: one socket
    unsigned nextId = 1;
    int lost = 0;
};

}  // namespace vistado
