// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Scoring a composed face: 250 per slot minus the horizontal and vertical
// distance of the face's own part from its answer, 0 for another face's part.
#include "catalogue/face_answers.h"

#include <QString>
#include <array>
#include <cstdint>

struct SlotPlacement {
    int face = -1;  // face the part comes from; -1 none
    int left = 0;   // Left/Top of the part image in window client coordinates
    int top = 0;
};

// Points of one slot; faceLeft/faceTop is where ImgFace1 stands. Never
// overflows: distances are computed in 64 bits, which hold any int32 inputs.
std::int64_t slotPoints(const SlotPlacement& placed, int slot, int currentFace,
                        const FaceAnswer& answer, int faceLeft, int faceTop);

// Sum over slots 1..4 (placements indexed 1..4; [0] unused).
std::int64_t judgeTotal(const std::array<SlotPlacement, 5>& placements, int currentFace,
                        const FaceAnswer& answer, int faceLeft, int faceTop);

struct Rating {
    QString word;    // "名人！", "上級者！", "並！", "もう一がんばり！"
    QString praise;  // first line of the prompt; empty for "並！"
};
Rating ratingFor(std::int64_t total);

// LblScore's caption: the total in decimal and one trailing space.
QString scoreCaption(std::int64_t total);
// Label1's caption after the judgement: praise, save hint, resume hint.
QString judgedPrompt(const Rating& rating);
