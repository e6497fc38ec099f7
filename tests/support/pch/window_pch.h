// SPDX-License-Identifier: GPL-3.0-or-later
// Precompiled once for every window test: the logic tests' headers, the
// window and the test driver of the real window.
#pragma once
#include "support/pch/logic_pch.h"

#include "main/form1.h"
#include "support/window/game_window.h"
