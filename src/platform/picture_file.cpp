#include "platform/picture_file.h"

#include "platform/app_error.h"
#include "platform/jpeg_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <cstdlib>

namespace {

// Enough for the largest accepted picture at four bytes a pixel, in MiB.
constexpr int kBitmapAllocationLimitMb = int((kMaxPicturePixels * 4 + (1 << 20) - 1) >> 20);

// False when an uncompressed bitmap's file is shorter than the pixel rows its
// header declares: Qt would hand back a picture with its missing part made up.
bool pixelDataComplete(QFile& file) {
    const QByteArray header = file.peek(34);
    if (header.size() < 26 || !header.startsWith("BM")) return true;  // left to the reader
    const auto* h = reinterpret_cast<const uchar*>(header.constData());
    const quint32 pixelOffset = qFromLittleEndian<quint32>(h + 10);
    const quint32 headerSize = qFromLittleEndian<quint32>(h + 14);
    qint64 width = 0, height = 0, bits = 0;
    if (headerSize == 12) {
        width = qFromLittleEndian<quint16>(h + 18);
        height = qFromLittleEndian<quint16>(h + 20);
        bits = qFromLittleEndian<quint16>(h + 24);
    } else {
        if (header.size() < 34) return true;
        width = qFromLittleEndian<qint32>(h + 18);
        height = std::abs(qint64(qFromLittleEndian<qint32>(h + 22)));
        bits = qFromLittleEndian<quint16>(h + 28);
        const quint32 compression = qFromLittleEndian<quint32>(h + 30);
        if (compression != 0 && compression != 3) return true;  // run-length data has no fixed size
    }
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    return file.size() >= qint64(pixelOffset) + rowBytes * height;
}

}  // namespace

QImage loadPictureFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return decodeJpegFile(path);
    if (suffix == QLatin1String("bmp")) return loadBitmapFile(path);
    throwFileOpenError(path);
}

QImage loadBitmapFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !pixelDataComplete(file)) throwFileOpenError(path);
    QImageReader reader(&file, "bmp");
    // Only the bitmap reader: a file named .bmp that holds something else is
    // not a bitmap.
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(std::max(QImageReader::allocationLimit(), kBitmapAllocationLimitMb));
    // The header's size is checked before any pixel memory is allocated, so a
    // bitmap that claims a huge size is refused rather than exhausting memory.
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * qint64(size.height()) > kMaxPicturePixels)
        throwFileOpenError(path);
    QImage image;
    if (!reader.read(&image) || image.isNull()) throwFileOpenError(path);
    return image.convertToFormat(QImage::Format_RGB32);
}
