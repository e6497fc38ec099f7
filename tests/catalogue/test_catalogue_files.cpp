// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_catalogue_files.h"

#include <QDir>
#include <QFile>

FaceAnswer testAnswer(int face) {
    FaceAnswer a{};
    for (int i = 0; i < 8; ++i) a[i] = face * 100 + i * 7 + 3;
    return a;
}

NewFacePictures testFace(int face) {
    NewFacePictures f;
    for (int kind = 0; kind < 6; ++kind) {
        const bool whole = kind == 0 || kind == 5;
        const QRgb colour = qRgb(40 * kind + 10, (face * 53) % 256, 200 - 30 * kind);
        f.pictures[kind] = testPicture(whole ? 60 + face : 20 + kind, whole ? 70 : 12 + face, colour);
    }
    f.answer = testAnswer(face);
    return f;
}

void writeTestCatalogue(const TempAppDir& app, int count) {
    QDir().mkpath(app.path() + QStringLiteral("data"));
    for (int face = 0; face < count; ++face) registerFaceFiles(app.path(), face, testFace(face));
}

std::map<QString, QByteArray> snapshotDataFolder(const TempAppDir& app) {
    std::map<QString, QByteArray> entries;
    const QDir dir(app.path() + QStringLiteral("data"));
    for (const QFileInfo& info :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (info.isDir()) {
            entries[info.fileName()] = "<dir>";
        } else {
            QFile f(info.absoluteFilePath());
            entries[info.fileName()] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
        }
    }
    return entries;
}

QByteArray pictureBytes(const TempAppDir& app, int face, int kind) {
    return app.readBytes(QStringLiteral("data/face%1_%2.jpg").arg(face).arg(kind));
}

QString settingsText(const TempAppDir& app) {
    return QString::fromLatin1(app.readBytes(QStringLiteral("data/FaceData.ini")));
}
