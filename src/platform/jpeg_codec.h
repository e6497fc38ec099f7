#pragma once
// JPEG through the IJG libjpeg API. Errors never end the process: a file that
// cannot be opened throws "ファイル %s は開けません", data that libjpeg cannot
// decode (or that ends early) throws "JPEG エラー #n" with libjpeg's message code:
// JWRN_JPEG_EOF when the file ends early, JWRN_HIT_MARKER when the picture data
// stops before the last block, JERR_IMAGE_TOO_BIG beyond kMaxPicturePixels.
#include <QByteArray>
#include <QImage>
#include <QString>

// Largest picture the decoders accept, in pixels; larger ones are refused with
// the decoder's error rather than exhausting memory.
constexpr qint64 kMaxPicturePixels = 100'000'000;

// Decodes to QImage::Format_RGB32.
QImage decodeJpegFile(const QString& path);
QImage decodeJpegData(const QByteArray& data);

// Baseline, 24-bit colour, quality 90.
QByteArray encodeJpeg(const QImage& image, int quality = 90);
// Encodes and writes atomically; throws "ファイル %s を作成できません".
void writeJpegFile(const QString& path, const QImage& image);
