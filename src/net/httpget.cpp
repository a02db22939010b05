#include "net/httpget.h"

#include <stdexcept>
#include <utility>

#include "net/httpgetthread.h"
#include "net/uilink.h"

namespace vistado::net {

THTTPGet::THTTPGet(TUiThread ui)
{
    // Without them a worker could neither report nor be waited for.
    if (!ui.post || !ui.pump)
        throw std::invalid_argument("THTTPGet needs a way to the user-interface thread");
    link = std::make_shared<TUiLink>(std::move(ui));
}

THTTPGet::~THTTPGet()
{
    CancelDownload();
    // A worker waiting for the user-interface thread goes on at once, and
    // reports still queued there no longer reach this component.
    link->Cut();
    worker.reset();
    lastWorker.reset();
}

void THTTPGet::StartDownload()
{
    if (worker)
        return;
    lastWorker.reset();
    worker = std::make_unique<THTTPGetThread>(*this, link, !FileName.empty());
    worker->Start();
    while (WaitThread && worker)
        link->Pump();
}

void THTTPGet::CancelDownload()
{
    if (worker)
        worker->Terminate();
}

bool THTTPGet::Busy() const
{
    return worker != nullptr;
}

bool THTTPGet::Succeeded() const
{
    return succeeded;
}

bool THTTPGet::Failed() const
{
    THTTPGetThread* last = worker ? worker.get() : lastWorker.get();
    return last && last->Ended() && !last->Succeeded();
}

void THTTPGet::ReportProgress(const THTTPGetThread& reporter)
{
    reporter.OnProgress(*this, reporter.totalSize, reporter.bytesDone);
}

void THTTPGet::DownloadFinished(THTTPGetThread& finished)
{
    // The component is idle again once the events have run, even when one throws.
    struct TRelease {
        THTTPGet& component;
        ~TRelease() { component.lastWorker = std::move(component.worker); }
    } release{*this};

    succeeded = finished.Succeeded();
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
