// SPDX-License-Identifier: GPL-3.0-or-later
// The start sweeps the temporary files that interrupted writes left (a kill
// during a library save, the first start's copy, a settings save) from the
// game's folder, Library/ and data/, and nothing else. A data/ that holds a
// catalogue is swept by the catalogue's recovery behind the title
// (JournalRecovery), not before the window shows.
#include "files/app_home.h"
#include "files/game_folder_lock.h"
#include "support/temp_app_dir.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <gtest/gtest.h>

TEST(LeftoverSweep, TheStartRemovesTheGamesOwnTemporaryFilesAndNothingElse) {
    TempAppDir root;
    const QString game = QStringLiteral("game/");
    root.writeBytes(game + "data/FaceData.ini", "[faces]\r\ncount=3\r\n");
    root.writeBytes(game + "title.bmp", "title");
    root.writeBytes("other/data/BGM.ini", "[BGM]\r\n");
    const QStringList leftovers = {"game/.title.bmp.tmp-a1B2c3", "game/Library/.花子.jpg.tmp-Zz9Yy8",
                                   "other/data/.FaceData.ini.tmp-000000", "other/data/.BGM.ini.tmp-xYz123"};
    const QStringList kept = {"game/.title.bmp.tmp-a1B2c", "game/Library/花子.jpg.tmp-Zz9Yy8",
                              "game/Library/.花子.tmp-Zz9Yy8.jpg", "game/Library/sub/.x.jpg.tmp-Zz9Yy8",
                              "other/data/.tmp-abcdef", "game/Library/花子.jpg", "game/other/.a.tmp-abcdef",
                              "game/data/.BGM.ini.tmp-xYz123"};
    for (const QString& name : leftovers + kept) root.writeBytes(name, "bytes");
    QDir().mkpath(root.path() + "game/Library/.folder.tmp-abcdef");

    AppHomeSetting setting;
    setting.executablePath = root.path() + QStringLiteral("bin/pomurina");
    setting.homeOverride = root.path() + game;
    const AppHome home = openAppHome(setting);
    EXPECT_EQ(home.appDir, root.path() + game);
    // A game folder whose data/ holds no catalogue (its settings only).
    setting.homeOverride = root.path() + QStringLiteral("other/");
    openAppHome(setting);
    for (const QString& name : leftovers) EXPECT_FALSE(root.exists(name)) << name.toStdString();
    for (const QString& name : kept) EXPECT_EQ(root.readBytes(name), QByteArray("bytes")) << name.toStdString();
    EXPECT_TRUE(QDir(root.path() + "game/Library/.folder.tmp-abcdef").exists());
}

// A game killed while a file dialog wrote what it remembers leaves the lock of
// Data/QtProject.conf, which the next dialog would wait on: the start sweeps
// it, unless a running process holds it.
TEST(LeftoverSweep, TheFileDialogsStaleLockGoesAndAHeldOneStays) {
    TempAppDir root;
    root.writeBytes("game/Data/FaceData.ini", "[faces]\r\ncount=3\r\n");
    root.writeBytes("game/Data/QtProject.conf.lock", "12345\npomurina\nsomewhere\n");
    AppHomeSetting setting;
    setting.executablePath = root.path() + QStringLiteral("bin/pomurina");
    setting.homeOverride = root.path() + QStringLiteral("game");
    openAppHome(setting);
    EXPECT_FALSE(root.exists("game/Data/QtProject.conf.lock"));

    QLockFile held(root.path() + QStringLiteral("game/Data/QtProject.conf.lock"));
    ASSERT_TRUE(held.tryLock(0));
    openAppHome(setting);
    EXPECT_TRUE(root.exists("game/Data/QtProject.conf.lock")) << "a dialog of a running game is writing";
    EXPECT_TRUE(isLockFileHeld(root.path() + QStringLiteral("game/Data/QtProject.conf.lock")));
}
