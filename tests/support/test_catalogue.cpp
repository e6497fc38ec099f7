// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/test_catalogue.h"

#include "files/ini_file.h"
#include "pictures/jpeg_codec.h"

#include <QDir>

QRgb testFaceColour(int face, int kind) {
    // Hue steps of 40 degrees by face, lightness by kind.
    const QColor c = QColor::fromHsl((face * 40) % 360, 200, 60 + kind * 25);
    return c.rgb();
}

void writeTestCatalogue(const TempAppDir& dir, int count, const TestFaceLayout& layout) {
    QDir().mkpath(dir.path() + QStringLiteral("data"));
    IniFile ini(dir.path() + QStringLiteral("data/FaceData.ini"));
    ini.writeInteger(QStringLiteral("faces"), QStringLiteral("count"), count);
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k <= 5; ++k) {
            const QSize size = (k == 0 || k == 5) ? layout.face : layout.parts[k];
            QImage img(size, QImage::Format_RGB32);
            img.fill(testFaceColour(i, k));
            writeJpegFile(dir.path() + QStringLiteral("data/face%1_%2.jpg").arg(i).arg(k), img);
        }
        const QString section = QString::number(i);
        const char* keys[] = {"X1", "X2", "X3", "X4", "Y1", "Y2", "Y3", "Y4"};
        for (int k = 0; k < 8; ++k) ini.writeInteger(section, QString::fromLatin1(keys[k]), layout.answer[k]);
    }
    ini.save();
}
