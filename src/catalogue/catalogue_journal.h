// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The intent journal of a catalogue change. It is written to the data folder,
// on disk, before the first catalogue file is renamed, and lists every rename
// of the change, so that the next start can take an interrupted change back
// or finish it. All names are file names inside the data folder; the change's
// own files there all begin with ".change-".
//
// The text, one item a line, each line ending in "\n":
//   pomurina-catalogue-change 2
//   phase <1 or 2>
//   settings <the settings file's name>
//   before <SHA-256 of the settings before the change, 64 hex digits>
//   after <SHA-256 of the settings the change writes>
//   out <catalogue picture> <hidden name>      (phase 1's renames, in order)
//   in <hidden name> <catalogue picture>       (phase 2's renames, in order)
//   end
//   checksum <SHA-256 of every byte above this line>
// Earlier versions wrote "pomurina-catalogue-change 1" journals: the same
// without the before, after and checksum lines.
#include <QByteArray>
#include <QString>
#include <vector>

struct CatalogueRename {
    QString from, to;
    bool operator==(const CatalogueRename&) const = default;
};

struct CatalogueJournal {
    // 2: written by this version; 1: by an earlier one (no digests, no checksum).
    int version = 2;
    // 1: catalogue pictures are being moved out to hidden names; 2: all of
    // them are out, and hidden pictures are being moved in to their new names.
    int phase = 1;
    QString settings;                   // the settings file, as spelled in the folder
    QByteArray settingsBefore;          // SHA-256 of the settings' bytes before the change (version 2)
    QByteArray settingsAfter;           // and of the settings the change puts in their place
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
// Whether fileName is a new picture of a registration (added(face, kind)).
bool isAddedPicture(const QString& fileName);
}  // namespace ChangeFiles

// "face<face>_<kind>.jpg".
QString facePictureName(int face, int kind);
// Whether name is spelled exactly as facePictureName spells a picture.
bool isFacePictureName(const char* name);

// The largest journal a change of the largest catalogue writes (deleting its
// first face: two lines of at most 48 bytes for each of its pictures), with
// room for the other lines. A larger file is not one of the game's journals.
qint64 maxJournalBytes();

// The digest the journal keeps of a settings file's bytes.
QByteArray settingsDigest(const QByteArray& settingsBytes);

// The journal in the format of its version.
QByteArray journalText(const CatalogueJournal& journal);
// False for anything but a complete journal of either version that a change
// of the game could have written: every line in its place, the checksum
// right, every rename one the game makes (a catalogue picture out to its own
// parked name or to the shifted name one face lower; a shifted or added
// picture in to its own catalogue name), no name twice, every shifted
// picture moved both out and in, and the renames of one register or one
// delete. A damaged or hostile journal never makes the program rename
// anything else.
bool parseJournal(const QByteArray& text, CatalogueJournal* journal);
