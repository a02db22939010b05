#include "net/httpget.h"

#include <stdexcept>
#include <utility>

#include "net/httpgetthread.h"
#include "net/uilink.h"

namespace vistado::net {

THTTPGet::THTTPGet(UiThread ui)
{
    // Without them a worker could neither report nor be waited for.
    if (!ui.post || !ui.pump)
        throw std::invalid_argument("THTTPGet needs a way to the user-interface thread");
    link = std::make_shared<UiLink>(std::move(ui));
}

THTTPGet::~THTTPGet()
{
    CancelDownload();
    // A worker waiting for the user-interface thread goes on at once, and
    // reports still queued there no longer reach this component.
    link->cut();
    worker.reset();
    lastWorker.reset();
}

void THTTPGet::StartDownload()
{
    if (worker)
        return;
    lastWorker.reset();
    worker = std::make_unique<THTTPGetThread>(*this, link, !FileName.empty());
    worker->start();
    while (WaitThread && worker)
        link->pump();
}

void THTTPGet::CancelDownload()
{
    if (worker)
        worker->terminate();
}

bool THTTPGet::busy() const
{
    return worker != nullptr;
}

bool THTTPGet::hasSucceeded() const
{
    return succeeded;
}

THTTPGetThread* THTTPGet::current() const
{
    return worker ? worker.get() : lastWorker.get();
}

bool THTTPGet::failed() const
{
    THTTPGetThread* last = current();
    if (!last)
        return false;
    const THTTPGetThread::Outcome outcome = last->outcome();
    return outcome.ended && !outcome.succeeded;
}

bool THTTPGet::awaitEnd(std::chrono::milliseconds limit)
{
    return !worker || worker->awaitEnded(limit);
}

DownloadFault THTTPGet::fault() const
{
    THTTPGetThread* last = current();
    return last ? last->outcome().fault : DownloadFault::None;
}

long THTTPGet::httpStatus() const
{
    THTTPGetThread* last = current();
    return last ? last->outcome().httpStatus : 0;
}

void THTTPGet::ReportProgress(const THTTPGetThread& reporter)
{
    reporter.OnProgress(*this, reporter.totalSize, reporter.bytesDone);
}

void THTTPGet::DownloadFinished(THTTPGetThread& finished)
{
    // The component is idle again once the events have run, even when one throws.
    struct Release {
        THTTPGet& component;
        ~Release() { component.lastWorker = std::move(component.worker); }
    } release{*this};

    succeeded = finished.outcome().succeeded;
    if (!succeeded) {
        if (OnError)
            OnError(*this);
    } else if (finished.toFile) {
        if (OnDoneFile)
            OnDoneFile(*this, finished.FileName, finished.totalSize);
    } else if (OnDoneString) {
        OnDoneString(*this, finished.resultText);
    }
}

}  // namespace vistado::net
