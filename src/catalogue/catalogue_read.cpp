// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the count, the answers and the pictures; writing one picture;
// finishing an interrupted change before the catalogue is first read.
#include "catalogue/catalogue_files.h"

#include "catalogue/catalogue_change.h"

#include "files/app_error.h"
#include "files/ini_file.h"
#include "pictures/jpeg_codec.h"

#include <QFileInfo>
#include <algorithm>

int readFaceCount(const QString& appDir) {
    return IniFile(faceDataPath(appDir)).readInteger(QStringLiteral("faces"), QStringLiteral("count"), 3);
}

StartingCount startingFaceCount(const QString& appDir) {
    const int count = readFaceCount(appDir);
    if (count >= 0 && count <= kMaxFaceCount) return StartingCount{count, {}};
    int present = 0;
    while (present < kMaxFaceCount && QFileInfo::exists(facePicturePath(appDir, present, 0))) ++present;
    return StartingCount{present, fileOpenErrorText(facePicturePath(appDir, present, 0))};
}

std::vector<FaceAnswer> readFaceAnswers(const QString& appDir, int count) {
    const IniFile ini(faceDataPath(appDir));
    // In the order of FaceAnswer: X1..X4, then Y1..Y4.
    static const QStringList keys = {QStringLiteral("X1"), QStringLiteral("X2"), QStringLiteral("X3"),
                                     QStringLiteral("X4"), QStringLiteral("Y1"), QStringLiteral("Y2"),
                                     QStringLiteral("Y3"), QStringLiteral("Y4")};
    std::vector<FaceAnswer> answers;
    answers.reserve(size_t(std::max(count, 0)));
    for (int n = 0; n < count; ++n) {
        const std::vector<int> values = ini.readIntegers(QString::number(n), keys, 0);
        FaceAnswer a{};
        std::copy(values.begin(), values.end(), a.begin());
        answers.push_back(a);
    }
    return answers;
}

QImage readFacePicture(const QString& appDir, int face, int kind) {
    return decodeJpegFile(facePicturePath(appDir, face, kind), kCataloguePictureMaxPixels);
}

void writeFaceImage(const QString& appDir, int face, int kind, const QImage& picture) {
    writeJpegFile(facePicturePath(appDir, face, kind), picture);
}

void recoverCatalogue(const QString& appDir) {
    const QString folder = catalogueFolder(appDir);
    if (!QFileInfo(folder).isDir()) return;
    const CatalogueLock lock(folder);
    recoverCatalogueChange(folder);
}
