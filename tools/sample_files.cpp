// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the bitmaps and the help text in the forms the game reads.
#include "sample_faces.h"

#include "files/atomic_write.h"
#include "files/shift_jis.h"

#include <QFile>
#include <stdexcept>

void writeBitmap24(const QImage& picture, const QString& path) {
    // Qt writes an RGB888 picture with 24 bits a pixel.
    if (!picture.convertToFormat(QImage::Format_RGB888).save(path, "BMP"))
        throw std::runtime_error("cannot write " + path.toStdString());
}

void writeHelpText(const QString& utf8SourcePath, const QString& targetPath) {
    QFile source(utf8SourcePath);
    if (!source.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + utf8SourcePath.toStdString());
    QString text = QString::fromUtf8(source.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (!representableInShiftJis(text))
        throw std::runtime_error("the help text holds characters that Shift-JIS cannot");
    writeFileAtomically(targetPath, toShiftJis(text));
}
