// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/game_pictures.h"

#include "board/cell_grid.h"
#include "catalogue/catalogue_pictures.h"
#include "pictures/parallel_work.h"
#include "play/palette.h"

#include <exception>
#include <limits>

namespace {

// A picture that could not be read, by its place in the order a game start
// once read them all: every face's parts face by face, then the board.
struct Failure {
    long long order = 0;
    std::exception_ptr error;
};

long long readingOrder(int face, int slot) { return 4ll * face + slot - 1; }
constexpr long long kBoardOrder = std::numeric_limits<long long>::max();

// A side to look for a palette's errors with when its own part is missing.
constexpr int kUnknownSide = 85;

}  // namespace

GamePictures readGamePictures(const QString& appDir, int face, const std::array<std::vector<int>, 5>& dealDraws,
                              const std::array<QRect, 5>& shown) {
    const CataloguePictures files(appDir);
    GamePictures game;
    std::vector<Failure> failures(5);
    // Each batch is asked of the disk at once before it is decoded: the parts
    // of thousands of faces are seldom all in memory.
    for (int kind = 1; kind <= 5; ++kind) files.readAhead(face, kind);
    // The four deals first: with thousands of faces each takes as long as a
    // picture, and the pictures share out the rest of the cores meanwhile.
    runOnAllCores(4 + 5, [&](int task) {
        if (task < 4) {
            game.deal[size_t(task + 1)] = cellsOfDraws(dealDraws[size_t(task + 1)]);
            return;
        }
        const int k = task - 4;
        try {
            if (k < 4)
                game.ownParts[size_t(k + 1)] = files.read(face, k + 1);
            else
                game.board = files.read(face, 5);
        } catch (...) {
            failures[size_t(k)] = Failure{k < 4 ? readingOrder(face, k + 1) : kBoardOrder, std::current_exception()};
        }
    });

    // What each palette shows first.
    std::vector<PictureKey> keys;
    for (int s = 1; s <= 4; ++s) {
        const QImage& own = game.ownParts[size_t(s)];
        const int side = own.isNull() ? kUnknownSide : paletteSquareSide(own.size());
        game.sides[size_t(s)] = side;
        const std::vector<int>& cells = game.deal[size_t(s)];
        std::vector<int> faceAt(cells.size(), -1);
        for (size_t i = 0; i < cells.size(); ++i) faceAt[size_t(cells[i])] = int(i);
        for (int position : paletteGrid(side).positionsMeeting(shown[size_t(s)], int(cells.size())))
            if (faceAt[size_t(position)] != face) keys.push_back(PictureKey{faceAt[size_t(position)], s, QSize(side, side)});
    }
    for (const PictureKey& key : keys) files.readAhead(key.face, key.kind);
    game.firstScreens.resize(keys.size());
    failures.resize(5 + keys.size());
    runOnAllCores(int(keys.size()), [&](int k) {
        const PictureKey& key = keys[size_t(k)];
        CellPicture& out = game.firstScreens[size_t(k)].second;
        game.firstScreens[size_t(k)].first = key;
        try {
            out.picture = files.readFitted(key.face, key.kind, key.box, &out.sourceSize);
        } catch (...) {
            failures[size_t(5 + k)] = Failure{readingOrder(key.face, key.kind), std::current_exception()};
        }
    });
    const Failure* first = nullptr;
    for (const Failure& f : failures)
        if (f.error && (!first || f.order < first->order)) first = &f;
    if (first) std::rethrow_exception(first->error);
    // The chosen face's own parts fill their squares: drawn at their own size.
    for (int s = 1; s <= 4; ++s) {
        const QImage& own = game.ownParts[size_t(s)];
        game.firstScreens.emplace_back(PictureKey{face, s, QSize(game.sides[size_t(s)], game.sides[size_t(s)])},
                                       CellPicture{own, own.size(), {}});
    }
    return game;
}
