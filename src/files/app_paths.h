// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paths under the application folder. Relative paths are written with "\" or
// "/" between components and matched without regard to letter case against the
// entries that exist, so "data\facedata.ini" finds data/FaceData.ini.
#include <QString>
#include <QStringList>

// The folder of the executable with exactly one trailing "/".
QString appDirOf(const QString& executablePath);

// appDir + relative, each component resolved case-insensitively, always to
// one entry whatever spelling the caller uses:
// - the program's own names ("data", "FaceData.ini", "Library", "BGM.ini")
//   stand for their canonical spelling in any letter case, so "Data\BGM.ini"
//   and "data\facedata.ini" reach the same folder and file as every other
//   operation that names them;
// - an entry of exactly that spelling wins; otherwise the case-insensitive
//   match that comes first in code-point order (never the listing's order);
// - a component that does not exist keeps the (canonical) spelling, so new
//   files are created as data/FaceData.ini.
// Throws "ファイル %s は開けません" when an existence test or a folder listing
// fails for any reason other than "no such file": a folder that cannot be
// read is never taken for an empty one.
QString resolveAppPath(const QString& appDir, const QString& relative);

// The folder of the game's settings files (Data\, which is the catalogue's
// data folder), where Qt's file dialogs keep what they remember; the game
// folder itself when that folder cannot be looked at. Never throws.
QString dialogMemoryFolder(const QString& appDir);

// appDir + "Data\Play.ini", resolved without regard to case: the game menu's
// choices, and the party's and the card's, each in a section of its own.
QString playSettingsPath(const QString& appDir);
