// SPDX-License-Identifier: GPL-3.0-or-later
// Adding a face as one crash-safe change: the six new pictures are written
// under hidden names, a stray picture at the new index is kept aside, the
// pictures take their names and the settings are replaced last, which is
// the moment the new face counts.
#include "catalogue/answer_section.h"
#include "catalogue/catalogue_change.h"
#include "catalogue/catalogue_files.h"
#include "catalogue/catalogue_names.h"

#include "files/app_error.h"
#include "files/file_ops.h"
#include "files/ini_append.h"
#include "files/ini_file.h"
#include "pictures/jpeg_codec.h"
#include "pictures/parallel_work.h"

#include <exception>
#include <stdexcept>

void registerFaceFiles(const QString& appDir, int newIndex, const NewFacePictures& face) {
    if (newIndex < 0 || newIndex >= kMaxFaceCount)
        throw std::invalid_argument("registerFaceFiles: face index out of range");

    // Encode first, on all cores: nothing touches the disk until every
    // picture is ready.
    static constexpr int kWriteOrder[] = {1, 2, 3, 4, 5, 0};
    std::array<QByteArray, 6> encoded;
    std::array<std::exception_ptr, 6> failed;
    runOnAllCores(6, [&](int kind) {
        try {
            encoded[kind] = encodeJpeg(face.pictures[kind]);
        } catch (...) {
            failed[kind] = std::current_exception();
        }
    });
    for (int kind : kWriteOrder)
        if (failed[kind]) std::rethrow_exception(failed[kind]);

    CatalogueChangePlan plan;
    plan.folder = catalogueFolder(appDir);
    // No other game process changes the catalogue meanwhile, and an earlier
    // change that a crash interrupted is resolved before this one is planned.
    const CatalogueLock lock(plan.folder);
    // The leftovers are swept and the names spelled from one look at the
    // folder (a listing only when it is not watched).
    std::optional<QStringList> entries = recoverCatalogueChange(plan.folder);
    if (!entries) throwFileOpenError(plan.folder);
    const CatalogueNames names(plan.folder, std::move(*entries));
    plan.settingsPath = names.path(names.find(QStringLiteral("FaceData.ini")));
    // The new face takes the index after the faces the caller read; a
    // catalogue changed meanwhile is not built upon.
    plan.countRead = newIndex;
    for (int kind : kWriteOrder) {
        const CatalogueEntry entry = names.find(facePictureName(newIndex, kind));
        if (entry.error != 0 || entry.kind == EntryKind::Other) throwFileCreateError(names.path(entry));
        if (entry.kind == EntryKind::File) plan.out.push_back({entry.name, ChangeFiles::parked(newIndex, kind)});
        const QString hidden = ChangeFiles::added(newIndex, kind);
        plan.newFiles.emplace_back(hidden, encoded[kind]);
        plan.in.push_back({hidden, facePictureName(newIndex, kind)});
    }
    plan.editSettings = [&](IniFile& ini) {
        ini.writeInteger(QStringLiteral("Faces"), QStringLiteral("Count"), newIndex + 1);
        writeAnswerSection(ini, newIndex, face.answer);
    };
    // The same on the bytes: the count in its place, the new section at the end.
    plan.appendSettings = [&](IniAppend& ini) {
        return ini.replaceString(QStringLiteral("Faces"), QStringLiteral("Count"), QString::number(newIndex + 1)) &&
               ini.appendSection(QString::number(newIndex), answerSectionEntries(face.answer));
    };
    runCatalogueChange(plan);
}
