// The part palettes: setting up the part images of a slot, dealing them onto
// the grid at random, and their home cells.
#include "main/form1.h"

#include "board/image_control.h"
#include "board/scroll_box.h"
#include "play/palette.h"

void TForm1::SetUpPalette(std::vector<ImageControl*>& images, ScrollBox* box) {
    int slot = 0;
    for (int s = 1; s <= 4; ++s)
        if (box == paletteBox(s)) slot = s;
    for (int i = 0; i < int(images.size()); ++i) {
        ImageControl* part = images[i];
        part->setParent(box->content());
        part->setAutoSize(false);
        part->setStretch(true);
        part->setProportional(true);
        part->setTag(slot * catalogue.faceCount + i);
        attachPartHandlers(part);
        part->show();
    }
}

void TForm1::ShufflePalette(std::vector<ImageControl*>& images) {
    for (int s = 1; s <= 4; ++s) paletteBox(s)->scrollToTop();
    const std::vector<int> cells = dealCells(int(images.size()), *services.random);
    for (int k = 0; k < int(images.size()); ++k) images[k]->move(paletteCell(cells[k]));
}

void TForm1::recordHomePositions() {
    for (int s = 1; s <= 4; ++s)
        for (int i = 0; i < catalogue.faceCount; ++i) {
            play.homeLeft[s][i] = PartImages[s][i]->x();
            play.homeTop[s][i] = PartImages[s][i]->y();
        }
}
