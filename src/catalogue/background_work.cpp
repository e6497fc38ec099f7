// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/background_work.h"

#include <QMetaObject>
#include <stdexcept>

BackgroundWork::BackgroundWork() = default;

BackgroundWork::~BackgroundWork() {
    if (thread_.joinable()) thread_.join();
}

void BackgroundWork::start(std::function<void()> work, std::function<void(std::exception_ptr)> done) {
    if (running()) throw std::logic_error("BackgroundWork: work is already running");
    done_ = std::move(done);
    failure_ = nullptr;
    const int generation = ++generation_;
    if (onRunningChanged) onRunningChanged(true);
    thread_ = std::thread([this, generation, work = std::move(work)] {
        try {
            work();
        } catch (...) {
            failure_ = std::current_exception();
        }
        // Only for this work: finish() may have run it already, and the
        // next one may be running by the time this call comes round.
        QMetaObject::invokeMethod(
            &context_, [this, generation] { if (generation == generation_) finish(); }, Qt::QueuedConnection);
    });
}

void BackgroundWork::finish() {
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
