// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures a game start shows, read at once: every face's four part
// pictures and the chosen face's board (picture 5).
#include <QImage>
#include <QString>
#include <vector>

struct GamePictures {
    std::vector<QImage> parts;  // 4 x count: face i's part s (1..4) at 4 * i + s - 1
    QImage board;
    const QImage& part(int slot, int face) const { return parts[size_t(4 * face + slot - 1)]; }
};

// Decoded on all cores. Throws the program's error that reading them in
// order (the parts face by face, then the board) would meet first.
GamePictures readGamePictures(const QString& appDir, int face, int count);
