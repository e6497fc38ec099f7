// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_names.h"

#include "catalogue/catalogue_journal.h"

#include <QFile>

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
