// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state of a game: the face played, the placement slots, the drag in
// progress and the home cells of the part images.
#include <array>
#include <vector>

// A part image: the part of slot (1..4) of face.
struct PartRef {
    int slot = 0;
    int face = -1;
};

struct PlayState {
    int currentFace = 0;
    // Indexed by PartSlot 1..4; [0] unused.
    std::array<int, 5> placedFace{-1, -1, -1, -1, -1};
    std::array<int, 5> placedLeft{};
    std::array<int, 5> placedTop{};
    // The drag in progress.
    bool dragging = false;
    int dragSlot = 0;
    PartRef dragged;
    int grabX = 0;
    int grabY = 0;
    int dragButton = 0;  // the Qt::MouseButton that started the drag
    // Home cells, [slot][face], in palette content coordinates.
    std::array<std::vector<int>, 5> homeLeft;
    std::array<std::vector<int>, 5> homeTop;
};
