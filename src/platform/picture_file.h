#pragma once
// Loading a picture file with the decoder chosen by its extension: ".jpg" and
// ".jpeg" through libjpeg, ".bmp" through Qt's bitmap reader.
#include <QImage>
#include <QString>

QImage loadPictureFile(const QString& path);
// A Windows bitmap; throws "ファイル %s は開けません" when it cannot be read.
QImage loadBitmapFile(const QString& path);
