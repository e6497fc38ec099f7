// Adding a face: six pictures, then the settings in one atomic replace. The
// settings are written last, so until they are saved the new face does not
// count; any failure removes the new pictures again.
#include "catalogue/answer_section.h"
#include "catalogue/catalogue_change.h"
#include "catalogue/catalogue_files.h"

#include "platform/ini_file.h"
#include "platform/jpeg_codec.h"

#include <QFileInfo>
#include <stdexcept>

void registerFaceFiles(const QString& appDir, int newIndex, const NewFacePictures& face) {
    if (newIndex < 0 || newIndex >= kMaxFaceCount)
        throw std::invalid_argument("registerFaceFiles: face index out of range");

    // Encode first: nothing touches the disk until every picture is ready.
    static constexpr int kWriteOrder[] = {1, 2, 3, 4, 5, 0};
    std::array<QByteArray, 6> encoded;
    for (int kind : kWriteOrder) encoded[kind] = encodeJpeg(face.pictures[kind]);

    CatalogueChange change;
    for (int kind : kWriteOrder) {
        const QString path = facePicturePath(appDir, newIndex, kind);
        // A stray picture left at this index is kept aside until the new face stands.
        if (QFileInfo(path).isFile()) change.park(path);
        change.create(path, encoded[kind]);
    }

    IniFile ini(faceDataPath(appDir));
    ini.writeInteger(QStringLiteral("Faces"), QStringLiteral("Count"), newIndex + 1);
    writeAnswerSection(ini, newIndex, face.answer);
    ini.save();
    change.commit();
}
