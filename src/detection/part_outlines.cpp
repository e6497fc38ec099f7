// SPDX-License-Identifier: GPL-3.0-or-later
#include "detection/part_outlines.h"

#include "detection/outline_coverage.h"

#include <QLineF>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// Room left between a landmark and the outline around it, face-box pixels,
// so that rounding the outline's points to pixels never cuts a landmark off.
constexpr double kMargin = 2.5;
// The gap kept between the nose's bottom and the mouth's top.
constexpr double kNoseMouthGap = 3;
constexpr double kShrinkStep = 1;
// How far an eye's outline reaches below the eye's centre, in eye widths.
constexpr double kEyeReachBelow = 0.6;

// The face's own axes: u along the line from the picture-left eye to the
// other, v square to it and pointing down the face. Shapes are laid out in
// (u, v) so that they turn with the head.
struct FaceFrame {
    QPointF u{1, 0};
    QPointF v{0, 1};
    QPointF in(QPointF p) const { return {QPointF::dotProduct(p, u), QPointF::dotProduct(p, v)}; }
    QPointF out(QPointF f) const { return u * f.x() + v * f.y(); }
};

FaceFrame faceFrame(const FaceLandmarks& landmarks) {
    const QPointF d = landmarkCentre(landmarks, Landmarks::kLeftEye) -
                      landmarkCentre(landmarks, Landmarks::kRightEye);
    const double length = std::hypot(d.x(), d.y());
    FaceFrame frame;
    if (length > 0) {
        frame.u = d / length;
        frame.v = QPointF(-frame.u.y(), frame.u.x());
    }
    return frame;
}

std::vector<QPointF> framed(const FaceLandmarks& landmarks, LandmarkRange range,
                            const FaceFrame& frame) {
    std::vector<QPointF> points;
    for (int i = range.first; i <= range.last; ++i) points.push_back(frame.in(landmarks[size_t(i)]));
    return points;
}

double distance(const FaceLandmarks& landmarks, int a, int b) {
    return QLineF(landmarks[size_t(a)], landmarks[size_t(b)]).length();
}

double largestOffset(const std::vector<QPointF>& points, double u) {
    double largest = 0;
    for (const QPointF& p : points) largest = std::max(largest, std::abs(p.x() - u));
    return largest;
}

void appendArc(std::vector<QPointF>& to, QPointF centre, double rx, double ry, double from,
               double sweep, int steps) {
    for (int i = 0; i <= steps; ++i) {
        const double t = from + sweep * i / steps;
        to.emplace_back(centre.x() + rx * std::cos(t), centre.y() + ry * std::sin(t));
    }
}

// Frame points to face-box pixels inside the picture, without repeats.
OutlinePointList toOutline(const std::vector<QPointF>& framePoints, const FaceFrame& frame,
                           QSize area) {
    OutlinePointList outline;
    for (const QPointF& f : framePoints) {
        const QPointF p = frame.out(f);
        const QPoint pixel(std::clamp(int(std::lround(p.x())), 0, std::max(0, area.width() - 1)),
                           std::clamp(int(std::lround(p.y())), 0, std::max(0, area.height() - 1)));
        if (outline.empty() || outline.back() != pixel) outline.push_back(pixel);
    }
    while (outline.size() > 1 && outline.front() == outline.back()) outline.pop_back();
    return outline;
}

class EyeShape {
public:
    EyeShape(const std::vector<QPointF>& eye, const std::vector<QPointF>& brow, double width)
        : eye_(eye) {
        QPointF eyeCentre;
        for (const QPointF& p : eye) eyeCentre += p / double(eye.size());
        centre_ = eyeCentre;
        minA_ = largestOffset(eye, centre_.x()) + kMargin;
        a_ = std::max(minA_, kEyeOutlineWidths * width / 2);
        // The ellipse reaches as far below the eye's centre as a round eye
        // part would, but above it only part of the way to the brow: its
        // centre moves down by half the difference.
        double gap = browGap(brow, true);
        if (gap <= 0) gap = browGap(brow, false);
        const double below = kEyeReachBelow * width;
        const double above = gap > 0 ? std::min(below, kEyeBrowReach * gap) : below;
        centre_.ry() += (below - above) / 2;
        b_ = std::max(minB(a_), (above + below) / 2);
    }

    std::vector<QPointF> points() const {
        std::vector<QPointF> points;
        appendArc(points, centre_, a_, b_, 0, 2 * std::numbers::pi, 36);
        points.pop_back();  // the closing point is the first one again
        return points;
    }

    // One step smaller, never smaller than the eye. False when it cannot.
    bool shrink() {
        if (a_ > minA_) {
            a_ = std::max(minA_, a_ - kShrinkStep);
            b_ = std::max(b_, minB(a_));
            return true;
        }
        if (b_ > minB(a_)) {
            b_ = std::max(minB(a_), b_ - kShrinkStep);
            return true;
        }
        return false;
    }

private:
    // The smallest height of a brow point above the eye's centre (before
    // the ellipse is moved down), of the
    // points over the ellipse only or of all; 0 when there is none.
    double browGap(const std::vector<QPointF>& brow, bool overEllipse) const {
        double gap = 0;
        for (const QPointF& p : brow) {
            if (overEllipse && std::abs(p.x() - centre_.x()) > a_) continue;
            const double height = centre_.y() - p.y();
            if (height > 0 && (gap == 0 || height < gap)) gap = height;
        }
        return gap;
    }

    // The least height (half of it) by which an ellipse of half-length a
    // encloses every point of the eye.
    double minB(double a) const {
        double b = 0;
        for (const QPointF& p : eye_) {
            const double du = (p.x() - centre_.x()) / a;
            b = std::max(b, std::abs(p.y() - centre_.y()) / std::sqrt(std::max(1e-3, 1 - du * du)));
        }
        return b + kMargin;
    }

    std::vector<QPointF> eye_;
    QPointF centre_;
    double a_ = 0, b_ = 0, minA_ = 0;
};

class NoseShape {
public:
    // nose: landmarks 29-35 in the frame; top: halfway down the bridge;
    // separation: the line halfway between the nostrils and the lip.
    NoseShape(const std::vector<QPointF>& nose, double nostrilWidth, double top, double separation) {
        const QPointF upperBridge = nose.front();  // 29
        const QPointF tip = nose[1];               // 30
        double lowest = tip.y(), highestNostril = nose[2].y();
        for (size_t i = 2; i < nose.size(); ++i) {
            lowest = std::max(lowest, nose[i].y());
            highestNostril = std::min(highestNostril, nose[i].y());
        }
        axis_ = (nose[2].x() + nose.back().x()) / 2;  // between the outer nostrils 31 and 35
        minHalf_ = largestOffset(nose, axis_) + kMargin;
        half_ = std::max(minHalf_, kNoseOutlineWidths * nostrilWidth / 2);
        maxTop_ = upperBridge.y() - kMargin;
        top_ = std::min(top, maxTop_);
        minTopHalf_ = std::abs(upperBridge.x() - axis_) + kMargin;
        topHalf_ = std::max(minTopHalf_, 0.3 * nostrilWidth);
        // The full width from a little above the tip, and above every nostril
        // point, so that the narrowing top never cuts one off.
        flare_ = std::max(top_ + 1, std::min(tip.y() - 0.2 * nostrilWidth, highestNostril - kMargin));
        minBottom_ = lowest + kMargin;
        bottom_ = std::max(minBottom_, separation - kNoseMouthGap / 2);
    }

    std::vector<QPointF> points() const {
        const double r = std::max(0.0, std::min(0.35 * half_, (bottom_ - flare_) / 2));
        std::vector<QPointF> points{{axis_ - topHalf_, top_}, {axis_ + topHalf_, top_},
                                    {axis_ + half_, flare_}};
        const double pi = std::numbers::pi;
        appendArc(points, {axis_ + half_ - r, bottom_ - r}, r, r, 0, pi / 2, 5);
        appendArc(points, {axis_ - half_ + r, bottom_ - r}, r, r, pi / 2, pi / 2, 5);
        points.emplace_back(axis_ - half_, flare_);
        return points;
    }

    // The top lowered and narrowed one step, towards the eyes' side.
    bool shrinkTop() {
        if (top_ < maxTop_ || topHalf_ > minTopHalf_) {
            top_ = std::min(maxTop_, top_ + kShrinkStep);
            topHalf_ = std::max(minTopHalf_, topHalf_ - kShrinkStep / 2);
            flare_ = std::max(flare_, top_ + 1);
            return true;
        }
        if (half_ > minHalf_) {
            half_ = std::max(minHalf_, half_ - kShrinkStep);
            return true;
        }
        return false;
    }

    bool raiseBottom() {
        if (bottom_ <= minBottom_) return false;
        bottom_ = std::max(minBottom_, bottom_ - kShrinkStep);
        return true;
    }

private:
    double axis_ = 0, top_ = 0, maxTop_ = 0, topHalf_ = 0, minTopHalf_ = 0;
    double flare_ = 0, half_ = 0, minHalf_ = 0, bottom_ = 0, minBottom_ = 0;
};

class MouthShape {
public:
    MouthShape(const std::vector<QPointF>& mouth, double mouthWidth, double separation) {
        const QPointF left = mouth.front(), right = mouth[6];  // 48, 54
        centre_ = (left.x() + right.x()) / 2;
        half_ = std::max(largestOffset(mouth, centre_) + kMargin, kMouthOutlineWidths * mouthWidth / 2);
        double lipTop = mouth.front().y(), lipBottom = lipTop;
        for (const QPointF& p : mouth) {
            lipTop = std::min(lipTop, p.y());
            lipBottom = std::max(lipBottom, p.y());
        }
        const double room = 0.15 * mouthWidth;
        maxTop_ = lipTop - kMargin;
        top_ = std::min(maxTop_, std::max(lipTop - room, separation + kNoseMouthGap / 2));
        bottom_ = lipBottom + std::max(kMargin, room);
    }

    std::vector<QPointF> points() const {
        const double r = 0.3 * std::min(half_, (bottom_ - top_) / 2);
        const double pi = std::numbers::pi;
        std::vector<QPointF> points;
        appendArc(points, {centre_ + half_ - r, top_ + r}, r, r, -pi / 2, pi / 2, 4);
        appendArc(points, {centre_ + half_ - r, bottom_ - r}, r, r, 0, pi / 2, 4);
        appendArc(points, {centre_ - half_ + r, bottom_ - r}, r, r, pi / 2, pi / 2, 4);
        appendArc(points, {centre_ - half_ + r, top_ + r}, r, r, pi, pi / 2, 4);
        return points;
    }

    bool lowerTop() {
        if (top_ >= maxTop_) return false;
        top_ = std::min(maxTop_, top_ + kShrinkStep);
        return true;
    }

private:
    double centre_ = 0, half_ = 0, top_ = 0, maxTop_ = 0, bottom_ = 0;
};

}  // namespace

PartOutlines proposePartOutlines(const FaceLandmarks& landmarks, QSize drawSize) {
    using namespace Landmarks;
    const FaceFrame frame = faceFrame(landmarks);
    const auto bridge = framed(landmarks, kNoseBridge, frame);
    const auto nose = framed(landmarks, enclosedLandmarks(3), frame);
    const auto mouth = framed(landmarks, kMouth, frame);

    double nostrilsLowest = nose[1].y(), lipTop = mouth.front().y();
    for (size_t i = 2; i < nose.size(); ++i) nostrilsLowest = std::max(nostrilsLowest, nose[i].y());
    for (const QPointF& p : mouth) lipTop = std::min(lipTop, p.y());
    const double separation = (nostrilsLowest + lipTop) / 2;

    EyeShape rightEye(framed(landmarks, kRightEye, frame), framed(landmarks, kRightBrow, frame),
                      distance(landmarks, kRightEyeOuter, kRightEyeInner));
    EyeShape leftEye(framed(landmarks, kLeftEye, frame), framed(landmarks, kLeftBrow, frame),
                     distance(landmarks, kLeftEyeInner, kLeftEyeOuter));
    NoseShape noseShape(nose, distance(landmarks, kNostrilLeft, kNostrilRight),
                        (bridge.front().y() + bridge.back().y()) / 2, separation);
    MouthShape mouthShape(mouth, distance(landmarks, kMouthLeft, kMouthRight), separation);

    PartOutlines outlines;
    auto build = [&] {
        outlines.points[1] = toOutline(rightEye.points(), frame, drawSize);
        outlines.points[2] = toOutline(leftEye.points(), frame, drawSize);
        outlines.points[3] = toOutline(noseShape.points(), frame, drawSize);
        outlines.points[4] = toOutline(mouthShape.points(), frame, drawSize);
    };
    // Where two outlines paint a pixel in common, the one that has room to
    // spare gives way, one step at a time: the nose's top before an eye, the
    // nose's bottom and the mouth's top together.
    auto giveWay = [&](int a, int b) -> bool {
        EyeShape* eyes[3] = {nullptr, &rightEye, &leftEye};
        if (a <= 2 && b == 3) return noseShape.shrinkTop() || eyes[a]->shrink();
        if (a == 3 && b == 4) return noseShape.raiseBottom() | mouthShape.lowerTop();
        if (a <= 2 && b == 4) return mouthShape.lowerTop() || eyes[a]->shrink();
        return rightEye.shrink() | leftEye.shrink();
    };
    build();
    for (int step = 0; step < 200; ++step) {
        bool changed = false;
        for (int a = 1; a <= 4 && !changed; ++a)
            for (int b = a + 1; b <= 4 && !changed; ++b)
                if (outlinesOverlap(outlines.points[size_t(a)], outlines.points[size_t(b)]))
                    changed = giveWay(a, b);
        if (!changed) break;
        build();
    }
    for (int s = 1; s <= 4; ++s) outlines.boxes[size_t(s)] = outlineBox(outlines.points[size_t(s)]);
    return outlines;
}
