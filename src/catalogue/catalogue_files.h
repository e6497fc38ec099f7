// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The face catalogue on disk: data/FaceData.ini and six pictures a face,
// data/face<N>_<k>.jpg (k: 0 whole face, 1..4 parts, 5 face with parts painted
// over). Every operation goes to disk; nothing is cached. Changes are
// all-or-nothing, also across a crash: a failing register or delete leaves
// the old catalogue intact and throws the program's error, and one that a
// crash interrupted is finished or taken back by recoverCatalogue.
#include "catalogue/face_answers.h"

#include <QImage>
#include <QString>
#include <array>
#include <vector>

// Largest catalogue the program accepts; a count beyond it (or below zero)
// in FaceData.ini is reported rather than used.
constexpr int kMaxFaceCount = 10'000;

// appDir + "data/face<face>_<kind>.jpg", resolved without regard to case.
QString facePicturePath(const QString& appDir, int face, int kind);
// appDir + "data/FaceData.ini", resolved without regard to case.
QString faceDataPath(const QString& appDir);
// appDir + "data", resolved without regard to case, without a trailing "/".
QString catalogueFolder(const QString& appDir);

// Finishes or takes back a change of the catalogue that a crash interrupted,
// and removes its leftovers; to be run before the catalogue is first read.
// Throws the program's error when that is not possible (the change then
// stays pending, and no other change starts until it is resolved).
void recoverCatalogue(const QString& appDir);

// "count" of section "faces", default 3 (raw value, not range-checked).
int readFaceCount(const QString& appDir);
// X1, Y1, ..., X4, Y4 of sections 0 .. count - 1, default 0.
std::vector<FaceAnswer> readFaceAnswers(const QString& appDir, int count);

// Decodes picture kind of face (throws the program's open/JPEG errors).
QImage readFacePicture(const QString& appDir, int face, int kind);
// Encodes picture as JPEG q90 and replaces picture kind of face atomically.
void writeFaceImage(const QString& appDir, int face, int kind, const QImage& picture);

struct NewFacePictures {
    std::array<QImage, 6> pictures;  // by kind 0..5
    FaceAnswer answer{};
};

// Adds face newIndex (== the old count): pictures 1, 2, 3, 4, 5, 0, then the
// ini ("Faces"/"Count" = newIndex + 1 and section newIndex X1..X4, Y1..Y4) in
// one atomic replace. A stray picture at the new index is replaced. On
// failure everything is as before and the program's error
// ("ファイル %s を作成できません" / "%s に書き込めません") is thrown.
void registerFaceFiles(const QString& appDir, int newIndex, const NewFacePictures& face);

// Removes face d of a catalogue of count faces: later faces move down one
// index (pictures and sections), the last index's pictures and section go,
// "faces"/"count" becomes count - 1. answersAfter are the count - 1 answers
// after the removal. A picture missing before the deletion stays missing
// (under the face's new number); a failed rename or settings write leaves
// the old catalogue and throws the error.
void deleteFaceFiles(const QString& appDir, int d, int count,
                     const std::vector<FaceAnswer>& answersAfter);

// The count the program starts with: FaceData.ini's, unless it is one no
// catalogue can have (below zero or above kMaxFaceCount); then the number of
// faces whose whole-face pictures are there, and error names the first one
// that is not. Throws when the settings cannot be read.
struct StartingCount {
    int count = 0;
    QString error;  // empty when the settings' count is used
};
StartingCount startingFaceCount(const QString& appDir);
// The count as startingFaceCount gives it and the answers of those faces as
// readFaceAnswers gives them, from one read of the settings (start-up).
struct StartingFaceData {
    StartingCount start;
    std::vector<FaceAnswer> answers;
};
StartingFaceData readStartingFaceData(const QString& appDir);
