// SPDX-License-Identifier: GPL-3.0-or-later
// The help command opens the help text beside the program with the desktop,
// whether or not the file is there.
#include "support/test_catalogue.h"
#include "support/window/game_window.h"

#include <QAction>
#include <gtest/gtest.h>

TEST(Help, OpensTheHelpTextBesideTheProgramAndAMissingFileChangesNothing) {
    for (const bool present : {true, false}) {
        TempAppDir dir;
        writeTestCatalogue(dir, 3);
        if (present) dir.writeBytes(QStringLiteral("作品について.txt"), "help");
        GameWindow w(dir);
        w.finishTitle();

        w.form->Help1->trigger();
        EXPECT_EQ(w.shell->opened, QStringList{dir.path() + QStringLiteral("作品について.txt")}) << present;
        EXPECT_TRUE(w.dialogs->errors.isEmpty());
        EXPECT_TRUE(w.dialogs->notices.isEmpty());
        EXPECT_TRUE(w.media->commands.isEmpty());
    }
}
