#pragma once
// The link between a queued task and the wait dialog shown for it. The page
// creates the token, queues it with its task and hands it to the dialog; the
// dialog attaches its close action when it appears and detaches when it goes.
// The worker finishes the token when the task has run or was dropped; the
// close action then runs once, whichever came first:
//  - finished after the dialog attached: Finish() runs it (worker thread);
//  - finished before: Attach() runs it at once (the dialog's thread).
// The action should only post to the UI thread; it must not wait for the
// thread that owns the dialog. After Detach() returns the action never runs
// again, so no dangling dialog is ever closed.

#include <functional>
#include <memory>
#include <mutex>

namespace kovrin {

class WaitToken {
public:
    using Close = std::function<void()>;
    enum class State { kPending, kFinished };

    static std::shared_ptr<WaitToken> Create() { return std::make_shared<WaitToken>(); }

    // The dialog appeared.
    void Attach(Close close);
    // The dialog went away by itself; waits for a close action running on
    // another thread. May be called from inside the close action.
    void Detach();
    // The task has ended (or was dropped).
    void Finish();

    State GetState() const;
    bool Finished() const { return GetState() == State::kFinished; }

private:
    void RunClose();

    mutable std::mutex mutex_;
    // Held while the close action runs; recursive so that the action may
    // detach the dialog on its own thread.
    std::recursive_mutex call_mutex_;
    State state_ = State::kPending;
    Close close_;
    bool closed_ = false;
};

} // namespace kovrin
