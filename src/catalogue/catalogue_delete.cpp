// SPDX-License-Identifier: GPL-3.0-or-later
// Removing a face as one crash-safe change: its pictures are kept aside,
// every later face's pictures move out to hidden names and back in one index
// lower, and the settings are replaced last. A picture that is missing when
// the deletion starts is simply not moved: the face keeps that gap under its
// new number.
#include "catalogue/answer_section.h"
#include "catalogue/catalogue_change.h"
#include "catalogue/catalogue_files.h"
#include "catalogue/catalogue_names.h"

#include "files/app_error.h"
#include "files/file_ops.h"
#include "files/ini_file.h"

#include <stdexcept>

namespace {

// The smallest catalogue the program keeps.
constexpr int kMinFaceCount = 3;

}  // namespace

void deleteFaceFiles(const QString& appDir, int d, int count,
                     const std::vector<FaceAnswer>& answersAfter) {
    if (count <= kMinFaceCount) throw AppError(QStringLiteral("これ以上は削除できません。"));
    if (count > kMaxFaceCount || d < 0 || d >= count ||
        answersAfter.size() != static_cast<std::size_t>(count - 1))
        throw std::invalid_argument("deleteFaceFiles: face index or answers out of range");

    CatalogueChangePlan plan;
    plan.folder = catalogueFolder(appDir);
    // No other game process changes the catalogue meanwhile, and an earlier
    // change that a crash interrupted is resolved before this one is planned.
    const CatalogueLock lock(plan.folder);
    // The leftovers are swept and the names spelled from one look at the
    // folder (a listing only when it is not watched).
    std::optional<QStringList> entries = recoverCatalogueChange(plan.folder);
    if (!entries) throwFileOpenError(plan.folder);
    CatalogueNames names(plan.folder, std::move(*entries));
    plan.settingsPath = names.path(names.find(QStringLiteral("FaceData.ini")));
    // Face d is face d of the catalogue the caller read, or nothing goes.
    plan.countRead = count;
    // A listing costs about a third of a look at one entry per entry of the
    // folder: worth it once more than a quarter of the faces move.
    if (count - d > count / 4) names.listPictures(d, count);
    for (int i = d; i < count; ++i)
        for (int kind = 0; kind < 6; ++kind) {
            const CatalogueEntry entry = names.picture(i, kind);
            if (entry.error != 0 || entry.kind == EntryKind::Other) throwFileOpenError(names.path(entry));
            if (entry.kind == EntryKind::Missing) continue;
            if (i == d) {
                plan.out.push_back({entry.name, ChangeFiles::parked(i, kind)});
            } else {
                plan.out.push_back({entry.name, ChangeFiles::shifted(i - 1, kind)});
                plan.in.push_back({ChangeFiles::shifted(i - 1, kind), facePictureName(i - 1, kind)});
            }
        }
    plan.editSettings = [&](IniFile& ini) {
        ini.writeInteger(QStringLiteral("faces"), QStringLiteral("count"), count - 1);
        for (int n = d; n < count - 1; ++n) writeAnswerSection(ini, n, answersAfter[n]);
        ini.eraseSection(QString::number(count - 1));
    };
    runCatalogueChange(plan);
}
