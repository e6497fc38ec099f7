// SPDX-License-Identifier: GPL-3.0-or-later
// The New Year card through the real window: from a saved face in the
// viewer to a postcard picture, a PDF and a print; faces that cannot be read
// and writes that fail; and the viewer's copy and the name box's Enter.
#include "board/caption_label.h"
#include "card/card_output.h"
#include "card/card_preview.h"
#include "card/card_settings.h"
#include "card/card_window.h"
#include "catalogue/library.h"
#include "desktop/qt_user_dialogs.h"
#include "files/file_ops.h"
#include "pictures/jpeg_codec.h"
#include "play/library_viewer.h"
#include "play/play_settings.h"
#include "support/hostile_pictures.h"
#include "support/window/play_driver.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <cerrno>
#include <gtest/gtest.h>
#include <jerror.h>

namespace {

const TestFaceLayout kLayout;

void openViewer(GameWindow& w) {
    QMenuBar* bar = w.form->menuBar();
    w.click(bar, bar->actionGeometry(w.form->R1).center());
}

void clickEntry(GameWindow& w, const QString& name) {
    QListWidget* list = w.form->ListBox1;
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    w.click(list->viewport(), list->visualItemRect(found[0]).center());
}

// A click in the card window; a file it starts writing is on disk (or its
// failure reported) when this returns.
void clickIn(GameWindow& w, QPushButton* button) {
    ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
    w.form->finishPendingWork();
}

CardWindow& openCard(GameWindow& w, const QString& name) {
    clickEntry(w, name);
    w.click(w.form->libraryViewer().BitBtnNengazyo);
    CardWindow* card = w.form->cardWindow();
    EXPECT_TRUE(card && card->isVisible());
    return *card;
}

void choose(QComboBox* box, const QString& text) {
    ASSERT_GE(box->findText(text), 0) << text.toStdString();
    box->setCurrentIndex(box->findText(text));
}

bool outputsOffered(const CardWindow& card) {
    return card.PrintButton->isEnabled() && card.PdfButton->isEnabled() && card.PictureButton->isEnabled();
}

// What Poppler's pdfinfo or pdffonts (poppler-utils, installed by tools/setup) says of a PDF.
QString popplerReport(const char* tool, const QString& pdf) {
    QProcess process;
    process.start(QString::fromLatin1(tool), {pdf});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        ADD_FAILURE() << tool << " " << pdf.toStdString() << " failed: " << process.errorString().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// One page of 100 x 148 mm: 283.465 x 419.528 points, within a point when
// roughly (Qt writes the pages it prints in whole points).
bool isOnePostcardPage(const QString& pdf, bool roughly = false) {
    const QString info = popplerReport("pdfinfo", pdf);
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    const double tolerance = roughly ? 1.0 : 0.01;
    return info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))) &&
           std::abs(size.captured(1).toDouble() - 283.465) < tolerance && std::abs(size.captured(2).toDouble() - 419.528) < tolerance;
}

// Every font of the PDF, at least one, is IPA Gothic embedded with its Unicode
// map (Qt embeds a subset but does not name it one, so "sub" may say no).
bool embedsOnlyIpaGothic(const QString& pdf) {
    const QStringList fonts = popplerReport("pdffonts", pdf).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    for (const QString& font : fonts)
        if (!font.contains(QRegularExpression(QStringLiteral("^IPAGothic .* yes +(yes|no) +yes +\\d")))) return false;
    return !fonts.isEmpty();
}

}  // namespace

// A face saved with Enter in the name box (nothing while it is empty) goes
// to the clipboard by 「コピー」 and Ctrl+C once its name is chosen, and
// becomes a 1181 x 1748 picture and a postcard PDF with its font, and prints
// into a PDF; the preview is the picture; a card window closed unchanged
// writes nothing; the choices and the folder are remembered, and a file that
// is there is replaced only after the overwrite question.
TEST(NewYearCardWindow, FromASavedFaceToTheClipboardAPostcardPictureAPdfAndAPrint) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    const QString out = dir.file(QStringLiteral("cards/x")).chopped(2);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);
    placeAtAnswers(w, kLayout.answer);
    clickHantei(w);
    clickCancel(w);
    QTest::keyClick(f.Edit1, Qt::Key_Return);
    EXPECT_TRUE(f.Edit1->isVisible()) << "no name, no save";
    typeText(f.Edit1, QStringLiteral("mine"));
    QTest::keyClick(f.Edit1, Qt::Key_Return);
    EXPECT_FALSE(f.Edit1->isVisible());
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("「再開」ボタンを押すとゲームを再開します。"));
    const QImage saved = decodeJpegFile(dir.path() + QStringLiteral("Library/mine.jpg"));
    EXPECT_EQ(saved.size(), QSize(120, 150));
    clickHantei(w);

    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    openViewer(w);
    LibraryViewer& viewer = f.libraryViewer();
    EXPECT_TRUE(viewer.BitBtnNengazyo->isVisible());
    EXPECT_FALSE(viewer.BitBtnNengazyo->isEnabled()) << "only once a name is chosen";
    QTest::keyClick(f.ListBox1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(clipboard->image().isNull()) << "no name chosen yet";
    clickEntry(w, QStringLiteral("mine"));
    w.click(viewer.BitBtnKopi);
    EXPECT_EQ(clipboard->image().size(), saved.size());
    EXPECT_EQ(clipboard->image().pixel(60, 20), saved.pixel(60, 20));
    clipboard->clear();
    QTest::keyClick(f.ListBox1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->image().size(), saved.size());
    w.click(viewer.BitBtnNengazyo);
    clickIn(w, w.form->cardWindow()->CloseButton);
    EXPECT_FALSE(QFileInfo::exists(playSettingsPath(dir.path()))) << "a card window closed unchanged";

    CardWindow& card = openCard(w, QStringLiteral("mine"));
    EXPECT_EQ(card.windowTitle(), QStringLiteral("年賀状"));
    EXPECT_EQ(card.YearChoice->value(), 2027) << "made on 20 December 2026";
    EXPECT_EQ(card.YearStyleChoice->currentText(), QStringLiteral("2027年 元旦"));
    EXPECT_EQ(card.GreetingChoice->currentText(), QStringLiteral("謹賀新年"));
    EXPECT_EQ(card.content().picture.size(), QSize(120, 150));
    typeText(card.SenderLines[0], QStringLiteral("福笑 太郎"));
    choose(card.YearStyleChoice, QStringLiteral("令和9年 元旦"));
    EXPECT_FALSE(QFileInfo::exists(playSettingsPath(dir.path()))) << "nothing written before a card is made";

    // The preview is the postcard picture, smaller.
    const QRect shown = card.Preview->cardRect().toAlignedRect().adjusted(1, 1, -1, -1);
    const QImage preview = card.Preview->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(shown);
    EXPECT_LT(shareDiffering(preview, cardPicture(card.content()).scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)), 0.03);

    // A name of no picture format is written as PNG, 300 dots per inch.
    w.dialogs->saveFileAnswers = {out + QStringLiteral("/card.gif")};
    clickIn(w, card.PictureButton);
    EXPECT_EQ(w.dialogs->saveFileTitles, QStringList{QStringLiteral("画像に保存")});
    EXPECT_EQ(w.dialogs->saveFileStarts, QStringList{desktopOrHomeFolder() + QStringLiteral("/mine_年賀状.png")});
    QImageReader png(out + QStringLiteral("/card.gif.png"));
    EXPECT_EQ(png.format(), QByteArray("png"));
    const QImage picture = png.read();
    EXPECT_EQ(picture.size(), QSize(1181, 1748));
    EXPECT_EQ(picture.dotsPerMeterX(), 11811);

    const QByteArray first = dir.readBytes(QStringLiteral("cards/card.gif.png"));
    typeText(card.SenderLines[1], QStringLiteral("東京都"));
    w.dialogs->saveFileAnswers = {out + QStringLiteral("/card.gif.png")};
    w.dialogs->confirmAnswers = {false};
    clickIn(w, card.PictureButton);
    EXPECT_EQ(w.dialogs->confirmations,
              QStringList{QStringLiteral("ファイル %1/card.gif.png はすでにあります。上書きしますか？").arg(out)});
    EXPECT_EQ(w.dialogs->saveFileStarts.last(), out + QStringLiteral("/mine_年賀状.png")) << "the last folder";
    EXPECT_EQ(dir.readBytes(QStringLiteral("cards/card.gif.png")), first);

    w.dialogs->saveFileAnswers = {out + QStringLiteral("/card.png")};
    clickIn(w, card.PdfButton);
    EXPECT_TRUE(isOnePostcardPage(out + QStringLiteral("/card.png.pdf")));
    EXPECT_TRUE(embedsOnlyIpaGothic(out + QStringLiteral("/card.png.pdf")));

    w.dialogs->printerAnswers.push_back([&](QPrinter& printer) {
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::Postcard);
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
        EXPECT_TRUE(printer.fullPage());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out + QStringLiteral("/printed.pdf"));
        return true;
    });
    clickIn(w, card.PrintButton);
    EXPECT_TRUE(isOnePostcardPage(out + QStringLiteral("/printed.pdf"), true));
    clickIn(w, card.PrintButton);  // cancelled
    const QString nowhere = out + QStringLiteral("/gone/printed.pdf");
    w.dialogs->printerAnswers.push_back([&](QPrinter& printer) {
        printer.setOutputFileName(nowhere);
        return true;
    });
    clickIn(w, card.PrintButton);  // a printer that fails
    EXPECT_EQ(w.dialogs->errors, QStringList{fileCreateErrorText(nowhere)});
    w.dialogs->errors.clear();
    EXPECT_EQ(w.dialogs->printDialogs, 3);
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("card.gif.png"), QStringLiteral("card.png.pdf"), QStringLiteral("printed.pdf")}));

    clickIn(w, card.CloseButton);
    EXPECT_FALSE(card.isVisible());
    const CardSettings kept = readCardSettings(dir.path());
    EXPECT_EQ(kept.senderLines, (std::array<QString, 2>{QStringLiteral("福笑 太郎"), QStringLiteral("東京都")}));
    EXPECT_EQ(kept.yearStyle, YearStyle::Era);
    EXPECT_EQ(kept.folder, out);
    EXPECT_TRUE(w.dialogs->errors.isEmpty()) << w.dialogs->errors.join(QLatin1Char('\n')).toStdString();
}

// Damaged, empty and oversized saved faces are reported in the card window
// as the viewer reports them, with nothing to make; another face works. A
// write that fails is reported and leaves no file, and the window goes on.
TEST(NewYearCardWindow, FacesThatCannotBeReadAndFailedWritesAreReportedAndTheWindowStaysUsable) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    dir.writeBytes(QStringLiteral("Library/good.jpg"), encodeJpeg(testPicture(120, 150)));
    dir.writeBytes(QStringLiteral("Library/empty.jpg"), {});
    dir.writeBytes(QStringLiteral("Library/huge.jpg"), jpegClaiming(60000, 60000));
    dir.writeBytes(QStringLiteral("Library/damaged.jpg"), encodeJpeg(testPicture(120, 150)).left(300));
    const QString out = dir.file(QStringLiteral("cards/x")).chopped(2);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    openViewer(w);

    clickEntry(w, QStringLiteral("empty"));
    ASSERT_EQ(w.dialogs->errors.size(), 1);
    CardWindow& card = openCard(w, QStringLiteral("empty"));
    ASSERT_EQ(w.dialogs->errors.size(), 3);
    EXPECT_EQ(w.dialogs->errors[2], w.dialogs->errors[0]) << "the error of that file";
    EXPECT_EQ(card.Status->text(), w.dialogs->errors[0]);
    EXPECT_FALSE(outputsOffered(card));

    choose(card.FaceChoice, QStringLiteral("huge"));
    EXPECT_EQ(w.dialogs->errors.last(), jpegErrorText(JERR_IMAGE_TOO_BIG));
    choose(card.FaceChoice, QStringLiteral("damaged"));
    EXPECT_TRUE(w.dialogs->errors.last().startsWith(QStringLiteral("JPEG エラー #"))) << w.dialogs->errors.last().toStdString();
    EXPECT_TRUE(card.content().picture.isNull());
    EXPECT_FALSE(outputsOffered(card));
    choose(card.FaceChoice, QStringLiteral("good"));
    EXPECT_EQ(w.dialogs->errors.size(), 5);
    EXPECT_TRUE(card.Status->text().isEmpty());
    ASSERT_TRUE(outputsOffered(card));

    // A full disk, a folder that refuses the file: the card there before stays.
    dir.writeBytes(QStringLiteral("cards/full.png"), "the old card");
    for (const auto& [step, error] : {std::pair{FileStep::Write, ENOSPC}, std::pair{FileStep::Create, EACCES}}) {
        const FileStepHook previous = setFileStepHook([step = step, error = error](FileStep s, const QString& path) {
            return s == step && path.contains(QStringLiteral("/cards/")) ? error : 0;
        });
        w.dialogs->saveFileAnswers = {out + QStringLiteral("/full.png")};
        w.dialogs->confirmAnswers = {true};
        clickIn(w, card.PictureButton);
        setFileStepHook(previous);
        EXPECT_EQ(w.dialogs->errors.last(), fileCreateErrorText(out + QStringLiteral("/full.png")));
    }
    EXPECT_EQ(w.dialogs->errors.size(), 7);
    EXPECT_EQ(dir.readBytes(QStringLiteral("cards/full.png")), QByteArray("the old card"));
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("full.png")});
    EXPECT_FALSE(QFileInfo::exists(playSettingsPath(dir.path()))) << "a card that failed is no card made";
    EXPECT_TRUE(card.isVisible());

    w.dialogs->saveFileAnswers = {out + QStringLiteral("/good.JPEG")};
    clickIn(w, card.PictureButton);
    const QByteArray jpeg = dir.readBytes(QStringLiteral("cards/good.JPEG"));
    EXPECT_EQ(decodeJpegData(jpeg).size(), QSize(1181, 1748));
    EXPECT_EQ(jpeg.mid(13, 5), QByteArray("\x01\x01\x2c\x01\x2c", 5)) << "JFIF: 300 dots per inch";
    EXPECT_EQ(w.dialogs->errors.size(), 7);
    clickIn(w, card.CloseButton);
    EXPECT_TRUE(f.ListBox1->isVisible()) << "back in the viewer";
}
