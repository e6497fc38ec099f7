// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own file dialogs as the player meets them in the real main window:
// every column in Japanese and wide enough for its text, a picture of any
// letter case loaded, and what the dialog remembers kept in the game's folder.
#include "board/image_control.h"
#include "desktop/file_dialog_columns.h"
#include "main/application_setup.h"
#include "pictures/jpeg_codec.h"
#include "support/test_catalogue.h"
#include "support/window/game_window.h"
#include "support/window/while_modal.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMap>
#include <QPointer>
#include <QSettings>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The rows of the detail view once the folder has been read, by name.
QMap<QString, QModelIndex> rowsOf(QTreeView& view, int expected) {
    QMap<QString, QModelIndex> rows;
    (void)QTest::qWaitFor([&] {
        rows.clear();
        QAbstractItemModel* model = view.model();
        for (int i = 0; i < model->rowCount(view.rootIndex()); ++i) {
            const QModelIndex name = model->index(i, NameColumn, view.rootIndex());
            rows.insert(name.data().toString(), name);
        }
        return rows.size() >= expected;
    }, 5000);
    return rows;
}

bool hasLatinLetter(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 128 && c.isLetter(); });
}

}  // namespace

TEST(FileDialogs, PictureDialogSpeaksJapaneseShowsWholeColumnsLoadsAnyCaseAndRemembersInTheGameFolder) {
    ASSERT_TRUE(setUpApplication(*QCoreApplication::instance())) << "Qt's Japanese texts are not installed";
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    TempAppDir pictures;
    QDir().mkpath(pictures.path() + QStringLiteral("sub.folder"));
    writeJpegFile(pictures.file(QStringLiteral("Other.Jpg")), QImage(80, 60, QImage::Format_RGB32));
    pictures.writeBytes(QStringLiteral("big_photo.jpg"), QByteArray(921600, 'x'));  // "900 KiB"

    GameWindow w(dir, /*realDialogs=*/true);
    TForm1& f = *w.form;
    w.finishTitle();
    whileModal([&] { f.A1->trigger(); }, [&](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        ASSERT_TRUE(dialog);
        dialog->setViewMode(QFileDialog::Detail);
        dialog->setDirectory(pictures.path());
        auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_TRUE(view);
        const auto rows = rowsOf(*view, 3);
        ASSERT_EQ(rows.keys(), (QStringList{QStringLiteral("Other.Jpg"), QStringLiteral("big_photo.jpg"),
                                            QStringLiteral("sub.folder")}));
        auto cell = [&](const QString& name, int column) { return rows[name].siblingAtColumn(column).data().toString(); };
        EXPECT_EQ(cell(QStringLiteral("sub.folder"), TypeColumn), QStringLiteral("フォルダー"));
        for (const QString& name : rows.keys()) {
            EXPECT_FALSE(hasLatinLetter(cell(name, TypeColumn).remove(QStringLiteral("JPEG")).remove(QStringLiteral("JPG"))))
                << "type of " << name.toStdString() << ": " << cell(name, TypeColumn).toStdString();
            EXPECT_EQ(cell(name, DateColumn), fileDateText(QFileInfo(pictures.path() + name).lastModified()));
            EXPECT_FALSE(hasLatinLetter(cell(name, DateColumn))) << cell(name, DateColumn).toStdString();
        }
        // Every size, type and date fits its column: nothing is cut to "…".
        (void)QTest::qWaitFor([&] { return view->isVisible() && view->header()->sectionSize(DateColumn) > 0; }, 2000);
        QApplication::processEvents();
        const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
        for (const QString& name : rows.keys())
            for (int column : {SizeColumn, TypeColumn, DateColumn}) {
                const QString text = cell(name, column);
                EXPECT_GE(view->header()->sectionSize(column), view->fontMetrics().horizontalAdvance(text) + margins)
                    << name.toStdString() << " column " << column << ": " << text.toStdString();
            }
        EXPECT_GE(view->header()->sectionSize(NameColumn), view->fontMetrics().horizontalAdvance(QStringLiteral("big_photo.jpg")));
        auto* places = dialog->findChild<QListView*>(QStringLiteral("sidebar"));
        ASSERT_TRUE(places);
        EXPECT_GE(places->viewport()->width(), places->sizeHintForColumn(0)) << "a place's name is cut";

        auto* fileName = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(fileName);
        QTest::keyClicks(fileName, QStringLiteral("Other.Jpg"));
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        ASSERT_TRUE(buttons && buttons->button(QDialogButtonBox::Open));
        QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
    });
    f.finishPendingWork();  // the photograph is decoded behind the window
    EXPECT_EQ(f.faceAuthoring().state().sourceKind, 2) << "Other.Jpg loads as a JPEG";
    EXPECT_EQ(f.faceAuthoring().state().sourcePicture.size(), QSize(80, 60));

    // What the dialog remembers is in the game's own settings folder.
    const QString memory = dir.path() + QStringLiteral("data/QtProject.conf");
    ASSERT_TRUE(QFileInfo::exists(memory)) << "the dialog kept nothing in the game folder";
    QSettings kept(memory, QSettings::IniFormat);
    EXPECT_EQ(QUrl(kept.value(QStringLiteral("FileDialog/lastVisited")).toString()).toLocalFile(),
              QDir(pictures.path()).absolutePath());
}
