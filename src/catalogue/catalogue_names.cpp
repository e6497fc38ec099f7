// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_names.h"

#include "catalogue/catalogue_journal.h"
#include "files/app_error.h"
#include "files/file_reading.h"

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <cstring>

CatalogueNames::CatalogueNames(QString folder, QStringList others)
    : folder_(std::move(folder)), others_(std::move(others)) {}

CatalogueEntry CatalogueNames::find(const QString& name) const {
    CatalogueEntry entry{name};
    const bool picture = isFacePictureName(QFile::encodeName(name).constData());
    if (picture) {
        // A picture's own spelling is not among the others: one look tells
        // whether it is there.
        entry.error = entryKind(path(entry), &entry.kind);
        if (entry.error != 0 || entry.kind != EntryKind::Missing) return entry;
    } else if (others_.contains(name)) {
        entry.error = entryKind(path(entry), &entry.kind);
        return entry;
    }
    // Another spelling: rare, so a plain pass (a match has the same length;
    // case-insensitive comparison folds character by character).
    QString best;
    for (const QString& other : others_)
        if (other.size() == name.size() && other.compare(name, Qt::CaseInsensitive) == 0 && (best.isEmpty() || other < best))
            best = other;
    if (best.isEmpty() && picture) return entry;  // looked at above
    if (!best.isEmpty()) entry.name = best;
    entry.error = entryKind(path(entry), &entry.kind);
    return entry;
}

CatalogueEntry CatalogueNames::picture(int face, int kind) const {
    const std::size_t at = std::size_t(face - listedFirst_);
    const std::uint8_t bit = std::uint8_t(1u << kind);
    if (face < listedFirst_ || at >= listedFiles_.size() || (listedUnknown_[at] & bit)) return find(facePictureName(face, kind));
    if (listedFiles_[at] & bit) return {facePictureName(face, kind), EntryKind::File};
    if (listedOthers_[at] & bit) return {facePictureName(face, kind), EntryKind::Other};
    // Not there under the game's spelling: perhaps under another.
    return find(facePictureName(face, kind));
}

void CatalogueNames::listPictures(int first, int end) {
    listedFirst_ = first;
    const std::size_t faces = std::size_t(std::max(end - first, 0));
    listedFiles_.assign(faces, 0);
    listedOthers_.assign(faces, 0);
    listedUnknown_.assign(faces, 0);
    listFolder(folder_, [&](const char* name, ListedKind listed) {
        if (!isFacePictureName(name)) return;
        // "face<N>_<k>.jpg", N without a leading zero: at most five digits
        // within the largest catalogue.
        const char* digits = name + 4;
        const std::size_t length = std::strcspn(digits, "_");
        if (length > 5) return;
        const int face = std::atoi(digits), kind = digits[length + 1] - '0';
        const std::size_t at = std::size_t(face - first);
        if (face < first || at >= faces) return;
        const std::uint8_t bit = std::uint8_t(1u << kind);
        (listed == ListedKind::FileOrLink ? listedFiles_ : listed == ListedKind::Other ? listedOthers_ : listedUnknown_)[at] |= bit;
    });
}
