// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/temp_app_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include <stdexcept>

TempAppDir::TempAppDir() {
    if (!dir_.isValid()) throw std::runtime_error("cannot create a temporary folder");
}

QString TempAppDir::path() const { return dir_.path() + QLatin1Char('/'); }

QString TempAppDir::file(const QString& relative) const {
    const QString full = path() + relative;
    QDir().mkpath(QFileInfo(full).absolutePath());
    return full;
}

void TempAppDir::writeBytes(const QString& relative, const QByteArray& bytes) const {
    QFile f(file(relative));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

QByteArray TempAppDir::readBytes(const QString& relative) const {
    QFile f(path() + relative);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

bool TempAppDir::exists(const QString& relative) const {
    return QFileInfo::exists(path() + relative);
}

QImage testPicture(int width, int height, QRgb fill) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(fill);
    for (int i = 0; i < std::min(width, height); ++i) img.setPixel(i, i, 0xff204080);
    return img;
}

double shareDiffering(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) differing += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 64;
    return double(differing) / (a.width() * a.height());
}
