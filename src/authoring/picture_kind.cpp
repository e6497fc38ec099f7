#include "authoring/picture_kind.h"

PictureKind pictureKindOfPath(const QString& path) {
    const qsizetype dot = path.indexOf(QLatin1Char('.'));
    if (dot < 0) return PictureKind::None;
    const QString three = path.mid(dot + 1, 3);
    const QString four = path.mid(dot + 1, 4);
    if (three == QLatin1String("bmp") || three == QLatin1String("BMP")) return PictureKind::Bitmap;
    if (three == QLatin1String("jpg") || three == QLatin1String("JPG") || four == QLatin1String("jpeg") ||
        four == QLatin1String("JPEG"))
        return PictureKind::Jpeg;
    return PictureKind::None;
}
