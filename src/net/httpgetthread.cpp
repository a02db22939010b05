#include "net/httpgetthread.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <string_view>
#include <utility>
#include <vector>

#include "net/uilink.h"

namespace vistado::net {

namespace {

constexpr std::size_t kChunkSize = 1025;
constexpr const char* kPostHeader = "Content-Type: application/x-www-form-urlencoded";
constexpr int kMaxRedirects = 5;

// Once per process, on the user-interface thread, before the first handle.
void initCurl()
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
}

}  // namespace

// The curl side of one request, alive for the body's run.
struct THTTPGetThread::Transfer {
    THTTPGetThread& worker;
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy{curl_easy_init(), curl_easy_cleanup};
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers{nullptr, curl_slist_free_all};
    bool headersComplete = false;  // the last block of reply headers has ended
    bool bodyBegun = false;        // beginBody has run
    bool reading = false;          // beginBody let the body be read
    bool broken = false;           // the body could not be kept
    bool lengthKnown = false;      // the reply gave a Content-Length
    bool completed = false;        // curl has finished the transfer, with `result`
    CURLcode result = CURLE_OK;
};

THTTPGetThread::THTTPGetThread(THTTPGet& owner, std::shared_ptr<UiLink> link, bool toFile)
    : AcceptTypes(owner.AcceptTypes),
      Agent(owner.Agent),
      URL(owner.URL),
      FileName(owner.FileName),
      UserName(owner.UserName),
      Password(owner.Password),
      PostQuery(owner.PostQuery),
      Referer(owner.Referer),
      BinaryData(owner.BinaryData),
      UseCache(owner.UseCache),
      connectTimeout(owner.connectTimeout),
      stallTimeout(owner.stallTimeout),
      toFile(toFile),
      OnProgress(owner.OnProgress),
      owner(owner),
      link(std::move(link)),
      multi((initCurl(), curl_multi_init()))
{
}

THTTPGetThread::~THTTPGetThread()
{
    if (thread.joinable())
        thread.join();
}

void THTTPGetThread::start()
{
    thread = std::thread(&THTTPGetThread::run, this);
}

void THTTPGetThread::terminate()
{
    {
        std::lock_guard guard(stateLock);
        terminated = true;
    }
    // Ends a wait for the network at once; a server that never answers
    // cannot delay the cancel.
    curl_multi_wakeup(multi.get());
}

THTTPGetThread::Outcome THTTPGetThread::outcome()
{
    std::lock_guard guard(stateLock);
    return {ended, succeeded, fault, endedStatus};
}

bool THTTPGetThread::awaitEnded(std::chrono::milliseconds limit)
{
    std::unique_lock guard(stateLock);
    return endedChanged.wait_for(guard, limit, [this] { return ended; });
}

bool THTTPGetThread::isTerminated()
{
    std::lock_guard guard(stateLock);
    return terminated;
}

void THTTPGetThread::run()
{
    bool result = false;
    try {
        result = Execute();
    } catch (const std::exception&) {
        // The download counts as failed; there is no one on this thread to tell.
        discardTarget();
        bodyFault = DownloadFault::NotKept;
    }
    conclude(result);
    link->runAndWait([this] { owner.DownloadFinished(*this); });
}

bool THTTPGetThread::Execute()
{
    const UrlParts parts = SplitUrl(URL);
    if (isTerminated())
        return false;

    Transfer transfer{*this};
    if (setUpRequest(transfer, parts))
        runTransfer(transfer);
    if (isTerminated())
        return false;
    if (!transfer.bodyBegun)  // a reply without a body, or none at all
        transfer.reading = beginBody(transfer);
    bodyFault = faultOf(transfer);
    if (bodyFault == DownloadFault::None && !closeTarget())
        bodyFault = DownloadFault::NotKept;
    if (bodyFault != DownloadFault::None) {
        discardTarget();
        return false;
    }
    return toFile ? totalSize == bytesDone : bytesDone != 0;
}

// Only a transfer that curl completed, of a 2xx reply read whole, keeps its body.
DownloadFault THTTPGetThread::faultOf(const Transfer& transfer) const
{
    if (httpStatus != 0 && (httpStatus < 200 || httpStatus > 299))
        return DownloadFault::ErrorStatus;
    if (transfer.broken || (httpStatus != 0 && !transfer.reading))
        return DownloadFault::NotKept;
    if (!transfer.completed)
        return DownloadFault::Unreachable;  // the request could not even be made
    switch (transfer.result) {
    case CURLE_OK:
        if (httpStatus == 0)
            return DownloadFault::CutShort;
        if (transfer.lengthKnown && bytesDone != totalSize)
            return DownloadFault::CutShort;
        return DownloadFault::None;
    case CURLE_OPERATION_TIMEDOUT:
        return DownloadFault::TimedOut;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
        return DownloadFault::Unreachable;
    default:
        return DownloadFault::CutShort;
    }
}

bool THTTPGetThread::setUpRequest(Transfer& transfer, const UrlParts& parts)
{
    CURL* easy = transfer.easy.get();
    if (!easy || parts.host.empty())
        return false;

    std::string address = (parts.secure ? "https://" : "http://") + parts.host + ":" + std::to_string(parts.port) +
                          parts.objectPath;
    curl_easy_setopt(easy, CURLOPT_URL, address.c_str());
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, static_cast<long>(kMaxRedirects));
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, static_cast<long>(kChunkSize));
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // A cancel must not wait for a host name lookup to finish.
    curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, connectTimeout);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, stallTimeout);

    if (!Agent.empty())
        curl_easy_setopt(easy, CURLOPT_USERAGENT, Agent.c_str());
    if (!UserName.empty() || !Password.empty()) {
        curl_easy_setopt(easy, CURLOPT_USERNAME, UserName.c_str());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, Password.c_str());
    }
    if (!Referer.empty())
        curl_easy_setopt(easy, CURLOPT_REFERER, Referer.c_str());

    // An empty accept list leaves "Accept:" without a value, which sends no
    // Accept header at all.
    std::vector<std::string> lines{"Accept: " + AcceptTypes};
    if (!UseCache) {
        lines.emplace_back("Cache-Control: no-cache");
        lines.emplace_back("Pragma: no-cache");
    }
    if (!PostQuery.empty()) {
        lines.emplace_back(kPostHeader);
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, PostQuery.data());
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(PostQuery.size()));
    }
    for (const std::string& line : lines) {
        // Appending gives back the list's head, the same after the first line.
        curl_slist* list = curl_slist_append(transfer.headers.get(), line.c_str());
        if (!list)
            return false;
        if (!transfer.headers)
            transfer.headers.reset(list);
    }
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, transfer.headers.get());

    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &THTTPGetThread::onHeaderLine);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &THTTPGetThread::onBodyData);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    return true;
}

void THTTPGetThread::runTransfer(Transfer& transfer)
{
    CURLM* requests = multi.get();
    CURL* easy = transfer.easy.get();
    if (!requests || curl_multi_add_handle(requests, easy) != CURLM_OK)
        return;
    int running = 1;
    while (running > 0 && !isTerminated()) {
        if (curl_multi_perform(requests, &running) != CURLM_OK)
            break;
        if (running > 0 && curl_multi_poll(requests, nullptr, 0, 1000, nullptr) != CURLM_OK)
            break;
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(requests, &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
            transfer.completed = true;
            transfer.result = message->data.result;
        }
    }
    curl_multi_remove_handle(requests, easy);
}

std::size_t THTTPGetThread::onHeaderLine(char* data, std::size_t size, std::size_t count, void* transfer)
{
    auto& t = *static_cast<Transfer*>(transfer);
    std::string_view line(data, size * count);
    // Each reply (an interim one, a redirect, the final one) starts with its
    // status line and ends its headers with an empty line.
    if (line.starts_with("HTTP/"))
        t.headersComplete = false;
    else if (line == "\r\n" || line == "\n")
        t.headersComplete = true;
    return size * count;
}

std::size_t THTTPGetThread::onBodyData(char* data, std::size_t size, std::size_t count, void* transfer)
{
    auto& t = *static_cast<Transfer*>(transfer);
    try {
        return t.worker.receive(t, data, size * count) ? size * count : 0;
    } catch (const std::exception&) {
        t.broken = true;
        return 0;  // stops the transfer
    }
}

// The reply headers have arrived, or no reply will: decides whether the body
// is read and makes its target anew.
bool THTTPGetThread::beginBody(Transfer& transfer)
{
    transfer.bodyBegun = true;
    long status = 0;
    curl_off_t length = -1;
    if (transfer.headersComplete) {
        curl_easy_getinfo(transfer.easy.get(), CURLINFO_RESPONSE_CODE, &status);
        curl_easy_getinfo(transfer.easy.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    }
    httpStatus = status;
    transfer.lengthKnown = length >= 0;
    if (length < 0 && BinaryData)
        return false;
    totalSize = std::max<curl_off_t>(length, 0);
    bytesDone = 0;

    if (!toFile) {
        resultText.clear();
        return status >= 200 && status <= 299;
    }
    ::unlink(FileName.c_str());
    if (status < 200 || status > 299)
        return false;
    partName = FileName + ".part";
    target = ::open(partName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (target < 0) {
        partName.clear();
        return false;
    }
    return true;
}

bool THTTPGetThread::receive(Transfer& transfer, const char* data, std::size_t size)
{
    if (!transfer.bodyBegun)
        transfer.reading = beginBody(transfer);
    if (!transfer.reading)
        return false;
    while (size > 0) {
        if (isTerminated())
            return false;
        bytesRead = std::min(size, kChunkSize);
        if (!store(data, bytesRead)) {
            transfer.broken = true;
            return false;
        }
        bytesDone += static_cast<std::int64_t>(bytesRead);
        if (OnProgress)
            link->runAndWait([this] { owner.ReportProgress(*this); });
        data += bytesRead;
        size -= bytesRead;
    }
    return true;
}

bool THTTPGetThread::store(const char* data, std::size_t size)
{
    if (!toFile) {
        resultText.append(data, size);
        return true;
    }
    while (size > 0) {
        ssize_t written = ::write(target, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool THTTPGetThread::closeTarget()
{
    if (target < 0)
        return true;
    int closed = ::close(target);
    target = -1;
    return closed == 0;
}

void THTTPGetThread::discardTarget()
{
    if (target >= 0)
        ::close(target);
    target = -1;
    if (!partName.empty())
        ::unlink(partName.c_str());
    partName.clear();
}

// Settles the result under the lock, so that a cancel either comes first
// (nothing is kept, the download failed) or finds the result final.
void THTTPGetThread::conclude(bool result)
{
    std::lock_guard guard(stateLock);
    if (terminated) {
        discardTarget();
        result = false;
        bodyFault = DownloadFault::Cancelled;
    } else if (!partName.empty()) {
        // The whole body now takes the target's name.
        if (std::rename(partName.c_str(), FileName.c_str()) != 0) {
            discardTarget();
            result = false;
            bodyFault = DownloadFault::NotKept;
        }
        partName.clear();
    }
    succeeded = result;
    fault = bodyFault;
    endedStatus = httpStatus;
    ended = true;
    endedChanged.notify_all();
}

}  // namespace vistado::net
