// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the count, the answers and the pictures; writing one picture;
// finishing an interrupted change before the catalogue is first read.
#include "catalogue/catalogue_files.h"

#include "catalogue/catalogue_change.h"

#include "files/app_error.h"
#include "files/ini_file.h"
#include "files/ini_integers.h"
#include "pictures/jpeg_codec.h"

#include <QFileInfo>
#include <algorithm>
#include <optional>

namespace {

// In the order of FaceAnswer: X1..X4, then Y1..Y4.
const QStringList& answerKeys() {
    static const QStringList keys = {QStringLiteral("X1"), QStringLiteral("X2"), QStringLiteral("X3"),
                                     QStringLiteral("X4"), QStringLiteral("Y1"), QStringLiteral("Y2"),
                                     QStringLiteral("Y3"), QStringLiteral("Y4")};
    return keys;
}

// FaceData.ini read once: the count and the answers of faces 0 .. faces - 1,
// in one pass over the bytes when they are plain ASCII (as the game writes
// them), else through IniFile.
class FaceData {
public:
    FaceData(const QString& appDir, int faces) : faces_(faces) {
        const QString path = faceDataPath(appDir);
        const QByteArray bytes = readIniFileBytes(path);
        ascii_ = readIniIntegersAscii(bytes, {QStringLiteral("faces"), {QStringLiteral("count")}, faces, answerKeys()});
        if (!ascii_) other_.emplace(path, bytes);
    }

    int count() const {
        return ascii_ ? ascii_->named[0].value_or(3)
                      : other_->readInteger(QStringLiteral("faces"), QStringLiteral("count"), 3);
    }

    std::vector<FaceAnswer> answers(int count) const {
        count = std::clamp(count, 0, faces_);
        std::vector<FaceAnswer> answers(std::size_t(count), FaceAnswer{});
        for (int n = 0; n < count; ++n) {
            FaceAnswer& a = answers[std::size_t(n)];
            if (ascii_) {
                for (std::size_t k = 0; k < a.size(); ++k) a[k] = ascii_->numbered[std::size_t(n) * a.size() + k].value_or(0);
            } else {
                const std::vector<int> values = other_->readIntegers(QString::number(n), answerKeys(), 0);
                std::copy(values.begin(), values.end(), a.begin());
            }
        }
        return answers;
    }

private:
    int faces_;
    std::optional<IniIntegers> ascii_;
    std::optional<IniFile> other_;
};

StartingCount startingCountOf(const QString& appDir, int count) {
    if (count >= 0 && count <= kMaxFaceCount) return StartingCount{count, {}};
    int present = 0;
    while (present < kMaxFaceCount && QFileInfo::exists(facePicturePath(appDir, present, 0))) ++present;
    return StartingCount{present, fileOpenErrorText(facePicturePath(appDir, present, 0))};
}

}  // namespace

int readFaceCount(const QString& appDir) { return FaceData(appDir, 0).count(); }

StartingCount startingFaceCount(const QString& appDir) { return startingCountOf(appDir, readFaceCount(appDir)); }

std::vector<FaceAnswer> readFaceAnswers(const QString& appDir, int count) { return FaceData(appDir, count).answers(count); }

StartingFaceData readStartingFaceData(const QString& appDir) {
    const FaceData data(appDir, kMaxFaceCount);
    StartingFaceData read{startingCountOf(appDir, data.count()), {}};
    read.answers = data.answers(read.start.count);
    return read;
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
