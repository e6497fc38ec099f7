// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeping part pictures within 85 pixels a side: when any side of any of the
// four part pictures exceeds 85, the whole face (six pictures and the answer
// positions) is scaled by k = 85 / longest side, in single precision.
#include "catalogue/catalogue_files.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <array>

constexpr int kMaxPartSide = 85;

// 1.0f when no side exceeds 85; otherwise 85 / M in single precision, M the
// longest side above 85 (86 and 120 both end at 84 after scaling).
float shrinkFactor(const std::array<QSize, 4>& partSizes);

// value * k truncated toward zero, the product formed exactly (in double) from
// the integer and the single-precision k.
int scaleTruncated(int value, float k);

// The picture stretched (nearest neighbour) to its size times k, truncated,
// never below one pixel a side; k == 1 returns it unchanged.
QImage shrinkPicture(const QImage& picture, float k);

// Everything one registration writes, from the authoring results at face-box
// scale: the unpainted face and the painted face (both DrawWidth x
// DrawHeight), the four cut-out part pictures and the top-left corners of
// their boxes. Applies the shrink when needed.
NewFacePictures buildNewFace(const QImage& unpaintedFace, const QImage& paintedFace,
                             const std::array<QImage, 4>& parts,
                             const std::array<QPoint, 4>& partCorners);
