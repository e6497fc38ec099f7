// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system's steady clock in milliseconds: the time between presses is
// measured by it, unless a test gives a clock of its own.
#include <QtGlobal>
#include <chrono>

inline qint64 steadyClockMs() {
    return qint64(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}
