#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "net/uithread.h"

namespace vistado::net {

class THTTPGet;
class THTTPGetThread;
class UiLink;

using TOnProgressEvent = std::function<void(THTTPGet& sender, std::int64_t totalSize, std::int64_t readed)>;
using TOnDoneFileEvent = std::function<void(THTTPGet& sender, const std::string& fileName, std::int64_t fileSize)>;
using TOnDoneStringEvent = std::function<void(THTTPGet& sender, const std::string& result)>;
using TOnErrorEvent = std::function<void(THTTPGet& sender)>;

// Why a download that has ended left no target file (or, in text mode, no
// text), as far as its caller tells the user.
enum class DownloadFault {
    None,         // the body arrived whole, or the download has not ended
    Unreachable,  // no connection: unknown host, connection refused, no secure channel
    TimedOut,     // no connection, or no data, within the time-outs
    ErrorStatus,  // the server answered with a status other than 2xx (httpStatus)
    CutShort,     // the reply broke off: its head or body ended early, or the connection failed in it
    NotKept,      // the body could not be written, or BinaryData refused a reply without Content-Length
    Cancelled,
};

// Fetches one URL over HTTP(S) on a worker thread into the file FileName, or,
// with FileName empty, into a text handed to OnDoneString.
//
// Everything here is used on the user-interface thread only; the events run
// there too, through the UiThread the owner gives. The worker works on copies
// of the properties, so changing them during a download affects only the next.
//
// The target file appears only when the whole body has been read: the worker
// writes it under FileName + ".part" and renames it at the end. Only a reply
// with a 2xx status whose transfer completed is kept: a body that ends before
// its Content-Length, a broken connection, no reply at all, an error status, a
// cancel or a failure to write leave no target file (fault() says which). A
// kept body succeeds when it is as long as the Content-Length said, so a body
// without one is kept but reported as OnError. Where a reply arrives (or none
// does), the previous target file is removed first, so a stale file never
// passes for the new reply.
//
// Do not destroy the component from inside one of its own events.
class THTTPGet {
public:
    // Both of ui's functions must be given.
    explicit THTTPGet(UiThread ui);
    ~THTTPGet();
    THTTPGet(const THTTPGet&) = delete;
    THTTPGet& operator=(const THTTPGet&) = delete;

    std::string AcceptTypes = "*/*";
    std::string Agent = "Fetchkin HTTPGet";  // empty: no User-Agent header
    bool BinaryData = false;  // true: a reply without Content-Length is not read at all
    std::string URL;
    bool UseCache = false;  // false: ask every cache on the way for a fresh reply
    std::string FileName;
    std::string UserName;
    std::string Password;
    std::string PostQuery;  // not empty: the request is a form POST with this body
    std::string Referer;
    bool WaitThread = false;  // true: StartDownload returns once the download has been reported

    // Seconds to wait for the connection, and seconds without a single byte
    // arriving, before a download gives up. They keep a dead or hung server
    // from holding a worker beyond the time its caller waits for a reply.
    long connectTimeout = 10;
    long stallTimeout = 10;

    TOnProgressEvent OnProgress;  // after each chunk of the body; the worker waits for it
    TOnDoneFileEvent OnDoneFile;
    TOnDoneStringEvent OnDoneString;
    TOnErrorEvent OnError;

    // Starts a download of URL, unless one is under way: then nothing happens.
    void StartDownload();

    // Asks the running download to stop; it then ends as failed (OnError),
    // unless it had already ended.
    void CancelDownload();

    // A download is under way or has not been reported yet.
    bool busy() const;

    // The result of the last reported download.
    bool hasSucceeded() const;

    // The current download (the last one when idle) has ended without
    // success, even if that has not been reported yet. Lets a caller that
    // polls for the target file without running the events stop early.
    bool failed() const;

    // Blocks, without running the events, until the current download has
    // ended (its target file is then final) or `limit` has passed; true when
    // it has ended, or when there is none. Its report still comes with the
    // events.
    bool awaitEnd(std::chrono::milliseconds limit);

    // Of the current download (the last one when idle), once it has ended:
    // why it left no target file, and the HTTP status of its reply (0 when
    // none came).
    DownloadFault fault() const;
    long httpStatus() const;

private:
    friend class THTTPGetThread;

    // Run on the user-interface thread on the worker's behalf.
    void ReportProgress(const THTTPGetThread& reporter);
    void DownloadFinished(THTTPGetThread& finished);

    THTTPGetThread* current() const;

    std::shared_ptr<UiLink> link;
    std::unique_ptr<THTTPGetThread> worker;  // none when idle
    // The last reported worker; its thread is past its report and is joined
    // before the next start.
    std::unique_ptr<THTTPGetThread> lastWorker;
    bool succeeded = false;
};

}  // namespace vistado::net
