#include "play/personal_best_screen.h"

#include "board/board.h"
#include "board/caption_label.h"
#include "catalogue/catalogue_files.h"
#include "desktop/user_dialogs.h"
#include "files/app_error.h"
#include "play/personal_best.h"

#include <QFile>

PersonalBest::PersonalBest(Board& board, const QString& appDir, UserDialogs& dialogs)
    : board_(board), appDir_(appDir), dialogs_(dialogs) {}

void PersonalBest::show(int face, bool blindfolded, std::int64_t total) {
    QFile picture(facePicturePath(appDir_, face, 0));
    if (!picture.open(QIODevice::ReadOnly)) throwFileOpenError(picture.fileName());
    const BestRecord record = recordBest(appDir_, faceIdentity(picture.readAll()), blindfolded, total);
    board_.LblBest->setCaption(bestCaption(record, blindfolded));
    board_.LblBest->show();
    // The game goes on; only the record could not be kept.
    if (!record.writeError.isEmpty()) dialogs_.showError(record.writeError);
}
