// SPDX-License-Identifier: GPL-3.0-or-later
// The blindfolded game's course with a hand-turned clock, the cloth, the
// game-menu choices and the personal-best store, without a window.
#include "files/app_error.h"
#include "files/app_paths.h"
#include "play/blindfold.h"
#include "play/cloth.h"
#include "play/countdown_picture.h"
#include "play/personal_best.h"
#include "play/play_settings.h"
#include "support/temp_app_dir.h"

#include <QDir>
#include <gtest/gtest.h>

// The whole course: three seconds of look, the cloth until asked to lift it,
// a second and a half of reveal in rising steps; a stop ends it from any phase.
TEST(BlindfoldCourse, LookCountsDownThenCoversThenLiftsInASecondAndAHalf) {
    BlindfoldCourse c;
    EXPECT_EQ(c.tick(), BlindStep::Nothing);
    EXPECT_EQ(c.tickInterval(), 0);
    EXPECT_TRUE(c.partsMayMove()) << "a seeing game";
    EXPECT_FALSE(c.startReveal()) << "nothing to lift";
    EXPECT_EQ(c.phase(), BlindPhase::Off);

    c.startLook();
    EXPECT_EQ(c.secondsLeft(), 3);
    EXPECT_EQ(c.tickInterval(), 1000);
    EXPECT_FALSE(c.partsMayMove());
    EXPECT_FALSE(c.startReveal());
    EXPECT_EQ(c.tick(), BlindStep::CountDown);
    EXPECT_EQ(c.secondsLeft(), 2);
    EXPECT_EQ(c.tick(), BlindStep::CountDown);
    EXPECT_EQ(c.secondsLeft(), 1);
    EXPECT_EQ(c.tick(), BlindStep::Cover);
    EXPECT_EQ(c.phase(), BlindPhase::Covered);
    EXPECT_EQ(c.tickInterval(), 0) << "the cloth stays until the judgement";
    EXPECT_TRUE(c.partsMayMove());
    EXPECT_TRUE(c.covering());
    EXPECT_EQ(c.tick(), BlindStep::Nothing);
    EXPECT_EQ(c.liftedPixels(150), 0);

    ASSERT_TRUE(c.startReveal());
    EXPECT_FALSE(c.partsMayMove());
    int elapsed = 0, last = 0;
    BlindStep step;
    while ((step = c.tick()) == BlindStep::Lift) {
        elapsed += BlindfoldCourse::kRevealTickMs;
        const int lifted = c.liftedPixels(150);
        EXPECT_GT(lifted, last) << "at " << elapsed << " ms";
        EXPECT_LT(lifted, 150);
        last = lifted;
        ASSERT_LT(elapsed, 2000) << "the reveal never ends";
    }
    elapsed += BlindfoldCourse::kRevealTickMs;
    EXPECT_EQ(step, BlindStep::Uncovered);
    EXPECT_EQ(elapsed, 1500);
    EXPECT_EQ(c.phase(), BlindPhase::Off);
    EXPECT_FALSE(c.covering());

    c.startLook();
    c.tick();
    c.stop();
    EXPECT_EQ(c.phase(), BlindPhase::Off);
    EXPECT_EQ(c.tick(), BlindStep::Nothing);

    EXPECT_EQ(lookPrompt(2), QStringLiteral("顔をよく覚えてください。あと2秒で目隠しをします。"));
}

TEST(Cloth, OpaqueWovenWithItsCaptionInTheMiddle) {
    const QImage cloth = drawCloth({120, 150}, QFont());
    ASSERT_EQ(cloth.size(), QSize(120, 150));
    EXPECT_FALSE(cloth.hasAlphaChannel());
    // A woven pattern: neighbouring threads differ; no caption in the corners.
    EXPECT_NE(cloth.pixel(1, 1), cloth.pixel(5, 1));
    auto lightPixels = [&](QRect r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += qGray(cloth.pixel(x, y)) > 200;
        return n;
    };
    EXPECT_EQ(lightPixels({0, 0, 30, 30}), 0);
    EXPECT_GT(lightPixels({10, 55, 100, 40}), 40) << "目隠し中 across the middle";
    EXPECT_EQ(drawCloth({0, 0}, QFont()).size(), QSize(1, 1));

    // The marks of the placed parts along the bottom: the nose's tab lights
    // up once a nose lies under the cloth; the weave above stays as it was.
    const QImage none = markPlacedParts(cloth, {}, QFont());
    const QImage nose = markPlacedParts(cloth, {false, false, false, true, false}, QFont());
    const QRect noseTab(60, 120, 30, 30), eyeTab(0, 120, 30, 30);
    EXPECT_EQ(none.copy(0, 0, 120, 100), cloth.copy(0, 0, 120, 100));
    EXPECT_NE(none.copy(0, 120, 120, 30), cloth.copy(0, 120, 120, 30)) << "the four names are written";
    EXPECT_NE(nose.copy(noseTab), none.copy(noseTab));
    EXPECT_EQ(nose.copy(eyeTab), none.copy(eyeTab));
}

// The countdown's number: see-through around a bold, outlined digit, and a
// different picture for every second.
TEST(CountDown, ABigOutlinedDigitOnNothing) {
    const QImage three = drawCountDown(3, 100, QFont());
    ASSERT_EQ(three.height(), 100);
    EXPECT_TRUE(three.hasAlphaChannel());
    EXPECT_EQ(qAlpha(three.pixel(0, 0)), 0);
    int opaque = 0;
    for (int y = 0; y < three.height(); ++y)
        for (int x = 0; x < three.width(); ++x) opaque += qAlpha(three.pixel(x, y)) == 255;
    EXPECT_GT(opaque, three.width() * three.height() / 10) << "a digit that fills its box";
    EXPECT_NE(three, drawCountDown(2, 100, QFont()));
}

// The choices file: off without it, both keys written, a bad value is off.
TEST(PlaySettings, MissingMeansOffAndAWriteKeepsBothChoices) {
    TempAppDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("data"));
    EXPECT_FALSE(readPlaySettings(dir.path()).blindfold);
    EXPECT_FALSE(readPlaySettings(dir.path()).best);
    writePlaySettings(dir.path(), {true, false});
    EXPECT_EQ(dir.readBytes(QStringLiteral("data/Play.ini")), QByteArray("[Play]\r\nBlindfold=1\r\nBest=0\r\n"));
    EXPECT_TRUE(readPlaySettings(dir.path()).blindfold);
    dir.writeBytes(QStringLiteral("data/Play.ini"), "[play]\r\nblindfold=yes\r\nBEST=1\r\n");
    EXPECT_FALSE(readPlaySettings(dir.path()).blindfold);
    EXPECT_TRUE(readPlaySettings(dir.path()).best);
}

// Each face and each kind of game has its own best; only a higher total
// replaces it; a damaged file counts as empty; an unwritable one says so.
TEST(PersonalBest, KeptPerFaceAndKindOfGameAndOnlyRaised) {
    EXPECT_EQ(faceIdentity("abc"), QStringLiteral("a9993e364706816aba3e25717850c26c9cd0d89d"));
    TempAppDir dir;
    QDir().mkpath(dir.path() + QStringLiteral("data"));
    const QString a = faceIdentity("face a"), b = faceIdentity("face b");

    BestRecord r = recordBest(dir.path(), a, false, 700);
    EXPECT_TRUE(r.improved);
    EXPECT_FALSE(r.previous.has_value());
    EXPECT_EQ(bestCaption(r, false), QStringLiteral("自己ベスト更新！"));
    EXPECT_EQ(bestCaption(r, true), QStringLiteral("目隠しの自己ベスト更新！"));
    EXPECT_EQ(dir.readBytes(QStringLiteral("data/Scores.ini")), ("[" + a + "]\r\nBest=700\r\n").toLatin1());

    r = recordBest(dir.path(), a, false, 700);
    EXPECT_FALSE(r.improved) << "a tie does not beat the best";
    EXPECT_EQ(bestCaption(r, false), QStringLiteral("自己ベスト 700"));
    r = recordBest(dir.path(), a, false, -320);
    EXPECT_EQ(bestCaption(r, false), QStringLiteral("自己ベスト 700"));
    EXPECT_EQ(bestCaption(r, true), QStringLiteral("目隠しの自己ベスト 700"));
    EXPECT_TRUE(recordBest(dir.path(), a, true, 100).improved) << "the blindfolded best is its own";
    EXPECT_TRUE(recordBest(dir.path(), b, false, 50).improved) << "so is another face's";
    r = recordBest(dir.path(), a, false, 912);
    EXPECT_TRUE(r.improved);
    EXPECT_EQ(r.previous, 700);
    EXPECT_EQ(dir.readBytes(QStringLiteral("data/Scores.ini")),
              ("[" + a + "]\r\nBest=912\r\nBestBlind=100\r\n[" + b + "]\r\nBest=50\r\n").toLatin1());

    dir.writeBytes(QStringLiteral("data/Scores.ini"), QByteArray("\xff\xfe\x00garbage[\r\n[" ) + a.toLatin1() + "]\r\nBest=9x9\r\n");
    r = recordBest(dir.path(), a, false, 10);
    EXPECT_TRUE(r.improved);
    EXPECT_TRUE(r.writeError.isEmpty());
    EXPECT_EQ(recordBest(dir.path(), a, false, 5).previous, 10);

    QFile::remove(dir.file(QStringLiteral("data/Scores.ini")));
    QDir().mkpath(dir.file(QStringLiteral("data/Scores.ini")));  // a folder where the file should be
    r = recordBest(dir.path(), a, false, 10);
    EXPECT_TRUE(r.improved);
    EXPECT_EQ(r.writeError, iniWriteErrorText(scoresPath(dir.path())));
    EXPECT_EQ(bestCaption(r, false), QStringLiteral("点数を記録できませんでした")) << "no 更新！ for a best not kept";
}
