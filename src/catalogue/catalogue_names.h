// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue's own names as a change finds them in the data folder,
// without regard to letter case as resolveAppPath matches them: an entry of
// exactly the game's spelling wins, otherwise the match that comes first in
// code-point order, otherwise the game's spelling. Needs only the folder's
// entries other than pictures spelled as facePictureName spells them (what
// the leftover sweep gives): a match of another spelling is always among
// them, and a picture's own spelling is looked at directly.
#include "files/file_ops.h"

#include <QString>
#include <QStringBuilder>
#include <QStringList>
#include <cstdint>
#include <vector>

struct CatalogueEntry {
    QString name;  // as spelled in the folder; the game's spelling when there is none
    EntryKind kind = EntryKind::Missing;
    int error = 0;  // an errno when the entry could not be looked at (kind then says nothing)
};

class CatalogueNames {
public:
    // others: the entries of folder other than pictures spelled as the game spells them.
    CatalogueNames(QString folder, QStringList others);
    // name: "FaceData.ini" or a name of facePictureName.
    CatalogueEntry find(const QString& name) const;
    CatalogueEntry picture(int face, int kind) const;
    QString path(const CatalogueEntry& entry) const { return folder_ % QLatin1Char('/') % entry.name; }

    // Learns which pictures of faces first .. end - 1 are there, spelled as
    // the game spells them, from one listing of the folder instead of one look
    // at each (a deletion moves nearly all of them). Throws "ファイル %s は開けません"
    // naming the folder when it cannot be listed.
    void listPictures(int first, int end);

private:
    QString folder_;
    QStringList others_;
    // From listPictures: per face from listedFirst_, a bit per kind.
    int listedFirst_ = 0;
    std::vector<std::uint8_t> listedFiles_, listedOthers_, listedUnknown_;
};
