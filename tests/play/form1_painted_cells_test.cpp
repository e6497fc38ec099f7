// SPDX-License-Identifier: GPL-3.0-or-later
// The thumbnails and the palettes painted by one widget each, through the
// real window: only what is on screen and near it is decoded, scrolling
// never shows a face's picture in another face's cell, the title stays
// above the thumbnails, and a part far down a palette is decoded when the
// player scrolls to it and drags onto the face like any other.
#include "board/image_control.h"
#include "board/painted_cells.h"
#include "board/scroll_box.h"
#include "catalogue/catalogue_files.h"
#include "pictures/jpeg_codec.h"
#include "play/visible_pictures.h"
#include "support/window/play_driver.h"

#include <QAccessible>
#include <QApplication>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// A colour of its own for each of 75 faces, 45 apart in some channel.
QRgb uniqueColour(int face) { return qRgb(20 + 45 * (face % 5), 20 + 45 * (face / 5 % 5), 40 + 90 * (face / 25)); }

int faceOfColour(QRgb colour, int count) {
    for (int face = 0; face < count; ++face)
        if (nearColour(colour, uniqueColour(face), 16)) return face;
    return -1;
}

// Checks every cell wholly on screen: it shows its own face's picture or none
// yet, never another face's. Returns how many show their own.
int checkShownCells(GameWindow& w, int count) {
    TForm1& f = *w.form;
    const QRect shown = f.ScrollBox1->shownArea();
    const QImage screen = f.ScrollBox1->viewport()->grab().toImage();
    int own = 0;
    for (int face = 0; face < count; ++face) {
        const QRect cell = w.thumbnailCell(face);
        if (!shown.contains(cell)) continue;
        const int showing = faceOfColour(screen.pixel(cell.topLeft() - shown.topLeft() + QPoint(10, 10)), count);
        EXPECT_TRUE(showing == face || showing == -1) << "cell " << face << " shows face " << showing;
        own += showing == face;
    }
    return own;
}

}  // namespace

// Under the title, 75 faces each of a colour of its own: the title and the
// logo lie above the thumbnails for the whole title, their see-through
// colour showing the thumbnails under it. Then only what is on screen and
// near it is decoded, and scrolling never shows a face's picture in
// another face's cell.
TEST(PaintedThumbnails, TheTitleLiesAboveThemAndScrollingNeverShowsAnotherFace) {
    TempAppDir dir;
    const int count = 75;
    writeTestCatalogue(dir, count);
    for (int face = 0; face < count; ++face) {
        QImage picture(120, 150, QImage::Format_RGB32);
        picture.fill(uniqueColour(face));
        writeJpegFile(facePicturePath(dir.path(), face, 0), picture);
    }
    QImage title(495, 196, QImage::Format_RGB32);
    for (int y = 0; y < title.height(); ++y)
        for (int x = 0; x < title.width(); ++x)
            title.setPixel(x, y, (x / 20 + y / 20) % 2 ? qRgb(250, 250, 0) : qRgb(0, 0, 0));
    title.setPixel(0, 195, qRgb(0, 0, 0));  // black, the see-through colour
    QImage logo(368, 56, QImage::Format_RGB32);
    logo.fill(qRgb(200, 0, 200));
    ASSERT_TRUE(title.save(dir.file(QStringLiteral("title.bmp")), "BMP"));
    ASSERT_TRUE(logo.save(dir.file(QStringLiteral("logo.bmp")), "BMP"));
    GameWindow w(dir);
    TForm1& f = *w.form;
    ASSERT_TRUE(f.faceSelection().titleShowing());
    for (int tick = 0; tick < 4; ++tick) {
        f.finishPendingWork();  // the thumbnails under the title are in
        const QImage screen = f.ScrollBox1->viewport()->grab().toImage();
        int hidden = 0, underTitle = 0;
        for (int y = 0; y < title.height(); ++y)
            for (int x = 0; x < title.width(); ++x) {
                const QRgb seen = screen.pixel(60 + x, 50 + y);
                if (title.pixel(x, y) != qRgb(0, 0, 0)) hidden += seen != title.pixel(x, y);
                else underTitle += faceOfColour(seen, count) >= 0;
            }
        for (int y = 0; y < logo.height(); ++y)
            for (int x = 0; x < logo.width(); ++x) hidden += screen.pixel(250 + x, 300 + y) != logo.pixel(x, y);
        EXPECT_EQ(hidden, 0) << "title pixels covered at tick " << tick;
        EXPECT_GT(underTitle, 0) << "the thumbnails show through the see-through colour";
        f.Timer1Timer();
    }
    f.Timer1Timer();
    EXPECT_FALSE(f.ImgTitle->isVisible());

    EXPECT_EQ(checkShownCells(w, count), 10) << "the first screen is complete";
    EXPECT_FALSE(w.thumbnailPicture(24).isNull()) << "the next screen is ready";
    EXPECT_TRUE(w.thumbnailPicture(74).isNull()) << "the last row is not decoded before it is near";
    EXPECT_LE(f.pictures().cache().size(), 25);

    // Flung down and back without a pause: what shows meanwhile is a face's
    // own picture or a placeholder.
    for (int position : {700, 1900, 2600, 1200, 2800}) {
        f.ScrollBox1->setVerticalPosition(position);
        checkShownCells(w, count);
    }
    f.finishPendingWork();
    EXPECT_GE(checkShownCells(w, count), 10) << "at rest, every cell on screen has its picture";
    EXPECT_FALSE(w.thumbnailPicture(74).isNull());

    // The last face's cell is clicked like any other.
    w.click(w.thumbnail(74), {5, 5});
    EXPECT_TRUE(f.ImgFace1->isVisible());
    EXPECT_EQ(f.game().state().currentFace, 74);
}

// A game start decodes the palettes' first screens, and the screens around
// them once painted; a part further down is decoded once the palette is
// scrolled to it, drags onto the face, and its
// cell leaves the palette meanwhile. The accessibility bus names every cell.
TEST(PaintedPalettes, APartFarDownIsDecodedWhenScrolledToAndDragsOntoTheFace) {
    TempAppDir dir;
    writeTestCatalogue(dir, 40);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);
    showPalette(w, 1);

    int farFace = -1;
    for (int face = 1; face < 40 && farFace < 0; ++face)
        if (f.PartCells[1]->placeOf(face) >= 36) farFace = face;  // row 12, 1,090 pixels down
    ASSERT_GE(farFace, 0);
    EXPECT_TRUE(partPicture(w, 1, farFace).isNull()) << "not decoded before the palette comes near it";
    // Of the other faces' parts, those decoded in the cells from..to.
    const auto decodedIn = [&](int from, int to) {
        int decoded = 0;
        for (int face = 1; face < 40; ++face) {
            const int place = f.PartCells[1]->placeOf(face);
            decoded += place >= from && place <= to && !partPicture(w, 1, face).isNull();
        }
        return decoded;
    };
    // The first screen alone until the game has been painted: decoding the
    // screens around it meanwhile would hold the first paint up. Then the
    // screen below it, rows 5 to 9.
    f.finishPendingWork();
    const bool ownInFirstRows = f.PartCells[1]->placeOf(0) < 15;
    EXPECT_EQ(decodedIn(0, 14), 15 - ownInFirstRows);
    EXPECT_EQ(decodedIn(15, 39), 0);
    f.PartCells[1]->repaint();
    QApplication::processEvents();
    f.finishPendingWork();
    EXPECT_EQ(decodedIn(15, 29), 15 - (!ownInFirstRows && f.PartCells[1]->placeOf(0) < 30));
    EXPECT_EQ(decodedIn(30, 39), 0);

    f.SBRMe->setVerticalPosition(partPos(w, 1, farFace).y() - 100);
    f.finishPendingWork();
    const QImage far = partPicture(w, 1, farFace);
    ASSERT_FALSE(far.isNull());
    EXPECT_EQ(far.size(), QSize(30, 20)) << "drawn at its own size in a square of 30";
    EXPECT_TRUE(nearColour(far.pixel(15, 10), testFaceColour(farFace, 1)));
    const QPoint cellOnScreen = partPos(w, 1, farFace) - QPoint(0, f.SBRMe->verticalPosition()) + QPoint(15, 10);
    EXPECT_TRUE(nearColour(f.SBRMe->viewport()->grab().toImage().pixel(cellOnScreen), testFaceColour(farFace, 1)));

    QAccessibleInterface* palette = QAccessible::queryAccessibleInterface(f.PartCells[1]);
    ASSERT_NE(palette, nullptr);
    ASSERT_EQ(palette->childCount(), 40);
    EXPECT_EQ(palette->child(farFace)->text(QAccessible::Name), QStringLiteral("右目"));
    EXPECT_FALSE(palette->child(farFace)->state().offscreen);

    const int above = f.PartCells[1]->itemAt(partPos(w, 1, farFace) - QPoint(0, 90) + QPoint(5, 5));
    ASSERT_GE(above, 0);
    placePart(w, 1, farFace, {20, 30});
    EXPECT_TRUE(partOnFace(w, 1, farFace));
    EXPECT_EQ(partPos(w, 1, farFace), f.ImgFace1->pos() + QPoint(20, 30));
    EXPECT_EQ(f.game().state().placedFace[1], farFace);
    EXPECT_TRUE(nearColour(partPicture(w, 1, farFace).pixel(15, 10), testFaceColour(farFace, 1)));
    EXPECT_TRUE(palette->child(farFace)->state().invisible) << "its cell is empty while it lies on the face";
    EXPECT_FALSE(nearColour(f.SBRMe->viewport()->grab().toImage().pixel(cellOnScreen), testFaceColour(farFace, 1)));

    // Sent home by the right eye in the cell above, it shows in its cell again.
    dragPart(w, partSpot(w, 1, above), {1, 1}, f.ClientArea, {200, 20});
    EXPECT_FALSE(partOnFace(w, 1, farFace));
    EXPECT_FALSE(palette->child(farFace)->state().invisible);
    EXPECT_TRUE(nearColour(f.SBRMe->viewport()->grab().toImage().pixel(cellOnScreen), testFaceColour(farFace, 1)));
}
