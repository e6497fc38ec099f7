// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of the program's error that a call raises; empty when it raises none.
#include "files/app_error.h"

#include <QString>
#include <functional>

inline QString appErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const AppError& e) {
        return e.message();
    }
    return {};
}
