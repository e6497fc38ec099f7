#include "catalogue/background_change.h"

#include <QMetaObject>
#include <stdexcept>

BackgroundChange::BackgroundChange() = default;

BackgroundChange::~BackgroundChange() {
    if (thread_.joinable()) thread_.join();
}

void BackgroundChange::start(std::function<void()> change, std::function<void(std::exception_ptr)> done) {
    if (running()) throw std::logic_error("BackgroundChange: a change is already running");
    done_ = std::move(done);
    failure_ = nullptr;
    const int generation = ++generation_;
    if (onRunningChanged) onRunningChanged(true);
    thread_ = std::thread([this, generation, change = std::move(change)] {
        try {
            change();
        } catch (...) {
            failure_ = std::current_exception();
        }
        // Only for this change: finish() may have run it already, and the
        // next one may be running by the time this call comes round.
        QMetaObject::invokeMethod(
            &context_, [this, generation] { if (generation == generation_) finish(); }, Qt::QueuedConnection);
    });
}

void BackgroundChange::finish() {
    if (!running()) return;
    thread_.join();
    // Cleared first: the done step may start the next change.
    auto done = std::move(done_);
    done_ = nullptr;
    const std::exception_ptr failure = failure_;
    failure_ = nullptr;
    if (onRunningChanged) onRunningChanged(false);
    done(failure);
}
