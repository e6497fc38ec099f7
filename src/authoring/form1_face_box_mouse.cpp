// The mouse on the face box during authoring: the zoom rectangle, the
// freehand outlines and the colour picks. Outside authoring, and while no
// picture is loaded, the face box does no authoring work.
#include "main/form1.h"

void TForm1::ImgFace1MouseDown(Qt::MouseButton, int x, int y) {
    guarded([&] {
        if (!authoring.addingFace || authoring.sourcePicture.isNull()) return;
        if (authoring.zoomArmed) {
            startZoomRectangle(x, y);
            return;
        }
        const int s = authoring.currentPart;
        if (s < 1 || s > 4) return;
        if (authoring.pickMode == 0)
            startOutline(x, y);
        else
            pickFillColour(x, y);
    });
}

void TForm1::ImgFace1MouseMove(int x, int y) {
    guarded([&] {
        if (!authoring.addingFace) return;
        if (authoring.zoomDragging)
            dragZoomRectangle(x, y);
        else if (authoring.outlineDrawing)
            extendOutline(x, y);
    });
}

void TForm1::ImgFace1MouseUp(Qt::MouseButton, int x, int y) {
    guarded([&] {
        if (!authoring.addingFace) return;
        if (authoring.zoomDragging)
            finishZoomRectangle(x, y);
        else if (authoring.outlineDrawing && authoring.pickMode == 0)
            finishOutline();
    });
}
