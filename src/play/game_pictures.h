// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures a game start shows at once: the chosen face's four parts
// (their sizes set the palettes' squares) and its board (picture 5), then
// the parts that the first screen of each palette shows, at the size they
// are drawn at. The rest of the palettes is decoded as the player scrolls.
#include "play/picture_cache.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <array>
#include <utility>
#include <vector>

struct GamePictures {
    std::array<QImage, 5> ownParts;  // [slot 1..4], at their own size
    QImage board;
    std::array<int, 5> sides{};      // the palettes' square sides, [slot 1..4]
    std::vector<std::pair<PictureKey, CellPicture>> firstScreens;
    // deal[slot][face] is the cell of face's part in the palette of slot.
    std::array<std::vector<int>, 5> deal;
};

// The palettes' deal is placed from dealDraws[slot] (drawDeal) while the
// chosen face's pictures decode: the first screens depend on both. The
// first screen of a palette is the cells meeting shown[slot]. Decoded on all
// cores. Throws the program's error that reading them in order (the parts
// face by face, then the board) would meet first.
GamePictures readGamePictures(const QString& appDir, int face, const std::array<std::vector<int>, 5>& dealDraws,
                              const std::array<QRect, 5>& shown);
