// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Catalogues for the catalogue tests: faces with distinct pictures and
// answers, and a byte-exact snapshot of the data folder.
#include "catalogue/catalogue_files.h"
#include "support/temp_app_dir.h"

#include <QByteArray>
#include <QString>
#include <map>

// Answers that differ from face to face and slot to slot.
FaceAnswer testAnswer(int face);
// Six small pictures, each in a colour of its own face and kind.
NewFacePictures testFace(int face);
// data/ with count faces, each added through registerFaceFiles.
void writeTestCatalogue(const TempAppDir& app, int count);

// Every entry of data/ by name: file contents, or "<dir>" for a folder.
std::map<QString, QByteArray> snapshotDataFolder(const TempAppDir& app);
// The bytes of picture kind of face.
QByteArray pictureBytes(const TempAppDir& app, int face, int kind);
// The settings file as text.
QString settingsText(const TempAppDir& app);
