// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/stretch_watchdog.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QMetaObject>
#include <QObject>
#include <chrono>
#include <ctime>

namespace {

// Notes the first paint of any widget, then lets itself go.
class FirstPaint : public QObject {
public:
    FirstPaint(QObject* parent, std::function<void()> seen) : QObject(parent), seen_(std::move(seen)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && seen_) {
            seen_();
            seen_ = nullptr;
        }
        return false;
    }

private:
    std::function<void()> seen_;
};

void appendLine(const QString& path, const QByteArray& line) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append)) file.write(line + '\n');
}

}  // namespace

std::int64_t StretchWatchdog::nowNs() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

StretchWatchdog::StretchWatchdog(double thresholdMilliseconds, std::function<void(const Stretch&)> onStretch)
    : threshold_(thresholdMilliseconds), onStretch_(std::move(onStretch)), receiver_(new QObject) {
    thread_ = std::thread([this] { beat(); });
}

StretchWatchdog::~StretchWatchdog() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
    // A heartbeat still queued goes with its receiver.
    delete receiver_;
}

void StretchWatchdog::beat() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        pending_ = true;
        const std::int64_t posted = nowNs();
        QMetaObject::invokeMethod(receiver_, [this, posted] { taken(posted); }, Qt::QueuedConnection);
        wake_.wait(lock, [this] { return stopping_ || !pending_; });
        wake_.wait_for(lock, std::chrono::milliseconds(1), [this] { return stopping_; });
    }
}

void StretchWatchdog::taken(std::int64_t postedNs) {
    const std::int64_t now = nowNs();
    const double waited = double(now - postedNs) / 1e6;
    if (postedNs >= resetNs_.load() && waited > longest_.load()) longest_.store(waited);
    if (waited > threshold_ && onStretch_) onStretch_(Stretch{now, waited});
    {
        std::lock_guard lock(mutex_);
        pending_ = false;
    }
    wake_.notify_all();
}

std::unique_ptr<StretchWatchdog> stretchLogFromEnvironment() {
    const QString path = qEnvironmentVariable("POMURINA_STRETCH_LOG");
    if (path.isEmpty() || !QCoreApplication::instance()) return nullptr;
    QCoreApplication* app = QCoreApplication::instance();
    app->installEventFilter(new FirstPaint(app, [path] {
        appendLine(path, "paint " + QByteArray::number(StretchWatchdog::nowNs()));
    }));
    return std::make_unique<StretchWatchdog>(8.0, [path](const StretchWatchdog::Stretch& s) {
        appendLine(path, "stretch " + QByteArray::number(s.endedNs) + ' ' + QByteArray::number(s.milliseconds, 'f', 1));
    });
}
