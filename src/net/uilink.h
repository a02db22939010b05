#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "net/uithread.h"

namespace vistado::net {

// A download component's line to the user-interface thread: its workers run
// calls there and wait for them. The component cuts the line when it goes
// away; from then on handed-over calls do nothing and no worker waits, so a
// worker never reaches a destroyed component and never blocks its destructor.
// Calls that were handed over keep the line alive, hence the shared pointer.
class UiLink : public std::enable_shared_from_this<UiLink> {
public:
    explicit UiLink(UiThread ui);

    // Worker thread: runs call on the user-interface thread and returns once
    // it has run, or at once when the line is or gets cut.
    void runAndWait(std::function<void()> call);

    // User-interface thread: runs the calls handed over so far.
    void pump();

    // User-interface thread: cuts the line (see above).
    void cut();

private:
    bool isCut();

    UiThread ui;
    std::mutex lock;
    std::condition_variable changed;
    bool severed = false;
};

}  // namespace vistado::net
