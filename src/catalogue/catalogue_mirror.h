// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's in-memory copy of the catalogue's count and answer positions.
#include "catalogue/face_answers.h"

#include <vector>

struct CatalogueMirror {
    int faceCount = 0;
    std::vector<FaceAnswer> faceAnswers;  // faceCount entries
};
