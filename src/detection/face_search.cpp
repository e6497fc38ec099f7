// SPDX-License-Identifier: GPL-3.0-or-later
#include "detection/face_search.h"

#include "detection/dlib_gray_picture.h"
#include "detection/face_model_parts.h"

#include <algorithm>
#include <cmath>

namespace {

// The landmark model reads single pixels around its mean face, so a face of
// many hundred pixels is fitted on a copy where it is about this wide: the
// copy's averaging removes the noise, and the copy is quick to make.
constexpr double kFitFaceSide = 250;
// More candidates than a family photo holds are not offered.
constexpr size_t kMaxFaces = 8;

QImage scaledCopy(const QImage& photo, double scale) {
    const int width = std::max(1, int(std::lround(photo.width() * scale)));
    const int height = std::max(1, int(std::lround(photo.height() * scale)));
    if (width == photo.width() && height == photo.height()) return photo;
    return photo.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The detections of one copy, their boxes in photo pixels (copy pixels
// divided by the copy's scale).
std::vector<FoundFace> detect(FaceModel::Parts& parts, const QImage& copy, double scaleX,
                              double scaleY) {
    std::vector<dlib::rect_detection> found;
    parts.detector(dlibGrayPicture(copy), found);
    std::vector<FoundFace> faces;
    for (const dlib::rect_detection& d : found) {
        FoundFace face;
        face.score = d.detection_confidence;
        face.box = QRectF(d.rect.left() / scaleX, d.rect.top() / scaleY, d.rect.width() / scaleX,
                          d.rect.height() / scaleY)
                       .toAlignedRect();
        faces.push_back(face);
    }
    return faces;
}

// The 68 points of the face in box, fitted on a crop of the photo around it.
// A landmark is a continuous position: pixel (i, j) covers [i, i+1) x [j, j+1).
FaceLandmarks fitLandmarks(FaceModel::Parts& parts, const QImage& photo, const QRect& box) {
    const QRect region =
        box.adjusted(-box.width() / 2, -box.height() / 2, box.width() / 2, box.height() / 2) &
        photo.rect();
    FaceLandmarks points{};
    if (region.isEmpty()) return points;
    const QImage crop = scaledCopy(photo.copy(region), std::min(1.0, kFitFaceSide / box.width()));
    const double fx = crop.width() / double(region.width());
    const double fy = crop.height() / double(region.height());
    const dlib::rectangle faceInCrop(
        std::lround((box.left() - region.left()) * fx), std::lround((box.top() - region.top()) * fy),
        std::lround((box.right() + 1 - region.left()) * fx) - 1,
        std::lround((box.bottom() + 1 - region.top()) * fy) - 1);
    const dlib::full_object_detection shape = parts.landmarks(dlibGrayPicture(crop), faceInCrop);
    for (int i = 0; i < kLandmarkCount; ++i) {
        const dlib::point p = shape.part(unsigned(i));
        points[size_t(i)] =
            QPointF(region.left() + (p.x() + 0.5) / fx, region.top() + (p.y() + 0.5) / fy);
    }
    return points;
}

}  // namespace

FaceSearch findFaces(const FaceModel& model, const QImage& photo) {
    FaceSearch search;
    if (photo.isNull()) return search;
    FaceModel::Parts& parts = model.parts();
    const std::lock_guard lock(parts.searching);

    const int longSide = std::max(photo.width(), photo.height());
    const double firstScale = std::min(1.0, double(kSearchLongSide) / longSide);
    for (double scale : {firstScale, 2 * firstScale}) {
        const QImage copy = scaledCopy(photo, scale);
        search.searchedLongSide = std::max(copy.width(), copy.height());
        search.faces = detect(parts, copy, copy.width() / double(photo.width()),
                              copy.height() / double(photo.height()));
        if (!search.faces.empty()) break;
    }

    std::stable_sort(search.faces.begin(), search.faces.end(),
                     [](const FoundFace& a, const FoundFace& b) { return a.score > b.score; });
    const auto unlikely = std::find_if(search.faces.begin() + std::min<size_t>(1, search.faces.size()),
                                       search.faces.end(),
                                       [](const FoundFace& face) { return face.score < kLeastOtherFaceScore; });
    search.faces.erase(unlikely, search.faces.end());
    if (search.faces.size() > kMaxFaces) search.faces.resize(kMaxFaces);
    for (FoundFace& face : search.faces) face.landmarks = fitLandmarks(parts, photo, face.box);
    return search;
}
