// SPDX-License-Identifier: GPL-3.0-or-later
// The face search with the real landmark model (Debian's libdlib-data): two
// public-domain portraits, a two-face composite, a small face in a large
// photo, a drawing without a face; and files that are not the model.
#include "authoring/shrink.h"
#include "detection/face_model.h"
#include "detection/face_proposal.h"
#include "outline_rules.h"
#include "pictures/face_box_fit.h"
#include "pictures/face_box_redraw.h"
#include "pictures/jpeg_codec.h"
#include "support/app_error_of.h"
#include "support/temp_app_dir.h"
#include "test_photos.h"

#include <QFile>
#include <QPainter>
#include <QTransform>
#include <QtConcurrent/QtConcurrentRun>
#include <dlib/image_processing/shape_predictor.h>
#include <dlib/serialize.h>
#include <gtest/gtest.h>

namespace {

// Registering the proposal as the game does: parts cut from the unpainted
// face box, through the 85-pixel shrink. They fit as they are.
void expectRegisteredUnshrunk(const FaceProposal& proposal) {
    QImage face = blankFaceBox();
    redrawFaceBox(face, proposal.zoom->picture, proposal.zoom->drawSize);
    std::array<QImage, 4> parts;
    std::array<QPoint, 4> corners;
    for (int s = 1; s <= 4; ++s) {
        const OutlineBox& box = proposal.outlines.boxes[size_t(s)];
        parts[size_t(s - 1)] = cutPartPicture(face, box);
        corners[size_t(s - 1)] = QPoint(box.minX, box.minY);
    }
    const NewFacePictures registered = buildNewFace(face, face, parts, corners);
    for (int s = 1; s <= 4; ++s) {
        const QImage& part = registered.pictures[size_t(s)];
        EXPECT_EQ(part.size(), parts[size_t(s - 1)].size()) << "part " << s << " was shrunk";
        EXPECT_LE(std::max(part.width(), part.height()), kMaxPartSide) << "part " << s;
        EXPECT_GE(part.width(), 25) << "part " << s;
    }
}

// The per-channel median of the face box inside the jaw line and the brows.
QRgb medianOfFace(const QImage& faceBox, const FaceLandmarks& landmarks) {
    QPolygonF face;
    for (int i = 0; i <= 16; ++i) face << landmarks[size_t(i)];
    for (int i = 26; i >= 17; --i) face << landmarks[size_t(i)];
    std::array<std::vector<int>, 3> channels;
    for (int y = 0; y < faceBox.height(); ++y)
        for (int x = 0; x < faceBox.width(); ++x)
            if (face.containsPoint(QPointF(x, y), Qt::OddEvenFill))
                for (int c = 0; c < 3; ++c) channels[size_t(c)].push_back(faceBox.pixel(x, y) >> (16 - 8 * c) & 255);
    for (auto& c : channels) std::nth_element(c.begin(), c.begin() + c.size() / 2, c.end());
    return qRgb(channels[0][channels[0].size() / 2], channels[1][channels[1].size() / 2],
                channels[2][channels[2].size() / 2]);
}

}  // namespace

TEST(FaceSearch, FindsTheFaceInRealPhotosAndProposesItsParts) {
    QFuture<FaceModelLoad> loading = QtConcurrent::run(loadFaceModel, kFaceModelPath);
    const std::shared_ptr<const FaceModel> model = loading.result().take();
    ASSERT_TRUE(model);

    for (const char* name : {"astronaut.png", "grace_hopper.jpg"}) {
        SCOPED_TRACE(name);
        const QImage portrait = testPhoto(name);
        const FaceSearch search = findFaces(*model, portrait);
        ASSERT_EQ(search.faces.size(), 1u);
        const FoundFace& face = search.faces.front();
        EXPECT_FALSE(face.needsChecking());
        const QPointF rightEye = landmarkCentre(face.landmarks, Landmarks::kRightEye);
        EXPECT_TRUE(face.box.contains(rightEye.toPoint()));
        EXPECT_LT(rightEye.x(), landmarkCentre(face.landmarks, Landmarks::kLeftEye).x());

        const FaceProposal proposal =
            proposeFace(portrait, fitIntoFaceBox(portrait.width(), portrait.height()), face, false);
        ASSERT_TRUE(proposal.zoom.has_value());
        expectOutlineRules(proposal.outlines, proposal.faceBoxLandmarks, proposal.zoom->drawSize);
        expectRegisteredUnshrunk(proposal);
        // The paint is the face's skin: near the median within its jaw and brows.
        QImage shown = blankFaceBox();
        redrawFaceBox(shown, proposal.zoom->picture, proposal.zoom->drawSize);
        const QRgb skin = medianOfFace(shown, proposal.faceBoxLandmarks);
        EXPECT_NEAR(qRed(proposal.fillColour), qRed(skin), 25);
        EXPECT_NEAR(qGreen(proposal.fillColour), qGreen(skin), 25);
        EXPECT_NEAR(qBlue(proposal.fillColour), qBlue(skin), 25);
    }

    // Two faces: the turned portrait on the right has the larger box but
    // the lower score; the upright astronaut is the one proposed.
    QImage pair(1000, 700, QImage::Format_RGB32);
    pair.fill(qRgb(128, 128, 128));
    {
        QPainter painter(&pair);
        painter.drawImage(QPoint(0, 94), testPhoto("astronaut.png"));
        const QImage turned = testPhoto("grace_hopper.jpg").transformed(QTransform().rotate(10), Qt::SmoothTransformation);
        painter.drawImage(QRect(QPoint(500, 0), turned.size().scaled(500, 700, Qt::KeepAspectRatio)), turned);
    }
    const FaceSearch two = findFaces(*model, pair);
    ASSERT_GE(two.faces.size(), 2u);
    EXPECT_LT(two.faces[0].box.center().x(), 500);
    EXPECT_GT(two.faces[1].box.center().x(), 500);
    EXPECT_LT(two.faces[0].box.width(), two.faces[1].box.width());
    for (size_t i = 1; i < two.faces.size(); ++i) EXPECT_GT(two.faces[0].score, two.faces[i].score);

    // A face too small for the 1000-pixel copy is found at twice that size.
    QImage large(3000, 2000, QImage::Format_RGB32);
    large.fill(qRgb(90, 110, 130));
    QPainter(&large).drawImage(QPoint(1500, 600), testPhoto("astronaut.png"));
    const FaceSearch small = findFaces(*model, large);
    EXPECT_EQ(small.searchedLongSide, 2000);
    ASSERT_EQ(small.faces.size(), 1u);
    EXPECT_NEAR(small.faces[0].box.center().x(), 1500 + 223, 10);
    EXPECT_NEAR(small.faces[0].box.center().y(), 600 + 127, 10);

    // A drawn coffee cup on its saucer: searched twice, no face.
    const QImage cup = coffeeCupPicture();
    const FaceSearch none = findFaces(*model, cup);
    EXPECT_TRUE(none.faces.empty());
    EXPECT_EQ(none.searchedLongSide, 1280);
}

// Beside the surest face, only candidates that score like faces: the
// astronaut's mission patch (0.02 in her portrait saved as a JPEG, 0.2 and
// 0.15 for parts of her suit when the portrait is turned) is no face to
// offer. (The second real face of a pair is: the window's test.)
TEST(FaceSearch, OffersBesideTheSurestFaceOnlyCandidatesThatScoreLikeFaces) {
    const std::shared_ptr<const FaceModel> model = FaceModel::load(kFaceModelPath);
    const QImage astronaut = testPhoto("astronaut.png");
    const QImage saved = QImage::fromData(encodeJpeg(astronaut), "JPEG").convertToFormat(QImage::Format_RGB32);
    const QImage turned = astronaut.transformed(QTransform().rotate(10), Qt::SmoothTransformation);
    for (const QImage& photo : {saved, turned}) {
        const FaceSearch search = findFaces(*model, photo);
        ASSERT_EQ(search.faces.size(), 1u);
        EXPECT_GT(search.faces[0].score, 0.8);
    }
}

TEST(FaceSearch, AModelFileThatIsNotTheModelGivesTheMessage) {
    const TempAppDir dir;
    const QString truncated = dir.file("truncated.dat"), cut = dir.file("cut.dat");
    ASSERT_TRUE(QFile::copy(kFaceModelPath, truncated));
    QFile(truncated).resize(QFile(truncated).size() * 95 / 100);
    ASSERT_TRUE(QFile::copy(kFaceModelPath, cut));
    QFile(cut).resize(64 * 1024);
    // A well-formed landmark model, but not of 68 points.
    const QString empty = dir.file("empty.dat");
    dlib::serialize(QFile::encodeName(empty).toStdString()) << dlib::shape_predictor();
    const QString foreign = QStringLiteral(POMURINA_TEST_PHOTOS "/grace_hopper.jpg");

    for (const QString& path : {dir.file("absent.dat"), truncated, cut, empty, foreign}) {
        SCOPED_TRACE(path.toStdString());
        const FaceModelLoad load = loadFaceModel(path);
        EXPECT_FALSE(load.model);
        ASSERT_TRUE(load.error.has_value());
        EXPECT_EQ(load.error->message(), fileOpenErrorText(path));
        EXPECT_EQ(appErrorOf([&] { load.take(); }), fileOpenErrorText(path));
    }
}
