// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/file_dialog_columns.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QListView>
#include <QLocale>
#include <QScrollBar>
#include <QTreeView>
#include <algorithm>

namespace {

bool isAscii(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 128; });
}

}  // namespace

QString folderTypeText() { return QStringLiteral("フォルダー"); }

QString fileTypeText(const QString& suffix) {
    return suffix.isEmpty() ? QStringLiteral("ファイル") : suffix.toUpper() + QStringLiteral(" ファイル");
}

QString fileSizeText(qint64 bytes) {
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    if (bytes < 1024) return japanese.toString(bytes) + QStringLiteral(" バイト");
    return japanese.formattedDataSize(bytes);
}

QString fileDateText(const QDateTime& time) {
    return QLocale(QLocale::Japanese, QLocale::Japan).toString(time, QStringLiteral("yyyy/MM/dd HH:mm"));
}

QVariant JapaneseFileColumns::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files || role != Qt::DisplayRole || !index.isValid()) return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    switch (index.column()) {
    case SizeColumn:
        return files->isDir(source) ? QString() : fileSizeText(files->size(source));
    case TypeColumn: {
        if (files->isDir(source)) return folderTypeText();
        // The desktop's own description when it comes in Japanese ("JPEG 画像").
        const QString described = QIdentityProxyModel::data(index, role).toString();
        return !described.isEmpty() && !isAscii(described) ? described : fileTypeText(files->fileInfo(source).suffix());
    }
    case DateColumn: {
        const QDateTime time = files->lastModified(source);
        return time.isValid() ? fileDateText(time) : QString();
    }
    default:
        return QIdentityProxyModel::data(index, role);
    }
}

void useJapaneseFileColumns(QFileDialog& dialog) {
    dialog.setProxyModel(new JapaneseFileColumns(&dialog));
    // Room for a name beside the three columns.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(760, 460)));
    // The places on the left ("コンピュータ", the home folder) shown whole.
    if (auto* places = dialog.findChild<QListView*>(QStringLiteral("sidebar")))
        places->setMinimumWidth(places->sizeHintForColumn(0) + 2 * places->frameWidth() +
                                places->verticalScrollBar()->sizeHint().width());
    auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!details) return;
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    for (int column : {SizeColumn, TypeColumn, DateColumn})
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}
