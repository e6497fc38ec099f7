// SPDX-License-Identifier: GPL-3.0-or-later
// A journal the game refuses, through the real window: the player hears of
// it once, the game starts with its catalogue, and faces can be deleted
// again; the next start is silent.
#include "catalogue/catalogue_files.h"
#include "files/app_error.h"
#include "board/image_control.h"
#include "support/test_catalogue.h"
#include "support/window/game_window.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(RefusedJournal, IsReportedOnceAndLocksNothing) {
    TempAppDir dir;
    writeTestCatalogue(dir, 5);
    dir.writeBytes(QStringLiteral("data/.change-journal"), "pomurina-catalogue-change 1\nphase 1\nend\n");
    {
        GameWindow w(dir);
        EXPECT_EQ(w.dialogs->errors, QStringList{fileOpenErrorText(dir.path() + QStringLiteral("data/.change-journal"))});
        EXPECT_EQ(w.form->catalogue.faceCount, 5);
        w.finishTitle();
        w.dialogs->errors.clear();
        TForm1& f = *w.form;
        f.D1->trigger();
        w.click(w.thumbnail(1), {5, 5});
        w.dialogs->confirmAnswers.push_back(true);
        w.click(f.BitBtnToroku);
        EXPECT_TRUE(w.dialogs->errors.isEmpty()) << w.dialogs->errors.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(f.catalogue.faceCount, 4);
    }
    EXPECT_EQ(readFaceCount(dir.path()), 4);
    EXPECT_EQ(QDir(dir.path() + QStringLiteral("data")).entryList({QStringLiteral("refused-change-*")}, QDir::Dirs).size(), 1);
    GameWindow again(dir);
    EXPECT_TRUE(again.dialogs->errors.isEmpty()) << again.dialogs->errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(again.form->catalogue.faceCount, 4);
}
