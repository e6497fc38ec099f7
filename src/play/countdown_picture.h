// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The big number of the look's countdown, drawn to be read from across a
// room: a bold digit in a warm yellow with a dark outline, on a see-through
// background, so it can lie in a corner of the face.
#include <QFont>
#include <QImage>

// secondsLeft (1..9) at the given height in pixels (at least 16).
QImage drawCountDown(int secondsLeft, int height, const QFont& font);
