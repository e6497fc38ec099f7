// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dlib side of FaceModel, for the detection sources only: no header that
// the rest of the game includes brings in dlib.
#include "detection/face_model.h"

#include <dlib/image_processing/frontal_face_detector.h>
#include <dlib/image_processing/shape_predictor.h>

#include <mutex>

struct FaceModel::Parts {
    // dlib's detector keeps scratch space in itself, so a search is not a
    // const operation: the lock makes searches from two threads take turns.
    std::mutex searching;
    dlib::frontal_face_detector detector;
    dlib::shape_predictor landmarks;
};
