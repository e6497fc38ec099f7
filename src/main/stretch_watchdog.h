// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A measuring aid, off unless asked for: a thread keeps one heartbeat queued
// to the window's thread at a time and notes how long each waited there, which
// is how long a click would have waited. A wait longer than the threshold is a
// stretch. The program starts one only when POMURINA_STRETCH_LOG names a file
// (main.cpp); the benchmarks start their own.
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class QObject;

class StretchWatchdog {
public:
    struct Stretch {
        std::int64_t endedNs = 0;  // CLOCK_REALTIME when the window's thread took the heartbeat
        double milliseconds = 0;
    };

    // Must be created on the window's thread. onStretch (optional) is called
    // there for each stretch as it ends.
    explicit StretchWatchdog(double thresholdMilliseconds,
                             std::function<void(const Stretch&)> onStretch = {});
    ~StretchWatchdog();
    StretchWatchdog(const StretchWatchdog&) = delete;
    StretchWatchdog& operator=(const StretchWatchdog&) = delete;

    // The longest wait of a heartbeat sent since the last reset (one still
    // waiting counts once it is taken).
    double longestMilliseconds() const { return longest_.load(); }
    void reset() {
        resetNs_.store(nowNs());
        longest_.store(0);
    }

    static std::int64_t nowNs();

private:
    void beat();
    void taken(std::int64_t postedNs);

    const double threshold_;
    std::function<void(const Stretch&)> onStretch_;
    QObject* receiver_;
    std::atomic<double> longest_{0};
    std::atomic<std::int64_t> resetNs_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool pending_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

// POMURINA_STRETCH_LOG=<file>: a watchdog of 8 ms (half a frame) whose stretches, and the
// first paint of any window, are appended to the file as lines
// "stretch <ended, ns since the epoch> <ms>" and "paint <ns since the epoch>".
// Null when the variable is not set.
std::unique_ptr<StretchWatchdog> stretchLogFromEnvironment();
