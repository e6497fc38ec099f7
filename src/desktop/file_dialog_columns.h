// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The detail view of Qt's own file dialog in the program's language and wide
// enough for what it shows. Qt's Japanese texts lack the type of a folder
// ("Folder") and the file list writes sizes and dates in the system's locale
// ("757 bytes", "8 Dec"), so a proxy over the dialog's file model writes them
// in Japanese; the size, type and date columns take the width of their contents.
#include <QIdentityProxyModel>

class QFileDialog;

class JapaneseFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override;
};

// The file model's columns, in Qt's order.
enum FileDialogColumn { NameColumn = 0, SizeColumn = 1, TypeColumn = 2, DateColumn = 3 };

// A folder's type; a file's when Qt has no Japanese name for it ("JPG ファイル").
QString folderTypeText();
QString fileTypeText(const QString& suffix);
// A file's size as the file list shows it: 757 バイト, 1.67 KiB, 900 KiB.
QString fileSizeText(qint64 bytes);
// A modification time as the file list shows it: 2026/12/08 10:00.
QString fileDateText(const QDateTime& time);

// Puts the proxy under the dialog's views, sizes the detail view's columns and
// makes the places on the left wide enough for their names.
void useJapaneseFileColumns(QFileDialog& dialog);
