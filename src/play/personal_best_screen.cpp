// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/personal_best_screen.h"

#include "board/board.h"
#include "board/caption_label.h"
#include "catalogue/catalogue_files.h"
#include "desktop/user_dialogs.h"
#include "files/file_reading.h"
#include "pictures/picture_bytes.h"
#include "pictures/picture_limits.h"
#include "play/personal_best.h"

PersonalBest::PersonalBest(Board& board, const QString& appDir, UserDialogs& dialogs)
    : board_(board), appDir_(appDir), dialogs_(dialogs) {}

bool PersonalBest::show(int face, bool blindfolded, std::int64_t total, const QString& player) {
    // The face is known by its whole picture, read whole or not at all.
    const QByteArray picture =
        readWholeFile(facePicturePath(appDir_, face, 0), pictureFileByteLimit(kCataloguePictureMaxPixels));
    const BestRecord record = recordBest(appDir_, faceIdentity(picture), blindfolded, total, player);
    const QString caption = bestCaption(record, blindfolded);
    board_.LblBest->setCaption(caption);
    board_.LblBest->setVisible(!caption.isEmpty());
    // The game goes on; only the record could not be kept.
    if (!record.writeError.isEmpty()) dialogs_.showError(record.writeError);
    return record.improved && record.writeError.isEmpty();
}
