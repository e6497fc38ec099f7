// Removing a face by renaming: face d's pictures are parked, every later face
// moves down one index, then the settings are saved in one atomic replace.
// Only after that are the parked pictures deleted; any failure before it moves
// every picture back and leaves the settings as they were.
#include "catalogue/answer_section.h"
#include "catalogue/catalogue_change.h"
#include "catalogue/catalogue_files.h"

#include "platform/app_error.h"
#include "platform/ini_file.h"

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

    // Names as they are now, before anything moves.
    std::vector<std::array<QString, 6>> paths(count);
    for (int i = d; i < count; ++i)
        for (int kind = 0; kind < 6; ++kind) paths[i][kind] = facePicturePath(appDir, i, kind);

    CatalogueChange change;
    for (int kind = 0; kind < 6; ++kind) change.park(paths[d][kind]);
    for (int i = d; i + 1 < count; ++i)
        for (int kind = 0; kind < 6; ++kind) change.move(paths[i + 1][kind], paths[i][kind]);

    IniFile ini(faceDataPath(appDir));
    ini.writeInteger(QStringLiteral("faces"), QStringLiteral("count"), count - 1);
    for (int n = d; n < count - 1; ++n) writeAnswerSection(ini, n, answersAfter[n]);
    ini.eraseSection(QString::number(count - 1));
    ini.save();
    change.commit();
}
