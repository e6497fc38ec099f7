// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small catalogues written into a temporary application folder for tests:
// real JPEG pictures through libjpeg and a real FaceData.ini.
#include "catalogue/face_answers.h"
#include "support/temp_app_dir.h"

#include <QSize>
#include <array>

struct TestFaceLayout {
    QSize face{120, 150};                 // pictures 0 and 5
    std::array<QSize, 5> parts{QSize(), {30, 20}, {30, 20}, {24, 30}, {40, 16}};  // [1..4]
    FaceAnswer answer{10, 70, 48, 40, 30, 30, 60, 110};  // X1..X4, Y1..Y4
};

// A distinct, flat colour per face and picture kind, far apart so that JPEG
// noise never confuses two of them.
QRgb testFaceColour(int face, int kind);

// Writes faces 0..count-1 (pictures 0..5, colours from testFaceColour) and
// FaceData.ini with [faces] count and each face's answers.
void writeTestCatalogue(const TempAppDir& dir, int count, const TestFaceLayout& layout = {});
