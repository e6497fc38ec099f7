// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/game_pictures.h"

#include "catalogue/catalogue_pictures.h"
#include "pictures/parallel_work.h"

#include <exception>

GamePictures readGamePictures(const QString& appDir, int face, int count) {
    const CataloguePictures files(appDir);
    const int total = 4 * count + 1;
    std::vector<QImage> pictures(static_cast<size_t>(total));
    std::vector<std::exception_ptr> failures(static_cast<size_t>(total));
    runOnAllCores(total, [&](int k) {
        try {
            pictures[size_t(k)] = k < 4 * count ? files.read(k / 4, 1 + k % 4) : files.read(face, 5);
        } catch (...) {
            failures[size_t(k)] = std::current_exception();
        }
    });
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
    GamePictures game;
    game.board = pictures.back();
    pictures.pop_back();
    game.parts = std::move(pictures);
    return game;
}
