// SPDX-License-Identifier: GPL-3.0-or-later
// make_sample_data <out dir> <help text, UTF-8>
// Writes the files the game ships with into <out dir>: the sample catalogue
// in data/, title.bmp, logo.bmp and the help text 作品について.txt in Shift-JIS.
#include "sample_faces.h"

#include "files/app_error.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // fonts for the title and the logo
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_sample_data <out dir> <help text>\n");
        return 2;
    }
    try {
        const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
        QDir().mkpath(out);
        writeSampleCatalogue(out);
        writeBitmap24(drawTitlePicture(), out + QStringLiteral("title.bmp"));
        writeBitmap24(drawLogoPicture(), out + QStringLiteral("logo.bmp"));
        writeHelpText(QString::fromLocal8Bit(argv[2]), out + QStringLiteral("作品について.txt"));
    } catch (const AppError& e) {
        std::fprintf(stderr, "make_sample_data: %s\n", e.message().toUtf8().constData());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_sample_data: %s\n", e.what());
        return 1;
    }
    return 0;
}
