// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/parallel_work.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {
std::atomic<int> workerLimit{0};
}  // namespace

int workerCount() {
    static const int count = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    const int limit = workerLimit.load(std::memory_order_relaxed);
    return limit > 0 ? std::min(limit, count) : count;
}

void limitWorkers(int most) { workerLimit.store(most, std::memory_order_relaxed); }

void runOnAllCores(int count, const std::function<void(int)>& work) {
    std::atomic<int> next{0};
    const auto drain = [&] {
        for (int i; (i = next.fetch_add(1, std::memory_order_relaxed)) < count;) work(i);
    };
    // A helper only pays off with more than a little work to share.
    const int helpers = std::min(workerCount() - 1, count - 1);
    std::vector<std::thread> threads;
    for (int h = 0; h < helpers; ++h) threads.emplace_back(drain);
    drain();
    for (std::thread& t : threads) t.join();
}
