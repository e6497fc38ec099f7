// SPDX-License-Identifier: GPL-3.0-or-later
// A Scores.ini that cannot be read is no best at all: no caption (never a
// best of 0 that was never made), the open error to report, and the file
// left exactly as it was.
#include "files/app_error.h"
#include "play/personal_best.h"
#include "support/file_faults.h"
#include "support/temp_app_dir.h"

#include <gtest/gtest.h>

TEST(PersonalBest, AnUnreadableFileGivesNoBestAndTheOpenError) {
    TempAppDir dir;
    const QString face = faceIdentity("a face");
    ASSERT_TRUE(recordBest(dir.path(), face, false, 700).improved);
    const QByteArray kept = dir.readBytes(QStringLiteral("data/Scores.ini"));

    for (const FileFaultHook& fault : {FileFaults::failing(FileCall::Open, QStringLiteral("Scores.ini"), EIO),
                                       FileFaults::readCutShort(QStringLiteral("Scores.ini"), 5, 0)}) {
        BestRecord r;
        {
            FileFaults faults(fault);
            r = recordBest(dir.path(), face, false, 900);
        }
        EXPECT_FALSE(r.improved);
        EXPECT_FALSE(r.previous.has_value());
        EXPECT_EQ(r.writeError, fileOpenErrorText(scoresPath(dir.path())));
        EXPECT_EQ(bestCaption(r, false), QString());
        EXPECT_EQ(bestCaption(r, true), QString());
        EXPECT_EQ(dir.readBytes(QStringLiteral("data/Scores.ini")), kept);
    }
    EXPECT_EQ(bestCaption(recordBest(dir.path(), face, false, 10), false), QStringLiteral("自己ベスト 700"));
}
