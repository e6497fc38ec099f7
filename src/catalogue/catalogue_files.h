#pragma once
// The face catalogue on disk: data/FaceData.ini and six pictures a face,
// data/face<N>_<k>.jpg (k: 0 whole face, 1..4 parts, 5 face with parts painted
// over). Every operation goes to disk; nothing is cached. Changes are
// all-or-nothing: a failing register or delete removes what it had done and
// leaves the old catalogue intact, then throws the program's error.
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
// one atomic replace. On failure everything it wrote is removed and the
// program's error ("ファイル %s を作成できません" / "%s に書き込めません") thrown.
void registerFaceFiles(const QString& appDir, int newIndex, const NewFacePictures& face);

// Removes face d of a catalogue of count faces: later faces move down one
// index (pictures and sections), the last index's pictures and section go,
// "faces"/"count" becomes count - 1. answersAfter are the count - 1 answers
// after the removal. On failure the old catalogue is restored and the error
// thrown; a failed copy or delete is reported, never passed over.
void deleteFaceFiles(const QString& appDir, int d, int count,
                     const std::vector<FaceAnswer>& answersAfter);
