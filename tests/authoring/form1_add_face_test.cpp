// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the authoring: the picture dialog, which file names load, the fit
// into the face box, an undecodable picture, and the zoom.
#include "form1_authoring_driver.h"

#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "files/app_error.h"
#include "pictures/face_box_fit.h"
#include "support/hostile_pictures.h"
#include "support/phone_photos.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <jerror.h>

namespace {

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kBlue = 0xff0000ff;

QImage flatPicture(int w, int h, QRgb colour = 0xff3070b0) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

// True when the face box shows the picture exactly over drawSize and white
// beyond it (checked along the edges of the drawn area).
void expectDrawnOver(const TForm1& f, QSize drawSize, QRgb colour) {
    const QImage& box = f.ImgFace1->picture();
    ASSERT_EQ(box.size(), QSize(300, 300));
    const int w = drawSize.width(), h = drawSize.height();
    EXPECT_TRUE(closeColour(box.pixel(w - 1, h - 1), colour)) << "last drawn pixel";
    if (h < 300) {
        EXPECT_EQ(box.pixel(w / 2, h), kWhite) << "row below the picture";
    }
    if (w < 300) {
        EXPECT_EQ(box.pixel(w, h / 2), kWhite) << "column right of the picture";
    }
}

}  // namespace

// The photograph appears in the 300 x 300 face box at its fitted size, with
// the screen of the first authoring step around it.
TEST(AddingFace, ShowsThePictureFittedIntoTheFaceBoxWithTheZoomOffered) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startAuthoring(w, writeJpegPicture(dir, QStringLiteral("pics/wide.jpg"), flatPicture(640, 480)));

    EXPECT_EQ(w.dialogs->openFileTitles, QStringList{QStringLiteral("顔の読み込み")});
    EXPECT_EQ(w.dialogs->openFileFilters,
              QStringList{QStringLiteral("ピクチャファイル (*.jpg;*.jpeg;*.heic;*.heif;*.avif;*.png;*.webp;*.gif;*.bmp)"
                                         "|*.jpg;*.jpeg;*.heic;*.heif;*.avif;*.png;*.webp;*.gif;*.bmp")});
    EXPECT_TRUE(f.faceAuthoring().state().addingFace);
    EXPECT_EQ(f.faceAuthoring().state().sourceKind, 2);
    EXPECT_EQ(f.faceAuthoring().state().sourcePicture.size(), QSize(640, 480)) << "kept at full resolution";
    EXPECT_EQ(QSize(f.faceAuthoring().state().drawWidth, f.faceAuthoring().state().drawHeight), QSize(300, 225));
    expectDrawnOver(f, {300, 225}, 0xff3070b0);
    EXPECT_EQ(f.ImgFace1->geometry(), QRect(8, 120, 300, 300));
    EXPECT_FALSE(f.ImgFace1->autoSize());
    EXPECT_FALSE(f.ImgFace1->stretch());
    EXPECT_TRUE(f.ImgFace1->isVisible());
    EXPECT_FALSE(f.ScrollBox1->isVisible());
    EXPECT_FALSE(f.PageControl1->isVisible());
    EXPECT_FALSE(f.F1->isEnabled());
    EXPECT_FALSE(f.R1->isEnabled());
    for (int s = 1; s <= 4; ++s) {
        EXPECT_TRUE(f.partTitle(s)->isVisible());
        EXPECT_TRUE(f.partTitle(s)->isEnabled());
        EXPECT_FALSE(f.partPreview(s)->isVisible());
    }
    EXPECT_EQ(f.BitBtnHantei->text(), QStringLiteral("ズーム"));
    EXPECT_TRUE(f.BitBtnHantei->isVisible() && f.BitBtnHantei->isEnabled());
    EXPECT_TRUE(f.BitBtnCancel->isVisible() && f.BitBtnCancel->isEnabled());
    EXPECT_FALSE(f.BitBtnToroku->isVisible());
    EXPECT_EQ(f.Label1->fontPoints(), 12);
    EXPECT_TRUE(f.Label1->caption().startsWith(QStringLiteral("画像の一部を拡大したい場合は、「ズーム」ボタンを押してから、\r")));

    // Cancelling goes back to the face selection and lets the picture go.
    w.click(f.BitBtnCancel);
    EXPECT_FALSE(f.faceAuthoring().state().addingFace);
    EXPECT_TRUE(f.faceAuthoring().state().sourcePicture.isNull());
    EXPECT_TRUE(f.ScrollBox1->isVisible());
    EXPECT_FALSE(f.ImgFace1->isVisible());
    EXPECT_FALSE(f.BitBtnHantei->isVisible());
    EXPECT_TRUE(f.F1->isEnabled());
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("作りたい顔をクリックしてください。"));
}

// The single-precision fit: the shorter side can come out one pixel short,
// small pictures are enlarged, tall ones fill the height.
TEST(AddingFace, FitsTallAndTinyPicturesWithTheSinglePrecisionFactor) {
    struct Case { QSize picture; QSize drawn; };
    for (const Case& c : {Case{{480, 640}, {225, 300}}, Case{{9, 9}, {300, 299}}}) {
        TempAppDir dir;
        writeTestCatalogue(dir, 3);
        GameWindow w(dir);
        const QImage picture = flatPicture(c.picture.width(), c.picture.height(), 0xffa02040);
        startAuthoring(w, writeBitmapPicture(dir, QStringLiteral("p.bmp"), picture));
        EXPECT_EQ(w.form->faceAuthoring().state().sourceKind, 1);
        EXPECT_EQ(QSize(w.form->faceAuthoring().state().drawWidth, w.form->faceAuthoring().state().drawHeight), c.drawn);
        expectDrawnOver(*w.form, c.drawn, 0xffa02040);
    }
}

// A picture loads whatever its name: the kind is told from the content, so
// any letter case of the extension, dots in the folders, and a name of
// another kind (a JPEG named .png, a PNG named .jpg, a bitmap named .gif, a
// HEIC named .jpeg) all load.
TEST(AddingFace, LoadsPicturesByTheirContentWhateverTheirName) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QImage picture = flatPicture(60, 30);
    const QByteArray jpeg = encodeJpeg(picture), bitmap = qtWrittenPicture(picture, "bmp");
    struct Case { QString name; QByteArray bytes; int kind; };
    const Case cases[] = {
        {QStringLiteral("face.JPEG"), jpeg, 2}, {QStringLiteral("face.jpeg"), jpeg, 2}, {QStringLiteral("face.BMP"), bitmap, 1},
        {QStringLiteral("face.bmpx"), bitmap, 1}, {QStringLiteral("Other.Jpg"), jpeg, 2}, {QStringLiteral("face.JPeg"), jpeg, 2},
        {QStringLiteral("my.photos/face.jpg"), jpeg, 2}, {QStringLiteral("face.png"), jpeg, 2},
        {QStringLiteral("my.photos/face.gif"), bitmap, 1}, {QStringLiteral("no extension"), jpeg, 2},
        {QStringLiteral("screenshot.jpg"), qtWrittenPicture(picture, "png"), 1},
        {QStringLiteral("IMG_0001.jpeg"), heifPicture(picture, HeifCoding::Hevc), 1},
    };
    for (const Case& c : cases) {
        GameWindow w(dir);
        TForm1& f = *w.form;
        dir.writeBytes(c.name, c.bytes);
        startAuthoring(w, dir.file(c.name));
        EXPECT_EQ(f.faceAuthoring().state().sourceKind, c.kind) << c.name.toStdString();
        EXPECT_EQ(f.faceAuthoring().state().sourcePicture.size(), picture.size()) << c.name.toStdString();
        EXPECT_TRUE(w.dialogs->errors.isEmpty()) << c.name.toStdString();
        EXPECT_TRUE(f.faceAuthoring().state().addingFace);
        EXPECT_TRUE(f.LblKuti->isVisible());
    }
}

// A picture that cannot be decoded is reported and the face selection stays.
TEST(AddingFace, AnUndecodablePictureReportsTheDecoderErrorAndStaysOnTheFaceSelection) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    dir.writeBytes(QStringLiteral("bad.jpg"), QByteArray("\xff\xd8\xff\xe0 this is no picture", 25));
    dir.writeBytes(QStringLiteral("bad.bmp"), QByteArray("BM and nothing more"));
    startAuthoring(w, dir.path() + QStringLiteral("bad.jpg"));
    startAuthoring(w, dir.path() + QStringLiteral("bad.bmp"));

    ASSERT_EQ(w.dialogs->errors.size(), 2);
    EXPECT_TRUE(w.dialogs->errors[0].startsWith(QStringLiteral("JPEG エラー #"))) << w.dialogs->errors[0].toStdString();
    EXPECT_EQ(w.dialogs->errors[1], QStringLiteral("ファイル %1 は開けません").arg(dir.path() + QStringLiteral("bad.bmp")));
    EXPECT_FALSE(f.faceAuthoring().state().addingFace);
    EXPECT_TRUE(f.ScrollBox1->isVisible());
    EXPECT_FALSE(f.ImgFace1->isVisible());
    EXPECT_FALSE(f.LblRMe->isVisible());
    EXPECT_FALSE(f.BitBtnHantei->isVisible());
    EXPECT_TRUE(f.F1->isEnabled());
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("作りたい顔をクリックしてください。"));
}

// Photographs may be large, but one whose header claims more than 50
// megapixels is refused before it is decoded, as is a tiny run-length bitmap
// that would unpack to 400 MB.
TEST(AddingFace, APhotographBeyondFiftyMegapixelsIsRefusedFromItsHeader) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    dir.writeBytes(QStringLiteral("fifty.jpg"), jpegClaiming(10000, 5000));
    dir.writeBytes(QStringLiteral("more.jpg"), jpegClaiming(10000, 5100));
    // A 10000 x 10000 RLE8 bitmap: file header, info header, one palette
    // entry, then 1 KB of data.
    QByteArray bomb = QByteArray::fromHex("424d" "00000000" "00000000" "3a000000"
                                          "28000000" "10270000" "10270000" "0100" "0800" "01000000"
                                          "00000000" "00000000" "00000000" "01000000" "00000000" "00000000");
    bomb += QByteArray(1000, '\0') + QByteArray::fromHex("0001");
    dir.writeBytes(QStringLiteral("bomb.bmp"), bomb);
    for (const char* name : {"fifty.jpg", "more.jpg", "bomb.bmp"}) startAuthoring(w, dir.path() + QLatin1String(name));

    EXPECT_EQ(w.dialogs->errors,
              (QStringList{jpegErrorText(JWRN_HIT_MARKER), jpegErrorText(JERR_IMAGE_TOO_BIG),
                           QStringLiteral("ファイル %1 は開けません").arg(dir.path() + QStringLiteral("bomb.bmp"))}));
    EXPECT_FALSE(w.form->faceAuthoring().state().addingFace);
}

// A photograph is decoded behind the window: the face selection stays under
// a busy cursor and takes no other press meanwhile, a second photograph
// chosen before the first is in wins, and a photograph larger than the
// search and the face box can use is decoded at a DCT scale (8192 x 1024 at
// half its size), drawn as the whole would be.
TEST(AddingFace, APhotographIsDecodedBehindTheWindowAndTheLastChoiceWins) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    const QString wide = writeJpegPicture(dir, QStringLiteral("wide.jpg"), flatPicture(8192, 1024, 0xff40a060));
    const QString portrait = writeBitmapPicture(dir, QStringLiteral("portrait.bmp"), TestPhoto::picture());

    w.dialogs->openFileAnswers = {wide, portrait};
    f.A1->trigger();
    EXPECT_FALSE(f.faceAuthoring().adding()) << "the face selection stays while the photograph is decoded";
    EXPECT_TRUE(f.ScrollBox1->isVisible());
    EXPECT_EQ(f.cursor().shape(), Qt::BusyCursor);
    w.clickWithoutWaiting(w.thumbnail(0), {5, 5});
    EXPECT_FALSE(f.PageControl1->isVisible()) << "no game starts meanwhile";
    f.A1->trigger();  // another photograph, chosen before the first is in
    f.finishPendingWork();
    ASSERT_TRUE(f.faceAuthoring().adding());
    EXPECT_EQ(f.faceAuthoring().state().sourcePicture, TestPhoto::picture()) << "the later choice";
    EXPECT_EQ(f.faceAuthoring().state().sourceKind, 1);
    EXPECT_NE(f.cursor().shape(), Qt::BusyCursor);
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
    w.click(f.BitBtnCancel);
    EXPECT_TRUE(f.ScrollBox1->isVisible()) << "the first photograph, decoded meanwhile, opens nothing";

    startAuthoring(w, wide);
    const AuthoringState& a = f.faceAuthoring().state();
    EXPECT_EQ(a.sourcePicture.size(), QSize(4096, 512));
    EXPECT_EQ(a.sourceKind, 2);
    EXPECT_EQ(QSize(a.drawWidth, a.drawHeight), fitIntoFaceBox(8192, 1024));
    expectDrawnOver(f, fitIntoFaceBox(8192, 1024), 0xff40a060);
}

// The zoom rectangle: the first press arms it, a drag draws it dotted blue,
// only a rectangle with width and height enables the second press.
TEST(Zoom, ArmsDrawsTheRectangleAndEnablesOnlyARealRectangle) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startAuthoring(w, writeBitmapPicture(dir, QStringLiteral("p.bmp"), flatPicture(400, 300, 0xff808080)));
    const QString prompt = f.Label1->caption();

    w.click(f.BitBtnHantei);
    EXPECT_TRUE(f.faceAuthoring().state().zoomArmed);
    EXPECT_EQ(f.faceAuthoring().state().currentPart, 6);
    EXPECT_FALSE(f.BitBtnHantei->isEnabled());
    for (int s = 1; s <= 4; ++s) EXPECT_FALSE(f.partTitle(s)->isEnabled());
    EXPECT_EQ(f.Label1->caption(), prompt);

    // A drag along one row, and one that ends where it began.
    strokeOnFace(w, {{50, 60}, {120, 60}});
    EXPECT_FALSE(f.BitBtnHantei->isEnabled());
    strokeOnFace(w, {{50, 60}, {80, 90}, {50, 60}});
    EXPECT_FALSE(f.BitBtnHantei->isEnabled());
    EXPECT_EQ(f.Label1->caption(), prompt);

    ImageControl* face = f.ImgFace1;
    w.press(face, {40, 50});
    w.move(face, {100, 80});
    w.move(face, {140, 110});
    // The rectangle of the latest move only, dotted: blue on its edges,
    // the picture between the dots and inside.
    const QImage shown = face->picture();
    int blueOnTop = 0;
    for (int x = 40; x <= 140; ++x) blueOnTop += shown.pixel(x, 50) == kBlue;
    EXPECT_GT(blueOnTop, 20);
    EXPECT_LT(blueOnTop, 101);
    EXPECT_NE(shown.pixel(100, 80), kBlue) << "the previous rectangle is wiped";
    EXPECT_NE(shown.pixel(70, 80), kBlue);
    w.release(face, {140, 110});
    EXPECT_TRUE(f.BitBtnHantei->isEnabled());
    EXPECT_TRUE(f.Label1->caption().startsWith(QStringLiteral("選択した部分を拡大表示する場合は")));
}

// The zoom cuts from the full-resolution picture: the 200 x 100 rectangle at
// (50, 100) of a 1200 x 900 photograph (k = 4) is the 800 x 400 region at
// (200, 400), shown 300 x 150.
TEST(Zoom, CutsTheRegionFromTheFullResolutionPictureAndIsOfferedOnce) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    // 100-pixel blocks, each its own colour: where a pixel came from shows.
    QImage photo(1200, 900, QImage::Format_RGB32);
    auto blockColour = [](int x, int y) { return qRgb(20 * (x / 100), 25 * (y / 100), 200); };
    for (int y = 0; y < 900; ++y)
        for (int x = 0; x < 1200; ++x) photo.setPixel(x, y, blockColour(x, y));
    startAuthoring(w, writeJpegPicture(dir, QStringLiteral("big.jpg"), photo));

    w.click(f.BitBtnHantei);
    strokeOnFace(w, {{250, 200}, {150, 150}, {50, 100}});  // dragged up-left: normalised
    w.click(f.BitBtnHantei);

    EXPECT_EQ(f.faceAuthoring().state().sourceKind, 1);
    ASSERT_EQ(f.faceAuthoring().state().sourcePicture.size(), QSize(800, 400));
    EXPECT_EQ(QSize(f.faceAuthoring().state().drawWidth, f.faceAuthoring().state().drawHeight), QSize(300, 150));
    for (int y = 50; y < 400; y += 100)
        for (int x = 50; x < 800; x += 100)
            EXPECT_TRUE(closeColour(f.faceAuthoring().state().sourcePicture.pixel(x, y), blockColour(200 + x, 400 + y), 8))
                << x << "," << y;
    // Shown nearest neighbour: face-box pixel (x, y) is picture pixel (x * 8 / 3, y * 8 / 3).
    const QImage& box = f.ImgFace1->picture();
    EXPECT_TRUE(closeColour(box.pixel(290, 140), blockColour(200 + 290 * 8 / 3, 400 + 140 * 8 / 3), 8));
    EXPECT_TRUE(closeColour(box.pixel(10, 10), blockColour(200 + 26, 400 + 26), 8));
    EXPECT_EQ(box.pixel(150, 150), kWhite);
    EXPECT_EQ(box.pixel(150, 200), kWhite);

    EXPECT_FALSE(f.faceAuthoring().state().zoomArmed);
    EXPECT_EQ(f.faceAuthoring().state().currentPart, 0);
    EXPECT_FALSE(f.BitBtnHantei->isVisible()) << "one zoom per authoring";
    for (int s = 1; s <= 4; ++s) EXPECT_TRUE(f.partTitle(s)->isEnabled());
    EXPECT_TRUE(f.Label1->caption().startsWith(QStringLiteral("作成したい部分のタイトルを左クリックしてから、\r")));
}

// A rectangle that covers less than one pixel of a tiny picture cuts
// nothing: the zoom is not carried out and stays offered.
TEST(Zoom, ARectangleSmallerThanOnePicturePixelChangesNothing) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startAuthoring(w, writeBitmapPicture(dir, QStringLiteral("tiny.bmp"), flatPicture(9, 9)));
    w.click(f.BitBtnHantei);
    strokeOnFace(w, {{10, 10}, {12, 12}});
    w.click(f.BitBtnHantei);
    EXPECT_EQ(f.faceAuthoring().state().sourcePicture.size(), QSize(9, 9));
    EXPECT_TRUE(f.faceAuthoring().state().zoomArmed);
    EXPECT_TRUE(f.BitBtnHantei->isVisible());
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}
