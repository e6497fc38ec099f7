// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The face detector and the 68-point landmark model, loaded together. Loading
// reads a 95 MB file and takes about a second and 72 MB (the detector is
// built on a second thread meanwhile), so it belongs on a worker thread,
// started when 「顔の追加」 is chosen:
//
//     QFuture<FaceModelLoad> f = QtConcurrent::run(loadFaceModel, kFaceModelPath);
//     ... when f has finished, on the window's thread:
//     std::shared_ptr<const FaceModel> model = f.result().take();  // AppError on failure
//
// and it is let go (the last shared_ptr reset) a while after authoring ends.
#include "files/app_error.h"

#include <QString>
#include <memory>
#include <optional>

// Where Debian's libdlib-data puts the model, and the package to name when it
// is not there.
inline const QString kFaceModelPath =
    QStringLiteral("/usr/share/dlib/shape_predictor_68_face_landmarks.dat");
inline const QString kFaceModelPackage = QStringLiteral("libdlib-data");

// True when a file is at path (whether it is a good model shows on loading).
bool faceModelInstalled(const QString& path = kFaceModelPath);

// The loaded detector and landmark model. Nothing of it changes after
// loading; a search locks it, so it may be used from any thread, and searches
// from two threads at once take turns.
class FaceModel {
public:
    ~FaceModel();
    FaceModel(const FaceModel&) = delete;
    FaceModel& operator=(const FaceModel&) = delete;

    // Reads the model at path. A missing, unreadable, truncated or foreign
    // file (one that is no 68-point landmark model) raises AppError with
    // "ファイル %s は開けません"; nothing else escapes.
    static std::shared_ptr<const FaceModel> load(const QString& path);

    struct Parts;  // the dlib objects, seen only by the detection sources
    Parts& parts() const { return *parts_; }

private:
    explicit FaceModel(std::unique_ptr<Parts> parts);
    std::unique_ptr<Parts> parts_;
};

// The outcome of loading on a worker thread: the model, or the error to show.
// Never throws, so that a QFuture carries it as a value.
struct FaceModelLoad {
    std::shared_ptr<const FaceModel> model;
    std::optional<AppError> error;

    // On the receiving thread: the model, or the error raised there.
    std::shared_ptr<const FaceModel> take() const;
};

FaceModelLoad loadFaceModel(const QString& path);
