// SPDX-License-Identifier: GPL-3.0-or-later
// The New Year card without its window: one drawing at any size, and the
// choices kept in Play.ini. (The files it makes: its window's test.)
#include "files/app_error.h"
#include "card/card_output.h"
#include "card/card_settings.h"
#include "play/play_settings.h"
#include "support/app_error_of.h"
#include "support/temp_app_dir.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage drawn(QSize size) {
    CardContent card;
    card.picture = testPicture(120, 150, qRgb(40, 160, 60));
    card.senderLines = {QStringLiteral("福笑 太郎"), QStringLiteral("東京都千代田区千代田1-1")};
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    drawCard(painter, QRectF(image.rect()), card);
    return image;
}

bool sameRect(QRectF r, QRectF s) { return (r.topLeft() - s.topLeft()).manhattanLength() + (r.bottomRight() - s.bottomRight()).manhattanLength() < 1e-9; }

}  // namespace

// The card at a quarter of the postcard picture's size is the large one
// shrunk: every place scales, nothing overlaps, for a face and for a wide
// sheet, and drawn, the two agree but for the edges of the letters.
TEST(CardDrawing, TwoSizesGiveTheSameLayoutWithThePictureScaled) {
    const QRectF large(0, 0, 1181, 1748), small(0, 0, 1181 / 4.0, 1748 / 4.0);
    const auto quarter = [](QRectF r) { return QRectF(r.topLeft() / 4, r.size() / 4); };
    for (const QSize picture : {QSize(120, 150), QSize(722, 524)})
    for (int greeting = 0; greeting < int(cardGreetings().size()); ++greeting) {
        const CardLayout a = cardLayout(large, picture, greeting);
        const CardLayout b = cardLayout(small, picture, greeting);
        std::vector<QRectF> parts = a.greetingCells, smallParts = b.greetingCells;
        parts.insert(parts.end(), {a.pictureBox, a.seal, a.zodiacReading, a.dateLine, a.senderLines[0], a.senderLines[1]});
        smallParts.insert(smallParts.end(), {b.pictureBox, b.seal, b.zodiacReading, b.dateLine, b.senderLines[0], b.senderLines[1]});
        ASSERT_EQ(a.greetingCells.size(), std::size_t(cardGreetings()[greeting].lines.join(QString()).size()));
        ASSERT_EQ(parts.size(), smallParts.size());
        for (std::size_t i = 0; i < parts.size(); ++i) {
            EXPECT_TRUE(sameRect(quarter(parts[i]), smallParts[i])) << i;
            EXPECT_TRUE(large.contains(parts[i]));
            for (std::size_t j = i + 1; j < parts.size(); ++j) {
                const QRectF common = parts[i].intersected(parts[j]);
                EXPECT_LT(common.width() * common.height(), 1e-6) << i << " overlaps " << j;
            }
        }
        EXPECT_TRUE(sameRect(quarter(a.picture), b.picture));
        EXPECT_TRUE(a.pictureBox.contains(a.picture));
        EXPECT_NEAR(a.picture.width() / a.picture.height(), qreal(picture.width()) / picture.height(), 1e-9);
    }
    // Beside a face 謹賀新年 reads down one column, the long greeting in two
    // from the right; above a wide sheet across, in one row and in two.
    const CardLayout down = cardLayout(large, QSize(120, 150), 0), across = cardLayout(large, QSize(722, 524), 0);
    const CardLayout longDown = cardLayout(large, QSize(120, 150), 1), longAcross = cardLayout(large, QSize(722, 524), 1);
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_TRUE(down.greetingCells[i].left() == down.greetingCells[0].left() && down.greetingCells[i].top() > down.greetingCells[i - 1].top());
        EXPECT_TRUE(across.greetingCells[i].top() == across.greetingCells[0].top() && across.greetingCells[i].left() > across.greetingCells[i - 1].left());
    }
    EXPECT_LT(longDown.greetingCells.back().left(), longDown.greetingCells.front().left());
    EXPECT_GT(longAcross.greetingCells.back().top(), longAcross.greetingCells.front().top());
    EXPECT_GT(across.picture.width(), large.width() * 0.8) << "the wide sheet takes the card's width";

    const QImage little = drawn(QSize(295, 437));
    EXPECT_LT(shareDiffering(drawn(QSize(1181, 1748)).scaled(little.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation), little), 0.01);
    const CardLayout at = cardLayout(QRectF(little.rect()), QSize(120, 150), 0);
    EXPECT_EQ(little.pixel(at.picture.center().toPoint() + QPoint(3, -3)), qRgb(40, 160, 60));
    EXPECT_GT(qRed(little.pixel(at.seal.center().toPoint() - QPoint(0, int(at.seal.height() / 2) - 3))), 180) << "the red seal";
}

// The card's choices share Play.ini with the game menu's, each leaving the
// other's lines alone; nonsense reads as the defaults, and a sender line
// that Shift-JIS cannot hold is refused without touching the file.
TEST(CardSettingsFile, TheChoicesLiveBesideTheGameMenusInPlayIni) {
    TempAppDir dir;
    writePlaySettings(dir.path(), PlaySettings{true, false});
    EXPECT_EQ(readCardSettings(dir.path()), CardSettings{});
    CardSettings card{3, YearStyle::Both, {QStringLiteral("福笑 花子"), QStringLiteral("大阪市北区1-2-3")}, dir.path() + QStringLiteral("年賀状")};
    writeCardSettings(dir.path(), card);
    EXPECT_EQ(readCardSettings(dir.path()), card);
    EXPECT_TRUE(readPlaySettings(dir.path()).blindfold);

    const QString ini = playSettingsPath(dir.path()).mid(dir.path().size());
    const QByteArray before = dir.readBytes(ini);
    CardSettings unwritable = card;
    unwritable.senderLines[1] = QStringLiteral("🎍");
    EXPECT_EQ(appErrorOf([&] { writeCardSettings(dir.path(), unwritable); }), iniWriteErrorText(playSettingsPath(dir.path())));
    EXPECT_EQ(dir.readBytes(ini), before);
    CardSettings strangeFolder = card;
    strangeFolder.folder = QStringLiteral("/tmp/🎍");
    writeCardSettings(dir.path(), strangeFolder);
    EXPECT_EQ(readCardSettings(dir.path()).folder, card.folder) << "a folder Shift-JIS cannot name is not remembered";

    dir.writeBytes(ini, "[Card]\r\nGreeting=9\r\nYearStyle=-1\r\n");
    EXPECT_EQ(readCardSettings(dir.path()), CardSettings{});
}
