#include "pictures/picture_bytes.h"

#include <QFile>
#include <QFileInfo>

PictureBytes readPictureBytes(const QString& path, qint64 maxBytes) {
    PictureBytes result;
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) return result;
    const qint64 size = file.size();
    if (size > maxBytes) {
        result.status = PictureBytes::TooLarge;
        return result;
    }
    result.bytes.resize(size);
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(result.bytes.data() + done, size - done);
        if (got <= 0) {
            result.bytes.clear();
            return result;
        }
        done += got;
    }
    result.status = PictureBytes::Read;
    return result;
}

qint64 pictureFileByteLimit(qint64 maxPixels) {
    constexpr qint64 kOverhead = qint64(16) << 20;
    return maxPixels * 8 + kOverhead;
}
