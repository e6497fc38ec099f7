// SPDX-License-Identifier: GPL-3.0-or-later
// The About box: its look, the pause of the music while it is open, the
// hover colour of the web address and the address opened by a click.
#include "../music/form1_music_support.h"
#include "about/form2.h"
#include "board/image_control.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kLime = QStringLiteral("#00ff00");
const QString kWhite = QStringLiteral("#ffffff");

QString addressColour(const TForm2& box) { return box.Label2->palette().color(QPalette::WindowText).name(); }

// Runs About1 from the menu; while the box is open, whileOpen looks at it,
// then the box is closed as a user would close it.
void openAboutBox(TForm1& f, const std::function<void(TForm2&)>& whileOpen) {
    bool ran = false;
    QTimer::singleShot(0, &f, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<TForm2*>(modal);
        ran = true;
        if (!box) {
            ADD_FAILURE() << "the About box is not the modal window";
            if (modal) modal->close();
            return;
        }
        whileOpen(*box);
        box->close();
    });
    f.About1->trigger();
    EXPECT_TRUE(ran) << "About1 returned without showing the box modally";
}

}  // namespace

TEST(AboutBox, ShowsNameVersionLogoAndAddressInItsFixedTealBox) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    QImage logo = testPicture(368, 56);
    ASSERT_TRUE(logo.save(dir.file(QStringLiteral("logo.bmp")), "BMP"));
    GameWindow w(dir);
    TForm2& box = *w.form->Form2;

    EXPECT_EQ(box.objectName(), QStringLiteral("Form2"));
    EXPECT_FALSE(box.isVisible()) << "created hidden";
    EXPECT_EQ(box.windowTitle(), QStringLiteral("ポムリナのバージョン情報"));
    EXPECT_EQ(box.minimumSize(), QSize(298, 127));
    EXPECT_EQ(box.maximumSize(), QSize(298, 127));
    EXPECT_FALSE(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(box.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(box.palette().color(QPalette::Window), QColor(0, 128, 128));
    EXPECT_EQ(box.font().pixelSize(), 12);

    EXPECT_EQ(box.Label1->text(), QStringLiteral("ポムリナ\u3000Ver1.10 "));
    EXPECT_EQ(box.Label1->geometry(), QRect(8, 16, 227, 24));
    EXPECT_EQ(box.Label1->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    EXPECT_EQ(box.Label1->font().pixelSize(), 24);
    EXPECT_TRUE(box.Label1->font().bold() && box.Label1->font().italic());

    EXPECT_EQ(box.ImageRogo->geometry(), QRect(96, 50, 191, 40));
    EXPECT_EQ(box.ImageRogo->picture().size(), QSize(368, 56));
    EXPECT_EQ(box.ImageRogo->drawnRect(), QRect(0, 0, 191, 29)) << "scaled down with its proportions kept";

    EXPECT_EQ(box.Label2->text(), QStringLiteral("https://pomurina.example/"));
    EXPECT_EQ(box.Label2->geometry(), QRect(56, 100, 237, 16));
    EXPECT_EQ(addressColour(box), kLime);
    EXPECT_EQ(box.Label2->font().pixelSize(), 16);
    EXPECT_TRUE(box.Label2->font().underline());

    openAboutBox(*w.form, [](TForm2& shown) {
        EXPECT_TRUE(shown.isModal());
        const QRect screen = shown.screen()->availableGeometry();
        EXPECT_LE((shown.frameGeometry().center() - screen.center()).manhattanLength(), 2) << "centred on the screen";
    });
    EXPECT_FALSE(box.isVisible());
}

// The music pauses while the box is open (the loop rests meanwhile) and
// starts again from the beginning of the same file when it closes.
TEST(AboutBox, MusicStopsWhileOpenAndRestartsFromTheBeginningAfterwards) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString song = writeSong(dir, QStringLiteral("song.mid"));
    writeBgmIni(dir, QStringLiteral("1"), song, QString());
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    w.media->commands.clear();
    w.media->statusReply = QStringLiteral("stopped");

    openAboutBox(f, [&](TForm2&) {
        EXPECT_EQ(w.media->commands, QStringList{QStringLiteral("stop FILE")});
        EXPECT_FALSE(f.musicPlayer().state().bgmOn);
        f.MusicTimerTimer();
        EXPECT_EQ(w.media->commands.size(), 1) << "the loop rests while the box is open";
    });
    EXPECT_EQ(w.media->commands, (QStringList{QStringLiteral("stop FILE"), QStringLiteral("seek FILE to 0"),
                                              QStringLiteral("play File")}));
    EXPECT_TRUE(f.musicPlayer().state().bgmOn);
    EXPECT_TRUE(f.ONO1->isChecked());
}

// No music, or music switched off: opening and closing the box sends nothing.
TEST(AboutBox, SendsNothingWhenTheMusicIsOff) {
    for (const bool fileOpened : {false, true}) {
        TempAppDir dir;
        writeTestCatalogue(dir, 3);
        if (fileOpened) writeBgmIni(dir, QStringLiteral("0"), writeSong(dir, QStringLiteral("song.mid")), QString());
        GameWindow w(dir);
        w.finishTitle();
        w.media->commands.clear();
        openAboutBox(*w.form, [](TForm2&) {});
        EXPECT_TRUE(w.media->commands.isEmpty()) << "file opened: " << fileOpened;
        EXPECT_FALSE(w.form->musicPlayer().state().bgmOn);
    }
}

// Real mouse moves: the address turns white over itself, stays white over the
// title, the logo and outside the box, and turns lime over the bare form; the
// colour survives closing and showing the box again.
TEST(AboutBox, AddressTurnsWhiteUnderTheMouseAndLimeOverTheBareForm) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm2& box = *w.form->Form2;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QWindow* window = box.windowHandle();

    QTest::mouseMove(window, box.Label2->geometry().center());
    EXPECT_EQ(addressColour(box), kWhite);
    QTest::mouseMove(window, box.Label1->geometry().center());
    QTest::mouseMove(window, box.ImageRogo->geometry().center());
    EXPECT_EQ(addressColour(box), kWhite) << "the title and the logo change nothing";
    QTest::mouseMove(w.form->windowHandle(), QPoint(300, 300));
    EXPECT_EQ(addressColour(box), kWhite) << "leaving the box changes nothing";

    QTest::mouseMove(window, QPoint(4, 4));
    EXPECT_EQ(addressColour(box), kLime);
    QTest::mouseMove(window, box.Label2->geometry().center() + QPoint(20, 0));
    EXPECT_EQ(addressColour(box), kWhite);

    box.close();
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(addressColour(box), kWhite);
    box.close();
}

TEST(AboutBox, ClickOnTheAddressOpensItAndTheBoxStays) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm2& box = *w.form->Form2;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));

    QTest::mouseClick(box.windowHandle(), Qt::LeftButton, Qt::NoModifier, box.Label1->geometry().center());
    EXPECT_TRUE(w.shell->opened.isEmpty()) << "only the address opens anything";
    QTest::mouseClick(box.windowHandle(), Qt::LeftButton, Qt::NoModifier, box.Label2->geometry().center());
    EXPECT_EQ(w.shell->opened, QStringList{QStringLiteral("https://pomurina.example/")});
    EXPECT_TRUE(box.isVisible());
    box.close();
}
