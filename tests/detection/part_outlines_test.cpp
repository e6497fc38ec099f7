// SPDX-License-Identifier: GPL-3.0-or-later
// The proposal's geometry on made-up faces: the outline rules under tilt, at
// the picture's edge and on a cramped face; the zoom square; the paint.
#include "detection/face_proposal.h"
#include "outline_rules.h"
#include "pictures/face_box_fit.h"
#include "synthetic_face.h"

#include <QLineF>
#include <QPainter>
#include <QPolygonF>
#include <gtest/gtest.h>
#include <cmath>

namespace {

// The direction of the line through the outline's two farthest points.
double longAxisDegrees(const OutlinePointList& points) {
    QLineF longest;
    for (const QPoint& a : points)
        for (const QPoint& b : points)
            if (QLineF(a, b).length() > longest.length() && a.x() <= b.x()) longest = QLineF(a, b);
    return std::atan2(longest.dy(), longest.dx()) * 180 / M_PI;
}

}  // namespace

TEST(PartOutlines, OutlinesTurnWithTheFaceAndKeepTheRules) {
    const double jaw = 136;
    for (double tilt : {0.0, 18.0, -25.0}) {
        SCOPED_TRACE(tilt);
        const FaceLandmarks face = syntheticFace({150, 150}, jaw, tilt);
        const PartOutlines outlines = proposePartOutlines(face, {300, 300});
        expectOutlineRules(outlines, face, {300, 300});
        for (int eye : {1, 2}) EXPECT_NEAR(longAxisDegrees(outlines.points[size_t(eye)]), tilt, 6);
    }
    // Upright: the sizes of catalogue parts, and the brow rule measured.
    const FaceLandmarks face = syntheticFace({150, 150}, jaw);
    const PartOutlines outlines = proposePartOutlines(face, {300, 300});
    const double eyeWidth = 0.18 * jaw;
    EXPECT_NEAR(outlines.boxes[1].width(), kEyeOutlineWidths * eyeWidth, 2);
    EXPECT_NEAR(outlines.boxes[3].width(), kNoseOutlineWidths * 0.18 * jaw, 2);
    EXPECT_NEAR(outlines.boxes[4].width(), kMouthOutlineWidths * 0.38 * jaw, 2);
    const double eyeCentreY = landmarkCentre(face, Landmarks::kRightEye).y();
    const double browY = face[21].y();  // the lowest brow point over the right eye
    EXPECT_GE(outlines.boxes[1].minY, eyeCentreY - kEyeBrowReach * (eyeCentreY - browY) - 1);
    EXPECT_GE(outlines.boxes[3].minY, (face[27].y() + face[30].y()) / 2 - 1);
    EXPECT_LT(outlines.boxes[3].maxY, outlines.boxes[4].minY);
}

TEST(PartOutlines, OutlinesStayInsideThePictureAndApartOnATightFace) {
    // Cut by the right edge of a 300 x 225 picture: the left eye's ellipse
    // would reach past it.
    const FaceLandmarks atEdge = syntheticFace({262, 120}, 120, 8);
    const PartOutlines clipped = proposePartOutlines(atEdge, {300, 225});
    expectOutlineRules(clipped, atEdge, {300, 225});
    EXPECT_EQ(clipped.boxes[2].maxX, 299);

    // The lips pushed up against the nostrils and the eyes in against the
    // bridge: the outlines give way to one another but never to a landmark.
    FaceLandmarks tight = syntheticFace({150, 150}, 136);
    for (int i = Landmarks::kMouth.first; i <= Landmarks::kMouth.last; ++i) tight[size_t(i)].ry() -= 3;
    for (int i = Landmarks::kRightEye.first; i <= Landmarks::kLeftEye.last; ++i) {
        tight[size_t(i)].rx() += i <= Landmarks::kRightEye.last ? 6 : -6;
        tight[size_t(i)].ry() += 6;
    }
    expectOutlineRules(proposePartOutlines(tight, {300, 300}), tight, {300, 300});
}

TEST(ZoomProposal, SquareOfTwoJawWidthsInsideThePhotoCutAsTheGameCuts) {
    const QSize photo(1200, 900);  // k = 4 face-box pixels to photo pixels
    const QRect inMiddle = zoomSquare(syntheticFace({600, 450}, 200), photo);
    EXPECT_NEAR(inMiddle.width(), kZoomJawWidths * 200, 1);
    EXPECT_NEAR(inMiddle.center().x(), 600, 2);

    const QRect inCorner = zoomSquare(syntheticFace({120, 880}, 200), photo);
    EXPECT_EQ(inCorner.left(), 0);
    EXPECT_EQ(inCorner.bottom(), 899);
    EXPECT_EQ(zoomSquare(syntheticFace({150, 100}, 150), {300, 200}).width(), 200);

    QImage picture(photo, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    for (const QRect& square : {inMiddle, inCorner}) {
        const ZoomProposal zoom = zoomInto(picture, square);
        ASSERT_FALSE(zoom.isNull());
        EXPECT_EQ(zoom.sourceRect, zoomSourceRect(zoom.faceBoxRect, zoomFactor(1200, 900)));
        EXPECT_TRUE(square.contains(zoom.sourceRect));
        EXPECT_GE(zoom.sourceRect.width(), square.width() - 8);  // two face-box pixels at most
        EXPECT_EQ(zoom.drawSize, QSize(300, 300));
    }
}

TEST(FaceProposal, ZoomsUnlessZoomedAndPaintsWithTheCheeksNotThePart) {
    // A drawn face: skin and red lips, on blue.
    const QRgb skin = qRgb(224, 172, 140);
    FoundFace face;
    face.score = 1.2;
    face.landmarks = syntheticFace({400, 300}, 260, 5);
    QImage photo(800, 600, QImage::Format_RGB32);
    photo.fill(qRgb(40, 80, 200));
    {
        QPainter painter(&photo);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(skin));
        painter.drawEllipse(QPointF(400, 300), 140, 180);
        painter.setBrush(QColor(190, 30, 50));
        painter.drawPolygon(QPolygonF(QList<QPointF>(face.landmarks.begin() + 48, face.landmarks.begin() + 60)));
    }

    const FaceProposal zoomed = proposeFace(photo, fitIntoFaceBox(800, 600), face, false);
    ASSERT_TRUE(zoomed.zoom.has_value());
    EXPECT_EQ(zoomed.fillColour, skin);
    EXPECT_FALSE(zoomed.needsChecking);
    const double jawInBox = QLineF(zoomed.faceBoxLandmarks[0], zoomed.faceBoxLandmarks[16]).length();
    EXPECT_NEAR(jawInBox, 300 / kZoomJawWidths, 3);
    expectOutlineRules(zoomed.outlines, zoomed.faceBoxLandmarks, zoomed.zoom->drawSize);

    face.score = 0.3;
    const FaceProposal asShown = proposeFace(photo, fitIntoFaceBox(800, 600), face, true);
    EXPECT_FALSE(asShown.zoom.has_value());
    EXPECT_TRUE(asShown.needsChecking);
    EXPECT_NEAR(QLineF(asShown.faceBoxLandmarks[0], asShown.faceBoxLandmarks[16]).length(), 260 * 0.375, 1);
    expectOutlineRules(asShown.outlines, asShown.faceBoxLandmarks, {300, 225});
}
