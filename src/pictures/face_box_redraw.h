// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The face box's bitmap during authoring: 300 x 300, the source picture drawn
// (nearest neighbour) into its top-left drawSize, white elsewhere.
#include <QImage>
#include <QSize>

// A new white 300 x 300 face box.
QImage blankFaceBox();

// Redraws the source picture over the whole face box: everything drawn before
// (strokes, paint, the zoom rectangle) is gone afterwards, also beyond the
// picture. A null source leaves the box white.
void redrawFaceBox(QImage& faceBox, const QImage& source, QSize drawSize);
