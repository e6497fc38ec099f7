// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/qt_user_dialogs.h"

#include "desktop/file_dialog_columns.h"
#include "desktop/steady_clock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <optional>
#include <vector>

namespace {

// Qt's own file dialog rather than the desktop's: it speaks the program's
// language through Qt's translations on every desktop, its name filters
// ignore letter case, and it can carry the folder prompt.
void useQtFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    useJapaneseFileColumns(dialog);
}

// The prompt as a line of its own above everything else of the dialog.
void addPromptOnTop(QFileDialog& dialog, const QString& prompt) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    auto* label = new QLabel(withLineBreaks(prompt), &dialog);
    label->setObjectName(QStringLiteral("FolderPrompt"));
    label->setTextFormat(Qt::PlainText);
    if (!grid) {
        dialog.layout()->addWidget(label);
        return;
    }
    struct Cell { QLayoutItem* item; int row, column, rowSpan, columnSpan; };
    std::vector<Cell> cells;
    while (grid->count() > 0) {
        Cell c{};
        grid->getItemPosition(0, &c.row, &c.column, &c.rowSpan, &c.columnSpan);
        c.item = grid->takeAt(0);
        cells.push_back(c);
    }
    grid->addWidget(label, 0, 0, 1, -1);
    for (const Cell& c : cells) grid->addItem(c.item, c.row + 1, c.column, c.rowSpan, c.columnSpan);
}

// Lets a window's presses through once the system's double-click interval
// has passed since it showed.
class EarlyPressFilter : public QObject {
public:
    EarlyPressFilter(QWidget* window, std::function<qint64()> clock) : QObject(window), clock_(std::move(clock)) {
        window->installEventFilter(this);
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) button->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:
            if (watched == parent()) shownAt_ = clock_();
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::Shortcut:
            return shownAt_ && clock_() - *shownAt_ < QApplication::doubleClickInterval();
        default:
            return false;
        }
    }

private:
    std::function<qint64()> clock_;
    std::optional<qint64> shownAt_;
};

}  // namespace

QtUserDialogs::QtUserDialogs(QWidget* owner, const QString& memoryFolder, std::function<qint64()> clock)
    : owner_(owner), memoryFolder_(memoryFolder), clock_(clock ? std::move(clock) : steadyClockMs) {}

QString applicationTitle() { return QStringLiteral("ポムリナ"); }

void keepQtDialogMemoryIn(const QString& folder) {
    // A file dialog reads QSettings(UserScope, "QtProject") when it is made
    // and writes it when it is destroyed; there is no other way to move it.
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, folder);
}

QString withLineBreaks(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString qtNameFilter(const QString& windowsFilter) {
    QStringList out;
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i];
        const QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        // A description ending in "(...)" would be read by Qt as the patterns.
        if (desc.endsWith(QLatin1Char(')'))) {
            const int open = desc.lastIndexOf(QLatin1Char('('));
            if (open >= 0) desc = desc.left(open).trimmed();
        }
        out << QStringLiteral("%1 (%2)").arg(desc, patterns.join(QLatin1Char(' ')));
    }
    return out.join(QStringLiteral(";;"));
}

QString desktopOrHomeFolder() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir()) return desktop;
    return QDir::homePath();
}

QWidget* QtUserDialogs::dialogParent() const {
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : owner_;
}

bool QtUserDialogs::confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), withLineBreaks(text), QMessageBox::NoButton, dialogParent());
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    new EarlyPressFilter(&box, clock_);
    box.exec();
    return box.clickedButton() == yes;
}

void QtUserDialogs::notice(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), withLineBreaks(text), QMessageBox::NoButton, dialogParent());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

void QtUserDialogs::showError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, applicationTitle(), withLineBreaks(text), QMessageBox::NoButton, dialogParent());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

QString QtUserDialogs::openFile(const QString& title, const QString& filter) {
    if (!memoryFolder_.isEmpty()) keepQtDialogMemoryIn(memoryFolder_);
    QFileDialog dialog(owner_, title, QString(), qtNameFilter(filter));
    dialog.setObjectName(QStringLiteral("OpenFileDialog"));
    useQtFileDialog(dialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtUserDialogs::chooseFolder(const QString& prompt, const QString& startFolder) {
    if (!memoryFolder_.isEmpty()) keepQtDialogMemoryIn(memoryFolder_);
    QFileDialog dialog(owner_, withLineBreaks(prompt).replace(QLatin1Char('\n'), QLatin1Char(' ')),
                       startFolder.isEmpty() ? desktopOrHomeFolder() : startFolder);
    dialog.setObjectName(QStringLiteral("FolderDialog"));
    useQtFileDialog(dialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    addPromptOnTop(dialog, prompt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtUserDialogs::saveFile(const QString& title, const QString& filter, const QString& startPath) {
    if (!memoryFolder_.isEmpty()) keepQtDialogMemoryIn(memoryFolder_);
    const QFileInfo start(startPath);
    const bool folderOnly = start.isDir();
    QFileDialog dialog(dialogParent(), title, folderOnly ? startPath : start.absolutePath(), qtNameFilter(filter));
    dialog.setObjectName(QStringLiteral("SaveFileDialog"));
    useQtFileDialog(dialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!folderOnly && !startPath.isEmpty()) dialog.selectFile(start.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

bool QtUserDialogs::choosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, dialogParent());
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    return dialog.exec() == QDialog::Accepted;
}
