// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse on the face box during authoring: the zoom rectangle, the
// freehand outlines and the colour picks. Outside authoring, and while no
// picture is loaded, the face box does no authoring work.
#include "authoring/face_authoring.h"

void FaceAuthoring::ImgFace1MouseDown(Qt::MouseButton, int x, int y) {
    if (!authoring_.addingFace || authoring_.sourcePicture.isNull() || finder_.searching()) return;
    if (authoring_.zoomArmed) {
        startZoomRectangle(x, y);
        return;
    }
    const int s = authoring_.currentPart;
    if (s < 1 || s > 4) return;
    if (authoring_.pickMode == 0)
        startOutline(x, y);
    else
        pickFillColour(x, y);
}

void FaceAuthoring::ImgFace1MouseMove(int x, int y) {
    if (!authoring_.addingFace) return;
    if (authoring_.zoomDragging)
        dragZoomRectangle(x, y);
    else if (authoring_.outlineDrawing)
        extendOutline(x, y);
}

void FaceAuthoring::ImgFace1MouseUp(Qt::MouseButton, int x, int y) {
    if (!authoring_.addingFace) return;
    if (authoring_.zoomDragging)
        finishZoomRectangle(x, y);
    else if (authoring_.outlineDrawing && authoring_.pickMode == 0)
        finishOutline();
}
