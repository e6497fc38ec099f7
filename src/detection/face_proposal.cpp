// SPDX-License-Identifier: GPL-3.0-or-later
#include "detection/face_proposal.h"

#include "detection/skin_colour.h"
#include "pictures/face_box_redraw.h"

FaceLandmarks toFaceBox(const FaceLandmarks& landmarks, const QRect& shown, QSize drawSize) {
    FaceLandmarks mapped{};
    if (shown.isEmpty()) return mapped;
    const double sx = drawSize.width() / double(shown.width());
    const double sy = drawSize.height() / double(shown.height());
    for (size_t i = 0; i < landmarks.size(); ++i)
        mapped[i] = QPointF((landmarks[i].x() - shown.left()) * sx, (landmarks[i].y() - shown.top()) * sy);
    return mapped;
}

FaceProposal proposeFace(const QImage& source, QSize drawSize, const FoundFace& face,
                         bool alreadyZoomed) {
    FaceProposal proposal;
    proposal.needsChecking = face.needsChecking();
    QImage shownPicture = source;
    QRect shown = source.rect();
    if (!alreadyZoomed) {
        ZoomProposal zoom = zoomInto(source, zoomSquare(face.landmarks, source.size()));
        if (!zoom.isNull()) {
            shownPicture = zoom.picture;
            shown = zoom.sourceRect;
            drawSize = zoom.drawSize;
            proposal.zoom = std::move(zoom);
        }
    }
    if (!shown.isEmpty()) proposal.enlargement = drawSize.width() / double(shown.width());
    proposal.faceBoxLandmarks = toFaceBox(face.landmarks, shown, drawSize);
    proposal.outlines = proposePartOutlines(proposal.faceBoxLandmarks, drawSize);

    QImage faceBox = blankFaceBox();
    redrawFaceBox(faceBox, shownPicture, drawSize);
    proposal.fillColour = cheekColour(faceBox, proposal.faceBoxLandmarks, drawSize);
    return proposal;
}
