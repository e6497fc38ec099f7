// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the one click proposes for a found face: the zoom (unless the
// player zoomed already), the four outlines on the face box as it will then
// show, and the paint. Taken over into the authoring state, each part is what
// a hand-drawn outline would have made: OutlinePoints[s] = outlines.points[s],
// BoxMinX[s] .. BoxMaxY[s] from outlines.boxes[s], FillColor[s] = fillColour,
// its preview cut from the unpainted face box, Outlined[s] set.
#include "detection/face_search.h"
#include "detection/part_outlines.h"
#include "detection/zoom_proposal.h"

#include <QImage>
#include <QSize>
#include <optional>

// Beyond this enlargement of the photo's pixels a proposed face comes out
// blurred: at 3 times the eyes are blocks of a few pixels, at 4 the paint of
// nose and mouth runs together; at 2.6 times the parts still look drawn.
constexpr double kBlurringEnlargement = 3.0;

struct FaceProposal {
    std::optional<ZoomProposal> zoom;  // to make first, as 「ズーム」 would
    PartOutlines outlines;             // face-box pixels, after the zoom
    QRgb fillColour = 0;               // the skin colour, for all four parts
    bool needsChecking = false;        // the face scored low: ask to check the outlines
    FaceLandmarks faceBoxLandmarks{};  // the landmarks where the face box shows them
    double enlargement = 1;            // face-box pixels per pixel of the picture shown
    bool mayBlur() const { return enlargement > kBlurringEnlargement; }
};

// source: the picture authoring holds (loaded, or zoomed when alreadyZoomed),
// drawn at drawSize in the face box; face: found in source. Runs in a few
// milliseconds on any thread.
FaceProposal proposeFace(const QImage& source, QSize drawSize, const FoundFace& face,
                         bool alreadyZoomed);

// Photo pixels to face-box pixels, for a face box that shows the photo's
// region shown (all of the photo when not zoomed) at drawSize.
FaceLandmarks toFaceBox(const FaceLandmarks& landmarks, const QRect& shown, QSize drawSize);
