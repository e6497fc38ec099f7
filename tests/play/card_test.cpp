// SPDX-License-Identifier: GPL-3.0-or-later
// The New Year card without its window: one drawing at any size, the
// postcard picture and PDF read back, printing into a PDF, and the choices
// kept in Play.ini.
#include "files/app_error.h"
#include "files/file_ops.h"
#include "pictures/jpeg_codec.h"
#include "play/card_output.h"
#include "play/card_settings.h"
#include "play/play_settings.h"
#include "support/app_error_of.h"
#include "support/poppler_report.h"
#include "support/temp_app_dir.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QPrinter>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

CardContent sampleCard() {
    CardContent card;
    card.picture = testPicture(120, 150, qRgb(40, 160, 60));
    card.senderLines = {QStringLiteral("福笑 太郎"), QStringLiteral("東京都千代田区千代田1-1")};
    return card;
}

QImage drawn(const CardContent& card, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    drawCard(painter, QRectF(image.rect()), card);
    return image;
}

}  // namespace

// The card at a quarter of the postcard picture's size is the large one
// shrunk: every place scales, and drawn, the two agree pixel for pixel but
// for the edges of the letters.
TEST(CardDrawing, TwoSizesGiveTheSameLayoutWithThePictureScaled) {
    const QRectF large(0, 0, 1181, 1748), small(0, 0, 1181 / 4.0, 1748 / 4.0);
    for (int greeting = 0; greeting < int(cardGreetings().size()); ++greeting) {
        const CardLayout a = cardLayout(large, QSize(120, 150), greeting);
        const CardLayout b = cardLayout(small, QSize(120, 150), greeting);
        const auto quarter = [](QRectF r) { return QRectF(r.topLeft() / 4, r.size() / 4); };
        const auto same = [](QRectF r, QRectF s) { return (r.topLeft() - s.topLeft()).manhattanLength() < 1e-9 && (r.bottomRight() - s.bottomRight()).manhattanLength() < 1e-9; };
        EXPECT_TRUE(same(quarter(a.picture), b.picture));
        EXPECT_TRUE(same(quarter(a.seal), b.seal));
        EXPECT_TRUE(same(quarter(a.dateLine), b.dateLine));
        ASSERT_EQ(a.greetingCells.size(), std::size_t(cardGreetings()[greeting].columns.join(QString()).size()));
        ASSERT_EQ(a.greetingCells.size(), b.greetingCells.size());
        for (std::size_t i = 0; i < a.greetingCells.size(); ++i) EXPECT_TRUE(same(quarter(a.greetingCells[i]), b.greetingCells[i]));
        // Nothing overlaps, and the picture keeps its proportions inside its room.
        std::vector<QRectF> parts = a.greetingCells;
        parts.insert(parts.end(), {a.pictureBox, a.seal, a.zodiacReading, a.dateLine, a.senderLines[0], a.senderLines[1]});
        for (std::size_t i = 0; i < parts.size(); ++i) {
            EXPECT_TRUE(large.contains(parts[i]));
            for (std::size_t j = i + 1; j < parts.size(); ++j) {
                const QRectF common = parts[i].intersected(parts[j]);
                EXPECT_LT(common.width() * common.height(), 1e-6) << i << " overlaps " << j;
            }
        }
        EXPECT_TRUE(a.pictureBox.contains(a.picture));
        EXPECT_NEAR(a.picture.width() / a.picture.height(), 120.0 / 150.0, 1e-9);
    }
    // 謹賀新年 reads down one column; the long greeting in two, from the right.
    const CardLayout kinga = cardLayout(large, QSize(120, 150), 0);
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(kinga.greetingCells[i].left(), kinga.greetingCells[0].left());
        EXPECT_GT(kinga.greetingCells[i].top(), kinga.greetingCells[i - 1].top());
    }
    const CardLayout akemashite = cardLayout(large, QSize(120, 150), 1);
    EXPECT_LT(akemashite.greetingCells.back().left(), akemashite.greetingCells.front().left());

    const QImage big = drawn(sampleCard(), QSize(1181, 1748))
                           .scaled(295, 437, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage little = drawn(sampleCard(), QSize(295, 437));
    int differing = 0;
    for (int y = 0; y < little.height(); ++y)
        for (int x = 0; x < little.width(); ++x) {
            const QRgb p = big.pixel(x, y), q = little.pixel(x, y);
            if (std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))}) > 96) ++differing;
        }
    EXPECT_LT(differing, little.width() * little.height() / 100);
    // The face, the red seal and the greeting's ink are where the layout says.
    const CardLayout at = cardLayout(QRectF(little.rect()), QSize(120, 150), 0);
    EXPECT_EQ(little.pixel(at.picture.center().toPoint() + QPoint(3, -3)), qRgb(40, 160, 60));
    EXPECT_GT(qRed(little.pixel(at.seal.topLeft().toPoint() + QPoint(int(at.seal.width() / 2), 3))), 180);
}

// The postcard picture: 1181 x 1748 at 300 dpi, PNG or JPEG by the name.
TEST(CardOutput, ThePictureIsAPostcardAt300DotsPerInchInTheFormatItsNameSays) {
    TempAppDir dir;
    EXPECT_EQ(cardPicturePath(QStringLiteral("/a/card")), QStringLiteral("/a/card.png"));
    EXPECT_EQ(cardPicturePath(QStringLiteral("/a/card.JPEG")), QStringLiteral("/a/card.JPEG"));
    EXPECT_EQ(cardPicturePath(QStringLiteral("/a/card.gif")), QStringLiteral("/a/card.gif.png"));
    EXPECT_EQ(cardPdfPath(QStringLiteral("/a/card.Pdf")), QStringLiteral("/a/card.Pdf"));
    EXPECT_EQ(cardPdfPath(QStringLiteral("/a/card.png")), QStringLiteral("/a/card.png.pdf"));

    saveCardPicture(dir.file(QStringLiteral("card.png")), sampleCard());
    QImageReader png(dir.file(QStringLiteral("card.png")));
    EXPECT_EQ(png.format(), QByteArray("png"));
    const QImage read = png.read();
    EXPECT_EQ(read.size(), QSize(1181, 1748));
    EXPECT_EQ(read.dotsPerMeterX(), 11811);

    saveCardPicture(dir.file(QStringLiteral("card.JPG")), sampleCard());
    const QByteArray jpeg = dir.readBytes(QStringLiteral("card.JPG"));
    EXPECT_EQ(decodeJpegData(jpeg).size(), QSize(1181, 1748));
    EXPECT_EQ(jpeg.mid(13, 5), QByteArray("\x01\x01\x2c\x01\x2c", 5)) << "JFIF: 300 dots per inch";
}

// One page of 100 x 148 mm with IPA Gothic inside; printing into a PDF file
// gives the same page, and a printer file that cannot be made is reported.
TEST(CardOutput, ThePdfAndThePrintedPageAreOnePostcardWithTheFontEmbedded) {
    TempAppDir dir;
    const QString pdf = dir.file(QStringLiteral("card.pdf"));
    saveCardPdf(pdf, sampleCard());
    EXPECT_TRUE(isOnePostcardPage(pdf)) << popplerReport("pdfinfo", pdf).toStdString();
    EXPECT_TRUE(embedsOnlyIpaGothic(pdf)) << popplerReport("pdffonts", pdf).toStdString();

    QPrinter printer(QPrinter::HighResolution);
    setUpPostcardPrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString printed = dir.file(QStringLiteral("printed.pdf"));
    printer.setOutputFileName(printed);
    EXPECT_TRUE(printer.fullPage());
    printCard(printer, sampleCard());
    EXPECT_TRUE(isOnePostcardPage(printed, true)) << popplerReport("pdfinfo", printed).toStdString();

    const QString nowhere = dir.path() + QStringLiteral("no/such/folder/printed.pdf");
    printer.setOutputFileName(nowhere);
    EXPECT_EQ(appErrorOf([&] { printCard(printer, sampleCard()); }), fileCreateErrorText(nowhere));
}

// A full disk or a folder that refuses the file: the program's text, the
// file that was there untouched, no part of the new one anywhere.
TEST(CardOutput, AFailedWriteLeavesWhatWasThereAndNothingElse) {
    TempAppDir dir;
    dir.writeBytes(QStringLiteral("cards/old.png"), "the old card");
    const QString old = dir.file(QStringLiteral("cards/old.png"));
    const QString fresh = dir.file(QStringLiteral("cards/new.pdf"));
    for (const auto& [step, error] : {std::pair{FileStep::Write, ENOSPC}, std::pair{FileStep::Create, EACCES}}) {
        const FileStepHook previous = setFileStepHook([step = step, error = error](FileStep s, const QString&) {
            return s == step ? error : 0;
        });
        EXPECT_EQ(appErrorOf([&] { saveCardPicture(old, sampleCard()); }), fileCreateErrorText(old));
        EXPECT_EQ(appErrorOf([&] { saveCardPdf(fresh, sampleCard()); }), fileCreateErrorText(fresh));
        setFileStepHook(previous);
    }
    EXPECT_EQ(dir.readBytes(QStringLiteral("cards/old.png")), QByteArray("the old card"));
    EXPECT_EQ(QDir(dir.path() + QStringLiteral("cards")).entryList(QDir::Files | QDir::Hidden), QStringList{"old.png"});
}

// The card's choices share Play.ini with the game menu's, each leaving the
// other's lines alone; nonsense reads as the defaults, and a sender line
// that Shift-JIS cannot hold is refused without touching the file.
TEST(CardSettingsFile, TheChoicesLiveBesideTheGameMenusInPlayIni) {
    TempAppDir dir;
    writePlaySettings(dir.path(), PlaySettings{true, false});
    EXPECT_EQ(readCardSettings(dir.path()), CardSettings{});
    CardSettings card;
    card.greeting = 3;
    card.yearStyle = YearStyle::Both;
    card.senderLines = {QStringLiteral("福笑 花子"), QStringLiteral("大阪市北区1-2-3")};
    card.folder = dir.path() + QStringLiteral("年賀状");
    writeCardSettings(dir.path(), card);
    EXPECT_EQ(readCardSettings(dir.path()), card);
    EXPECT_TRUE(readPlaySettings(dir.path()).blindfold);

    const QString ini = playSettingsPath(dir.path()).mid(dir.path().size());
    const QByteArray before = dir.readBytes(ini);
    ASSERT_TRUE(before.contains("Sender1=")) << ini.toStdString();
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
