// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state of authoring a new face. Entries 1..4 of the per-part arrays are
// the PartSlots, 6 the zoom rectangle.
#include "pictures/outline.h"

#include <QImage>
#include <array>

struct AuthoringState {
    bool addingFace = false;
    int currentPart = 0;
    bool outlineDrawing = false;
    std::array<int, 7> dragStartX{}, dragStartY{}, dragEndX{}, dragEndY{};
    std::array<int, 7> boxMinX{}, boxMaxX{}, boxMinY{}, boxMaxY{};
    std::array<OutlinePointList, 5> outlinePoints;
    int sourceKind = 0;   // 0 none, 1 bitmap, 2 JPEG
    QImage sourcePicture;  // the loaded or zoomed picture, full resolution
    int drawHeight = 0;
    int drawWidth = 0;
    bool zoomArmed = false;
    bool zoomDragging = false;
    std::array<QRgb, 5> fillColor{};
    std::array<bool, 5> outlined{};
    int pickMode = 0;  // 0 outline, 1 pick the fill colour
};
