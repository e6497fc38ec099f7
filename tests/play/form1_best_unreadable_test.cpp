// SPDX-License-Identifier: GPL-3.0-or-later
// The personal best through the real window when Scores.ini cannot be read:
// the judgement shows no best line and reports the file once; the game goes on.
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "files/app_error.h"
#include "play/personal_best.h"
#include "support/file_faults.h"
#include "support/window/play_driver.h"

#include <QAction>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(PersonalBest, AnUnreadableFileShowsNoBestLineAndOneError) {
    const TestFaceLayout layout;
    TempAppDir dir;
    writeTestCatalogue(dir, 3, layout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.Best1->trigger();
    startGameWith(w, 0);
    placeAtAnswers(w, layout.answer);
    clickHantei(w);
    ASSERT_EQ(f.LblBest->caption(), QStringLiteral("自己ベスト更新！"));
    clickHantei(w);

    startGameWith(w, 0);
    placeAtAnswers(w, layout.answer);
    {
        FileFaults faults(FileFaults::failing(FileCall::Open, QStringLiteral("Scores.ini"), EIO));
        clickHantei(w);
    }
    EXPECT_EQ(f.LblScore->caption(), QStringLiteral("1000 "));
    EXPECT_FALSE(f.LblBest->isVisible());
    EXPECT_EQ(w.dialogs->errors, QStringList{fileOpenErrorText(scoresPath(dir.path()))});
    EXPECT_EQ(f.BitBtnHantei->text(), Texts::Saikai);
}
