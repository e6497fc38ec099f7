// SPDX-License-Identifier: GPL-3.0-or-later
// Turning a drawn sample face into catalogue entries through the same steps
// the game's authoring takes: cut the parts from the unpainted face, paint
// the outlines over, shrink when needed, register.
#include "sample_faces.h"

#include "authoring/shrink.h"

#include <QDir>
#include <stdexcept>

QImage paintedSampleFace(const SampleFace& face) {
    QImage painted = face.face.copy();
    for (const OutlinePointList& outline : face.outlines) paintOutline(painted, outline, face.paint);
    return painted;
}

NewFacePictures authorSampleFace(const SampleFace& face) {
    std::array<QImage, 4> parts;
    std::array<QPoint, 4> corners;
    for (int i = 0; i < 4; ++i) {
        const OutlineBox box = outlineBox(face.outlines[i]);
        parts[i] = cutPartPicture(face.face, box);
        corners[i] = QPoint(box.minX, box.minY);
    }
    return buildNewFace(face.face, paintedSampleFace(face), parts, corners);
}

void writeSampleCatalogue(const QString& appDir) {
    QDir data(appDir + QStringLiteral("data"));
    if (!data.exists() && !QDir().mkpath(data.path()))
        throw std::runtime_error("cannot create the data folder");
    if (!data.isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        throw std::runtime_error("the data folder is not empty");
    for (int i = 0; i < sampleFaceCount(); ++i) registerFaceFiles(appDir, i, authorSampleFace(drawSampleFace(i)));
}
