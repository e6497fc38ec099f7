// SPDX-License-Identifier: GPL-3.0-or-later
#include "detection/face_model.h"

#include "detection/face_landmarks.h"
#include "detection/face_model_parts.h"
#include "files/file_reading.h"

#include <QFile>
#include <dlib/serialize.h>

#include <fstream>
#include <future>
#include <malloc.h>

bool faceModelInstalled(const QString& path) { return probePath(path) == PathKind::File; }

FaceModel::FaceModel(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

FaceModel::~FaceModel() {
    parts_.reset();
    // The model is some hundred thousand small blocks; without a trim glibc
    // keeps the 72 MB for the process instead of giving them back.
    malloc_trim(0);
}

std::shared_ptr<const FaceModel> FaceModel::load(const QString& path) {
    if (probePath(path) != PathKind::File) throwFileOpenError(path);
    // The detector is built from dlib's own data on a thread of its own
    // while the landmark model is read: on two cores the load takes the
    // longer of the two instead of their sum.
    std::future<dlib::frontal_face_detector> detector =
        std::async(std::launch::async, [] { return dlib::get_frontal_face_detector(); });
    auto parts = std::make_unique<Parts>();
    try {
        std::ifstream in(QFile::encodeName(path).toStdString(), std::ios::binary);
        if (!in) throwFileOpenError(path);
        dlib::deserialize(parts->landmarks, in);
    } catch (const AppError&) {
        throw;
    } catch (const std::exception&) {
        // dlib's serialization_error for a short or foreign file, bad_alloc
        // for one whose sizes are garbage: either way the file is no model.
        throwFileOpenError(path);
    }
    if (parts->landmarks.num_parts() != kLandmarkCount) throwFileOpenError(path);
    parts->detector = detector.get();
    return std::shared_ptr<const FaceModel>(new FaceModel(std::move(parts)));
}

std::shared_ptr<const FaceModel> FaceModelLoad::take() const {
    if (error) throw *error;
    return model;
}

FaceModelLoad loadFaceModel(const QString& path) {
    FaceModelLoad outcome;
    try {
        outcome.model = FaceModel::load(path);
    } catch (const AppError& e) {
        outcome.error = e;
    } catch (const std::exception&) {
        outcome.error = AppError(fileOpenErrorText(path));
    }
    return outcome;
}
