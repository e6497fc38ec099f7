// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a judged face into the library through the real window: the name
// field, the picture written, overwrites and names that must not be used.
#include "board/caption_label.h"
#include "board/image_control.h"
#include "pictures/jpeg_codec.h"
#include "support/file_faults.h"
#include "support/window/play_driver.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const TestFaceLayout kLayout;
const QString kNamePrompt = QStringLiteral("この顔の名前を入力して「保存」ボタンを押してください。");
const QString kSavedPrompt = QStringLiteral("「再開」ボタンを押すとゲームを再開します。");
const QString kOverwrite = QStringLiteral("別の顔が同じ名前で保存されています。\r上書きしますか？");

// A judged game of face 0 with the mouth sticking out of the face's right
// edge, and the name field asked for.
void judgeAndAskForAName(GameWindow& w) {
    startGameWith(w, 0);
    for (int s = 1; s <= 3; ++s) placePart(w, s, 0, {answerX(kLayout.answer, s), answerY(kLayout.answer, s)});
    placePart(w, 4, 0, {100, 110});
    clickHantei(w);
    clickCancel(w);
}

void typeName(GameWindow& w, const QString& name) {
    w.form->Edit1->selectAll();
    QTest::keyClick(w.form->Edit1, Qt::Key_Backspace);
    typeText(w.form->Edit1, name);
}

void expectStillNaming(const TForm1& f, const QString& name) {
    EXPECT_TRUE(f.Edit1->isVisible());
    EXPECT_EQ(f.Edit1->text(), name);
    EXPECT_EQ(f.BitBtnCancel->text(), QStringLiteral("保存"));
    EXPECT_TRUE(f.BitBtnCancel->isVisible());
    EXPECT_EQ(f.Label1->caption(), kNamePrompt);
}

QByteArray someJpeg(QRgb colour) {
    QImage picture(50, 60, QImage::Format_RGB32);
    picture.fill(colour);
    return encodeJpeg(picture);
}

// Clicks the button of the message box once it is up.
void answerMessageBoxWith(const QString& buttonText, QString* seenText, QString* seenTitle) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll->stop();
        poll->deleteLater();
        *seenText = box->text();
        *seenTitle = box->windowTitle();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == buttonText) QTest::mouseClick(b, Qt::LeftButton);
    });
    poll->start(20);
}

}  // namespace

// The name field opens empty; "保存" follows whether it holds text; the file
// is the composition at the face picture's size, the part cut off at the
// face's edge; the library folder is made; one entry is added.
TEST(Saving, ANewNameWritesTheComposedFaceAndAddsOneEntry) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    judgeAndAskForAName(w);

    EXPECT_TRUE(f.Edit1->isVisible());
    EXPECT_TRUE(f.Edit1->text().isEmpty());
    EXPECT_EQ(f.focusWidget(), f.Edit1);
    EXPECT_FALSE(f.BitBtnCancel->isEnabled());
    EXPECT_EQ(f.Label1->caption(), kNamePrompt);
    typeText(f.Edit1, QStringLiteral("にこ"));
    EXPECT_TRUE(f.BitBtnCancel->isEnabled());
    QTest::keyClick(f.Edit1, Qt::Key_Backspace);
    QTest::keyClick(f.Edit1, Qt::Key_Backspace);
    EXPECT_FALSE(f.BitBtnCancel->isEnabled()) << "an erased name cannot be saved";
    typeText(f.Edit1, QStringLiteral("にこ"));

    ASSERT_FALSE(dir.exists(QStringLiteral("Library")));
    clickCancel(w);
    ASSERT_TRUE(w.dialogs->errors.isEmpty()) << w.dialogs->errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(w.dialogs->confirmations.isEmpty());

    const QImage saved = decodeJpegFile(dir.path() + QStringLiteral("Library/にこ.jpg"));
    EXPECT_EQ(saved.size(), QSize(120, 150));
    EXPECT_TRUE(nearColour(saved.pixel(20, 40), testFaceColour(0, 1))) << "right eye";
    EXPECT_TRUE(nearColour(saved.pixel(80, 40), testFaceColour(0, 2))) << "left eye";
    EXPECT_TRUE(nearColour(saved.pixel(58, 75), testFaceColour(0, 3))) << "nose";
    EXPECT_TRUE(nearColour(saved.pixel(115, 118), testFaceColour(0, 4))) << "the mouth up to the face's edge";
    EXPECT_TRUE(nearColour(saved.pixel(95, 118), testFaceColour(0, 5))) << "the face left of the mouth";
    EXPECT_TRUE(nearColour(saved.pixel(60, 140), testFaceColour(0, 5))) << "the face below the parts";

    EXPECT_EQ(listItems(f.ListBox1), QStringList{QStringLiteral("にこ")});
    EXPECT_TRUE(f.libraryHasFaces);
    EXPECT_FALSE(f.BitBtnCancel->isVisible());
    EXPECT_EQ(f.BitBtnCancel->text(), QStringLiteral("キャンセル"));
    EXPECT_FALSE(f.Edit1->isVisible());
    EXPECT_EQ(f.Label1->caption(), kSavedPrompt);
    EXPECT_TRUE(f.BitBtnHantei->isVisible());
    EXPECT_EQ(f.BitBtnHantei->text(), QStringLiteral("再開"));
    EXPECT_FALSE(f.R1->isEnabled());

    clickHantei(w);
    EXPECT_TRUE(f.R1->isEnabled()) << "the first saved face opens the saved faces";
}

// A refused overwrite writes nothing and empties the name; a confirmed one
// replaces the file and lists the name only once.
TEST(Saving, AnOverwriteIsWrittenOnlyWhenConfirmed) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    const QByteArray old = someJpeg(qRgb(10, 200, 10));
    dir.writeBytes(QStringLiteral("Library/old.jpg"), old);
    GameWindow w(dir);
    TForm1& f = *w.form;
    judgeAndAskForAName(w);
    ASSERT_EQ(listItems(f.ListBox1), QStringList{QStringLiteral("old")});

    w.dialogs->confirmAnswers = {false};
    typeName(w, QStringLiteral("old"));
    clickCancel(w);
    EXPECT_EQ(w.dialogs->confirmations, QStringList{kOverwrite});
    EXPECT_EQ(dir.readBytes(QStringLiteral("Library/old.jpg")), old);
    expectStillNaming(f, QString());
    EXPECT_FALSE(f.BitBtnCancel->isEnabled());
    EXPECT_EQ(f.focusWidget(), f.Edit1);
    EXPECT_EQ(listItems(f.ListBox1), QStringList{QStringLiteral("old")});

    {
        // A look at the old picture that fails is not "no such file": the
        // save stops with the error instead of replacing it unasked.
        FileFaults faults(FileFaults::failing(FileCall::Probe, QStringLiteral("Library/old.jpg"), EIO));
        typeName(w, QStringLiteral("old"));
        clickCancel(w);
    }
    EXPECT_EQ(w.dialogs->confirmations.size(), 1);
    EXPECT_EQ(w.dialogs->errors, QStringList{QStringLiteral("ファイル %1 は開けません").arg(dir.path() + QStringLiteral("Library/old.jpg"))});
    EXPECT_EQ(dir.readBytes(QStringLiteral("Library/old.jpg")), old);
    expectStillNaming(f, QStringLiteral("old"));

    w.dialogs->confirmAnswers = {true};
    typeName(w, QStringLiteral("old"));
    clickCancel(w);
    EXPECT_EQ(w.dialogs->confirmations.size(), 2);
    EXPECT_EQ(decodeJpegFile(dir.path() + QStringLiteral("Library/old.jpg")).size(), QSize(120, 150));
    EXPECT_EQ(listItems(f.ListBox1), QStringList{QStringLiteral("old")});
    EXPECT_FALSE(f.Edit1->isVisible());
    EXPECT_EQ(f.Label1->caption(), kSavedPrompt);
}

// The name is used exactly as typed: a trailing space makes another file.
TEST(Saving, ANameWithATrailingSpaceIsADifferentFile) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    const QByteArray old = someJpeg(qRgb(10, 200, 10));
    dir.writeBytes(QStringLiteral("Library/face.jpg"), old);
    GameWindow w(dir);
    TForm1& f = *w.form;
    judgeAndAskForAName(w);

    typeName(w, QStringLiteral("face "));
    clickCancel(w);
    EXPECT_TRUE(w.dialogs->confirmations.isEmpty());
    EXPECT_EQ(dir.readBytes(QStringLiteral("Library/face.jpg")), old);
    EXPECT_EQ(decodeJpegFile(dir.path() + QStringLiteral("Library/face .jpg")).size(), QSize(120, 150));
    EXPECT_EQ(listItems(f.ListBox1), (QStringList{QStringLiteral("face"), QStringLiteral("face ")}));
}

// Names that would leave the library, or that no file can have, are refused
// with the program's message; nothing is written anywhere and the player
// can correct the name.
TEST(Saving, NamesThatLeaveTheLibraryAreRefusedAndWriteNothing) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    judgeAndAskForAName(w);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    for (const QString& name : {QStringLiteral("../evil"), QStringLiteral("a/b"), QStringLiteral("..\\evil")}) {
        w.dialogs->errors.clear();
        typeName(w, name);
        clickCancel(w);
        ASSERT_EQ(w.dialogs->errors.size(), 1) << name.toStdString();
        EXPECT_EQ(w.dialogs->errors[0],
                  QStringLiteral("ファイル %1 を作成できません").arg(dir.path() + QStringLiteral("Library/") + name + ".jpg"));
        expectStillNaming(f, name);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("../evil.jpg")));
    EXPECT_TRUE(listItems(f.ListBox1).isEmpty());
    EXPECT_FALSE(f.libraryHasFaces);

    typeName(w, QStringLiteral("evil"));
    clickCancel(w);
    EXPECT_TRUE(dir.exists(QStringLiteral("Library/evil.jpg"))) << "a corrected name saves";
}

// A library that cannot be written to reports the file and keeps the name
// for another try; nothing is listed.
TEST(Saving, AFailedWriteKeepsTheNameAndListsNothing) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    dir.writeBytes(QStringLiteral("Library"), "a file where the folder should be");
    GameWindow w(dir);
    TForm1& f = *w.form;
    judgeAndAskForAName(w);

    typeName(w, QStringLiteral("face"));
    clickCancel(w);
    EXPECT_EQ(w.dialogs->errors,
              QStringList{QStringLiteral("ファイル %1 を作成できません").arg(dir.path() + QStringLiteral("Library/face.jpg"))});
    expectStillNaming(f, QStringLiteral("face"));
    EXPECT_TRUE(listItems(f.ListBox1).isEmpty());
    EXPECT_FALSE(f.libraryHasFaces);
}

// The overwrite question in a real message box, answered by clicking its
// buttons as a player would.
TEST(Saving, TheRealOverwriteQuestionIsAnsweredByItsButtons) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    const QByteArray old = someJpeg(qRgb(10, 200, 10));
    dir.writeBytes(QStringLiteral("Library/old.jpg"), old);
    GameWindow w(dir, /*realDialogs=*/true);
    TForm1& f = *w.form;
    judgeAndAskForAName(w);

    QString text, title;
    typeName(w, QStringLiteral("old"));
    answerMessageBoxWith(QStringLiteral("いいえ(&N)"), &text, &title);
    clickCancel(w);
    EXPECT_EQ(title, QStringLiteral("確認"));
    EXPECT_EQ(text, QStringLiteral("別の顔が同じ名前で保存されています。\n上書きしますか？"));
    EXPECT_EQ(dir.readBytes(QStringLiteral("Library/old.jpg")), old);
    expectStillNaming(f, QString());

    typeName(w, QStringLiteral("old"));
    answerMessageBoxWith(QStringLiteral("はい(&Y)"), &text, &title);
    clickCancel(w);
    EXPECT_EQ(decodeJpegFile(dir.path() + QStringLiteral("Library/old.jpg")).size(), QSize(120, 150));
    EXPECT_EQ(f.Label1->caption(), kSavedPrompt);
}
