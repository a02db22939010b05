#pragma once

#include <cstddef>
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
    THTTPGetThread(THTTPGet& owner, std::shared_ptr<TUiLink> link, bool toFile);
    ~THTTPGetThread();  // joins the thread
    THTTPGetThread(const THTTPGetThread&) = delete;
    THTTPGetThread& operator=(const THTTPGetThread&) = delete;

    void Start();

    // Any thread. Asks the body to stop and marks the download failed, unless
    // the body has already ended: then its result stands.
    void Terminate();
    bool Ended();
    bool Succeeded();

    std::string AcceptTypes, Agent, URL, FileName;
    std::string resultText;  // text mode only
    std::string UserName, Password, PostQuery, Referer;
    bool BinaryData, UseCache;
    long ConnectTimeout, StallTimeout;
    std::int64_t totalSize = 0;  // the reply's Content-Length; 0 when it has none
    bool toFile;
    std::size_t bytesRead = 0;   // size of the last chunk
    std::int64_t bytesDone = 0;  // body bytes received so far
    TOnProgressEvent OnProgress;

private:
    struct TTransfer;
    struct TMultiCleanup {
        void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
    };

    void Run();
    bool Execute();
    bool SetUpRequest(TTransfer& transfer, const TUrlParts& parts);
    void RunTransfer(TTransfer& transfer);
    bool BeginBody(TTransfer& transfer);
    bool Receive(TTransfer& transfer, const char* data, std::size_t size);
    bool Store(const char* data, std::size_t size);
    bool CloseTarget();
    void DiscardTarget();
    void Conclude(bool result);
    bool Terminated();

    static std::size_t OnHeaderLine(char* data, std::size_t size, std::size_t count, void* transfer);
    static std::size_t OnBodyData(char* data, std::size_t size, std::size_t count, void* transfer);

    THTTPGet& owner;
    std::shared_ptr<TUiLink> link;
    std::unique_ptr<CURLM, TMultiCleanup> multi;  // made with the worker, so Terminate can always wake it
    std::thread thread;

    std::string partName;  // the body's temporary file beside FileName, while there is one
    int target = -1;       // its descriptor while open

    std::mutex stateLock;  // guards the three below
    bool terminated = false;
    bool ended = false;
    bool succeeded = false;
};

}  // namespace vistado::net
