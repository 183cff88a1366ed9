#include "app/WaitToken.h"

namespace kovrin {

void WaitToken::Attach(Close close) {
    std::lock_guard call(call_mutex_);
    {
        std::lock_guard lock(mutex_);
        close_ = std::move(close);
        if (state_ != State::kFinished) {
            return;
        }
    }
    RunClose();
}

void WaitToken::Detach() {
    std::lock_guard call(call_mutex_);
    std::lock_guard lock(mutex_);
    close_ = nullptr;
}

void WaitToken::Finish() {
    std::lock_guard call(call_mutex_);
    {
        std::lock_guard lock(mutex_);
        if (state_ == State::kFinished) {
            return;
        }
        state_ = State::kFinished;
    }
    RunClose();
}

WaitToken::State WaitToken::GetState() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void WaitToken::RunClose() {
    // Under call_mutex_: Detach on another thread waits for the action.
    Close close;
    {
        std::lock_guard lock(mutex_);
        if (closed_ || !close_) {
            return;
        }
        closed_ = true;
        close = std::move(close_);
        close_ = nullptr;
    }
    close();
}

} // namespace kovrin
