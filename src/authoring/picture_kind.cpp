// SPDX-License-Identifier: GPL-3.0-or-later
#include "authoring/picture_kind.h"

namespace {

bool startsWith(const QString& text, qsizetype from, const char* word) {
    return text.mid(from).startsWith(QLatin1String(word), Qt::CaseInsensitive);
}

}  // namespace

PictureKind pictureKindOfPath(const QString& path) {
    // The extension of the file name itself: what the dialog's filter matched.
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype lastDot = path.lastIndexOf(QLatin1Char('.'));
    if (lastDot > slash) {
        const QString extension = path.mid(lastDot + 1);
        if (extension.compare(QLatin1String("bmp"), Qt::CaseInsensitive) == 0) return PictureKind::Bitmap;
        if (extension.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0 ||
            extension.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) == 0)
            return PictureKind::Jpeg;
    }
    // The older reading: what follows the first dot of the whole path.
    const qsizetype dot = path.indexOf(QLatin1Char('.'));
    if (dot < 0) return PictureKind::None;
    if (startsWith(path, dot + 1, "bmp")) return PictureKind::Bitmap;
    if (startsWith(path, dot + 1, "jpg") || startsWith(path, dot + 1, "jpeg")) return PictureKind::Jpeg;
    return PictureKind::None;
}
