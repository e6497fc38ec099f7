#pragma once
// The intent journal of a catalogue change. It is written to the data folder,
// on disk, before the first catalogue file is renamed, and lists every rename
// of the change, so that the next start can take an interrupted change back
// or finish it. All names are file names inside the data folder; the change's
// own files there all begin with ".change-".
#include <QByteArray>
#include <QString>
#include <vector>

struct CatalogueRename {
    QString from, to;
    bool operator==(const CatalogueRename&) const = default;
};

struct CatalogueJournal {
    // 1: catalogue pictures are being moved out to hidden names; 2: all of
    // them are out, and hidden pictures are being moved in to their new names.
    int phase = 1;
    QString settings;                   // the settings file, as spelled in the folder
    std::vector<CatalogueRename> out;   // catalogue picture -> hidden name
    std::vector<CatalogueRename> in;    // hidden name -> catalogue picture
    bool operator==(const CatalogueJournal&) const = default;
};

namespace ChangeFiles {
inline const QString journal = QStringLiteral(".change-journal");
// The settings as the change leaves them, and as they were before it.
inline const QString newSettings = QStringLiteral(".change-new-settings");
inline const QString oldSettings = QStringLiteral(".change-old-settings");
// A picture kept aside until the change stands (then removed).
QString parked(int face, int kind);
// A picture on its way to a lower face index.
QString shifted(int face, int kind);
// A new face's picture, written before it takes its name.
QString added(int face, int kind);
bool isChangeFile(const QString& fileName);
}  // namespace ChangeFiles

// "face<face>_<kind>.jpg".
QString facePictureName(int face, int kind);

QByteArray journalText(const CatalogueJournal& journal);
// False for anything but a complete journal whose names are all catalogue
// pictures, the settings file or the change's own files: a damaged or
// hostile journal never makes the program rename anything else.
bool parseJournal(const QByteArray& text, CatalogueJournal* journal);
