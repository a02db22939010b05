#pragma once

#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vistado {

class ReplacementFile;

// Commits new files on worker threads, several at once. A commit waits for
// the disk twice (the new file, then its folder); run side by side, their
// waits overlap each other and the caller's next photo, and the file system
// serves several in one go. Each commit keeps its own order (flush, check,
// rename, folder flush), so after a crash each file is still either the old
// one or the complete new one.
class CommitQueue {
public:
    static constexpr int kAtOnce = 4;

    CommitQueue();
    // Finishes every commit handed over.
    ~CommitQueue();
    CommitQueue(const CommitQueue&) = delete;
    CommitQueue& operator=(const CommitQueue&) = delete;

    // Hands the file over to be committed, first waiting while kAtOnce
    // commits are under way. The future tells the outcome: the commit's
    // error, if any. By then the file is released: its lock let go, a
    // failed commit's temporary file removed.
    std::future<void> commit(std::unique_ptr<ReplacementFile> file);

private:
    struct Job {
        std::unique_ptr<ReplacementFile> file;
        std::promise<void> outcome;
    };

    void work();

    std::mutex guard;
    std::condition_variable changed;
    std::deque<Job> jobs;
    int running = 0;
    bool closing = false;
    std::vector<std::thread> workers;
};

}  // namespace vistado
