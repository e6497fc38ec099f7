// SPDX-License-Identifier: GPL-3.0-or-later
// The application as the window system and the player meet it: the titles
// handed to the window system, and Qt's own dialogs in Japanese, run through
// the real main window with real Qt dialogs.
#include "board/image_control.h"
#include "main/application_setup.h"
#include "support/test_catalogue.h"
#include "support/window/game_window.h"
#include "support/window/while_modal.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The title as Qt hands it to the window system.
QString nativeTitle(const QWidget& w) { return w.windowHandle() ? w.windowHandle()->title() : QStringLiteral("<no window>"); }

// An environment variable set for one test and put back afterwards.
class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const QByteArray* value) : name_(name), had_(qEnvironmentVariableIsSet(name)),
                                                                        old_(qgetenv(name)) {
        if (value) qputenv(name, *value);
        else qunsetenv(name);
    }
    ~EnvironmentOverride() {
        if (had_) qputenv(name_, old_);
        else qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

const QString kFolderPrompt = QStringLiteral("midiファイル(拡張子が\".mid\"のもの)が存在する\nフォルダを選んでください。");

}  // namespace

// Qt appends an explicitly set display name to every title it hands the
// window system ("確認 — ポムリナ"); the program sets none, so the main window,
// the question, the picture dialog and the About box reach it as written.
TEST(Application, WindowTitlesReachTheWindowSystemExactlyAsWritten) {
    setUpApplication(*QCoreApplication::instance());
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("ポムリナ"));
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"))
        << "a display name of its own is set, which Qt appends to every title";
    QCoreApplication::setApplicationName(QStringLiteral("ポムリナ"));

    TempAppDir dir;
    writeTestCatalogue(dir, 4);
    GameWindow w(dir, /*realDialogs=*/true);
    TForm1& f = *w.form;
    w.finishTitle();
    EXPECT_EQ(nativeTitle(f), QStringLiteral("ポムリナ"));

    QString title;
    whileModal([&] { f.A1->trigger(); }, [&](QWidget& dialog) {
        title = nativeTitle(dialog);
        EXPECT_TRUE(qobject_cast<QFileDialog*>(&dialog));
        static_cast<QDialog&>(dialog).reject();
    });
    EXPECT_EQ(title, QStringLiteral("顔の読み込み"));
    EXPECT_FALSE(f.faceAuthoring().state().addingFace) << "cancelled";

    f.D1->trigger();
    w.click(w.thumbnail(1), {5, 5});
    whileModal([&] { w.click(f.BitBtnToroku); }, [&](QWidget& box) {
        title = nativeTitle(box);
        auto* question = qobject_cast<QMessageBox*>(&box);
        ASSERT_TRUE(question);
        for (QAbstractButton* b : question->buttons())
            if (b->text() == QStringLiteral("いいえ(&N)")) QTest::mouseClick(b, Qt::LeftButton);
    });
    EXPECT_EQ(title, QStringLiteral("確認"));
    EXPECT_EQ(f.catalogue.faceCount, 4) << "declined";

    whileModal([&] { f.About1->trigger(); }, [&](QWidget& box) {
        title = nativeTitle(box);
        box.close();
    });
    EXPECT_EQ(title, QStringLiteral("ポムリナのバージョン情報"));
}

// With Qt's Japanese texts loaded, whatever the locale: the standard buttons
// speak Japanese; the picture dialog lists pictures whatever the case of
// their extension; the folder chooser of random play shows its two-line
// prompt and opens at the desktop folder, or at home when there is none.
TEST(Application, QtDialogsSpeakJapaneseListPicturesOfAnyCaseAndShowTheFolderPrompt) {
    ASSERT_TRUE(setUpApplication(*QCoreApplication::instance())) << "Qt's Japanese texts are not installed";
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));

    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    TempAppDir home;
    for (const char* name : {"face.Jpg", "face.JPEG", "face.bmp", "IMG_0001.HEIC", "pet.heif", "sky.avif", "shot.png",
                             "chat.WebP", "wave.gif", "notes.txt"})
        home.writeBytes(QStringLiteral("pictures/") + QString::fromLatin1(name), "x");
    QDir().mkpath(home.path() + QStringLiteral("Desktop"));
    const QByteArray homePath = QDir(home.path()).absolutePath().toUtf8();
    EnvironmentOverride homeOverride("HOME", &homePath);
    EnvironmentOverride configOverride("XDG_CONFIG_HOME", nullptr);

    GameWindow w(dir, /*realDialogs=*/true);
    TForm1& f = *w.form;
    w.finishTitle();

    whileModal([&] { f.A1->trigger(); }, [&](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog)) << "Qt's own dialog on every desktop";
        EXPECT_EQ(dialog->nameFilters(),
                  QStringList{QStringLiteral("ピクチャファイル (*.jpg *.jpeg *.heic *.heif *.avif *.png *.webp *.gif *.bmp)")});
        dialog->setDirectory(home.path() + QStringLiteral("pictures"));
        auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
        ASSERT_TRUE(list);
        QStringList shown;
        (void)QTest::qWaitFor([&] {
            shown.clear();
            for (int i = 0; i < list->model()->rowCount(list->rootIndex()); ++i)
                shown << list->model()->index(i, 0, list->rootIndex()).data().toString();
            return shown.size() >= 9;
        }, 5000);
        shown.sort();
        EXPECT_EQ(shown, (QStringList{QStringLiteral("IMG_0001.HEIC"), QStringLiteral("chat.WebP"), QStringLiteral("face.JPEG"),
                                      QStringLiteral("face.Jpg"), QStringLiteral("face.bmp"), QStringLiteral("pet.heif"),
                                      QStringLiteral("shot.png"), QStringLiteral("sky.avif"), QStringLiteral("wave.gif")}));
        auto* box = dialog->findChild<QDialogButtonBox*>();
        ASSERT_TRUE(box);
        EXPECT_EQ(box->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
        dialog->reject();
    });

    for (const QString& expectedStart : {home.path() + QStringLiteral("Desktop"), home.path()}) {
        whileModal([&] { f.R2->trigger(); }, [&](QWidget& modal) {
            auto* dialog = qobject_cast<QFileDialog*>(&modal);
            ASSERT_TRUE(dialog);
            EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
            EXPECT_EQ(QDir(dialog->directory()).absolutePath(), QDir(expectedStart).absolutePath());
            auto* prompt = dialog->findChild<QLabel*>(QStringLiteral("FolderPrompt"));
            ASSERT_TRUE(prompt);
            EXPECT_EQ(prompt->text(), kFolderPrompt);
            EXPECT_TRUE(prompt->isVisible());
            dialog->reject();
        });
        QDir(home.path() + QStringLiteral("Desktop")).removeRecursively();
    }
    EXPECT_FALSE(f.R2->isChecked()) << "cancelled";
}

// English puts the game's translation (built into the program) in place of
// Qt's Japanese texts, and back; a second call for the same language changes
// nothing, so no window is told of a change that is none.
TEST(Application, TheLanguageCanBeSwitchedBothWays) {
    QCoreApplication& app = *QCoreApplication::instance();
    ASSERT_TRUE(setUpApplication(app, UiLanguage::English)) << "the English translation is not in the program";
    EXPECT_EQ(installedUiLanguage(), UiLanguage::English);
    EXPECT_EQ(QLocale().language(), QLocale::English);
    EXPECT_EQ(app.findChildren<QTranslator*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    QWidget watcher;
    int changes = 0;
    struct Counter : QObject {
        int* n;
        explicit Counter(int* count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::LanguageChange) ++*n;
            return false;
        }
    } counter(&changes);
    watcher.installEventFilter(&counter);
    ASSERT_TRUE(setUpApplication(app, UiLanguage::Japanese));
    QCoreApplication::processEvents();
    EXPECT_GT(changes, 0);
    const int afterSwitch = changes;
    EXPECT_TRUE(setUpApplication(app, UiLanguage::Japanese));
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, afterSwitch);
    EXPECT_EQ(installedUiLanguage(), UiLanguage::Japanese);
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
}
