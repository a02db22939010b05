#pragma once

#include <cstddef>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <curl/curl.h>

#include "net/httpget.h"
#include "net/spliturl.h"

namespace vistado::net {

// The worker of one download. It is made on the user-interface thread with
// copies of the component's properties, started, and joined by the component
// after it has reported its end there.
class THTTPGetThread {
public:
    THTTPGetThread(THTTPGet& owner, std::shared_ptr<UiLink> link, bool toFile);
    ~THTTPGetThread();  // joins the thread
    THTTPGetThread(const THTTPGetThread&) = delete;
    THTTPGetThread& operator=(const THTTPGetThread&) = delete;

    void start();

    // Any thread. Asks the body to stop and marks the download failed, unless
    // the body has already ended: then its result stands.
    void terminate();
    // Any thread: how the body has ended; before its end all false, None and 0.
    struct Outcome {
        bool ended;
        bool succeeded;
        DownloadFault fault;
        long httpStatus;
    };
    Outcome outcome();
    // Any thread: waits until the body has ended or `limit` has passed; true
    // when it has ended.
    bool awaitEnded(std::chrono::milliseconds limit);

    std::string AcceptTypes, Agent, URL, FileName;
    std::string resultText;  // text mode only
    std::string UserName, Password, PostQuery, Referer;
    bool BinaryData, UseCache;
    long connectTimeout, stallTimeout;
    std::int64_t totalSize = 0;  // the reply's Content-Length; 0 when it has none
    bool toFile;
    std::size_t bytesRead = 0;   // size of the last chunk
    std::int64_t bytesDone = 0;  // body bytes received so far
    long httpStatus = 0;         // of the reply whose head arrived whole; 0 before and without one
    TOnProgressEvent OnProgress;

private:
    struct Transfer;
    struct MultiCleanup {
        void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
    };

    void run();
    bool Execute();
    bool setUpRequest(Transfer& transfer, const UrlParts& parts);
    void runTransfer(Transfer& transfer);
    bool beginBody(Transfer& transfer);
    DownloadFault faultOf(const Transfer& transfer) const;
    bool receive(Transfer& transfer, const char* data, std::size_t size);
    bool store(const char* data, std::size_t size);
    bool closeTarget();
    void discardTarget();
    void conclude(bool result);
    bool isTerminated();

    static std::size_t onHeaderLine(char* data, std::size_t size, std::size_t count, void* transfer);
    static std::size_t onBodyData(char* data, std::size_t size, std::size_t count, void* transfer);

    THTTPGet& owner;
    std::shared_ptr<UiLink> link;
    std::unique_ptr<CURLM, MultiCleanup> multi;  // made with the worker, so terminate() can always wake it
    std::thread thread;

    std::string partName;  // the body's temporary file beside FileName, while there is one
    int target = -1;       // its descriptor while open
    DownloadFault bodyFault = DownloadFault::None;  // what Execute found

    std::mutex stateLock;  // guards the five below
    bool terminated = false;
    bool ended = false;
    bool succeeded = false;
    DownloadFault fault = DownloadFault::None;
    long endedStatus = 0;
    std::condition_variable endedChanged;
};

}  // namespace vistado::net
