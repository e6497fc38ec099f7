// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A temporary application folder for one test, removed afterwards.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

class TempAppDir {
public:
    TempAppDir();
    // The folder with one trailing "/", like the program's AppDir.
    QString path() const;
    // path() + relative ("/" separators); parent folders are created.
    QString file(const QString& relative) const;
    void writeBytes(const QString& relative, const QByteArray& bytes) const;
    QByteArray readBytes(const QString& relative) const;
    bool exists(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

// A picture of the given size filled with one colour, with a diagonal of
// another so that shifts and flips show.
QImage testPicture(int width, int height, QRgb fill = 0xffc08060);
// The share of pixels of two pictures of one size whose grey differs by more
// than a quarter of the range (the edges of letters drawn at two sizes differ
// that much, little else).
double shareDiffering(const QImage& a, const QImage& b);
