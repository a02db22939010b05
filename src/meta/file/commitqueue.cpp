#include "meta/file/commitqueue.h"

#include "meta/file/replacefile.h"

#include <exception>

namespace vistado {

CommitQueue::CommitQueue()
{
    for (int i = 0; i < kAtOnce; ++i)
        workers.emplace_back([this] { work(); });
}

CommitQueue::~CommitQueue()
{
    {
        const std::lock_guard<std::mutex> hold(guard);
        closing = true;
    }
    changed.notify_all();
    for (std::thread& worker : workers)
        worker.join();
}

std::future<void> CommitQueue::commit(std::unique_ptr<ReplacementFile> file)
{
    std::unique_lock<std::mutex> hold(guard);
    changed.wait(hold, [this] { return static_cast<int>(jobs.size()) + running < kAtOnce; });
    jobs.push_back({std::move(file), {}});
    std::future<void> outcome = jobs.back().outcome.get_future();
    hold.unlock();
    changed.notify_all();
    return outcome;
}

void CommitQueue::work()
{
    for (;;) {
        std::unique_lock<std::mutex> hold(guard);
        changed.wait(hold, [this] { return !jobs.empty() || closing; });
        if (jobs.empty())
            return;
        Job job = std::move(jobs.front());
        jobs.pop_front();
        ++running;
        hold.unlock();
        try {
            job.file->commit();
            job.file.reset();
            job.outcome.set_value();
        } catch (...) {
            job.file.reset();
            job.outcome.set_exception(std::current_exception());
        }
        hold.lock();
        --running;
        hold.unlock();
        changed.notify_all();
    }
}

}  // namespace vistado
