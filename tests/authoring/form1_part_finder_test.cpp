// SPDX-License-Identifier: GPL-3.0-or-later
// 「自動で囲む」 through the real window with the real landmark model: the
// model loads behind a responsive window, one click proposes the zoom and
// the four outlines, the face registers and plays like a hand-drawn one;
// several faces are offered, none is said, and a model file that is missing
// or broken only disables the button. Every prompt on the way keeps clear
// of the part titles, the face box and the buttons.
#include "../detection/test_photos.h"
#include "authoring/authoring_look.h"
#include "authoring/shrink.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "catalogue/catalogue_files.h"
#include "detection/face_model.h"
#include "files/app_error.h"
#include "form1_authoring_driver.h"
#include "pictures/outline.h"

#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Waits, letting the window's events through, until the model has loaded
// (or failed to) and no search runs.
void waitForFinder(TForm1& f) {
    PartFinder& finder = f.faceAuthoring().partFinder();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return f.BitBtnZido->text() == QStringLiteral("自動で囲む") && !finder.searching(); }, 60000));
}

// The astronaut and Grace Hopper side by side.
QImage twoFacePicture() {
    QImage pair(1000, 700, QImage::Format_RGB32);
    pair.fill(qRgb(128, 128, 128));
    QPainter painter(&pair);
    painter.drawImage(QPoint(0, 94), testPhoto("astronaut.png"));
    const QImage hopper = testPhoto("grace_hopper.jpg");
    painter.drawImage(QRect(QPoint(500, 0), hopper.size().scaled(500, 700, Qt::KeepAspectRatio)), hopper);
    return pair;
}

// Every line of every shown text (each as wide as its own text, a line's
// height apart, the last reaching the label's bottom) keeps half a line of
// 12-point text clear of the controls the player looks at, and stays inside
// the window.
void expectPromptsClear(const TForm1& f, const char* step) {
    SCOPED_TRACE(step);
    constexpr int kClearance = 8;
    std::vector<const QWidget*> others = {f.ImgFace1, f.BitBtnHantei, f.BitBtnToroku, f.BitBtnCancel, f.BitBtnZido};
    for (int s = 1; s <= 4; ++s) others.push_back(f.partTitle(s));
    for (const ImageControl* face : f.faceAuthoring().partFinder().offeredFaces()) others.push_back(face);
    int checked = 0;
    for (const CaptionLabel* label : f.ClientArea->findChildren<CaptionLabel*>()) {
        if (!label->isVisible() || std::find(others.begin(), others.end(), label) != others.end()) continue;
        const QFontMetrics metrics(label->font());
        const QStringList lines = label->text().split(QLatin1Char('\n'));
        const int spare = label->height() - int(lines.size()) * metrics.lineSpacing();
        for (int i = 0; i < lines.size(); ++i, ++checked) {
            const QRect line(label->x(), label->y() + i * metrics.lineSpacing(), metrics.horizontalAdvance(lines[i]),
                             metrics.lineSpacing() + (i + 1 == lines.size() ? spare : 0));
            EXPECT_TRUE(f.ClientArea->rect().contains(line)) << label->objectName().toStdString();
            for (const QWidget* other : others)
                EXPECT_FALSE(other->isVisible() &&
                             line.adjusted(-kClearance, -kClearance, kClearance, kClearance).intersects(other->geometry()))
                    << label->objectName().toStdString() << " line at y " << line.y() << " ending at x " << line.right()
                    << " meets " << other->objectName().toStdString();
        }
    }
    EXPECT_GT(checked, 0);
}

}  // namespace

// The first visit shows 「自動で囲む」 loading; one click proposes the zoom and
// the four outlines; the face registers and plays. 「自動で囲む」 after the
// player's own zoom searches the whole photograph again and makes the
// proposal's own zoom: the same zoom, outlines and parts as without it.
TEST(PartFinder, OneClickProposesTheZoomAndFourOutlinesThatRegisterAndPlay) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir, GameWindowOptions{false, {}, kFaceModelPath});
    TForm1& f = *w.form;

    const QString photo = writeJpegPicture(dir, QStringLiteral("astronaut.jpg"), testPhoto("astronaut.png"));
    startAuthoring(w, photo);
    expectPromptsClear(f, "a photograph loaded");
    EXPECT_TRUE(f.BitBtnZido->isVisible());
    EXPECT_EQ(f.BitBtnZido->text(), QStringLiteral("準備中…")) << "the model loads off the window's thread";
    EXPECT_FALSE(f.BitBtnZido->isEnabled());
    for (QWidget* other : {static_cast<QWidget*>(f.BitBtnHantei), static_cast<QWidget*>(f.BitBtnCancel),
                           static_cast<QWidget*>(f.ImgFace1)})
        EXPECT_FALSE(f.BitBtnZido->geometry().intersects(other->geometry())) << other->objectName().toStdString();
    waitForFinder(f);
    ASSERT_TRUE(f.BitBtnZido->isEnabled());

    w.click(f.BitBtnZido);
    EXPECT_TRUE(f.faceAuthoring().partFinder().searching());
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
    waitForFinder(f);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // As if the player had zoomed and circled all four parts.
    const AuthoringState& a = f.faceAuthoring().state();
    EXPECT_EQ(a.sourceKind, 1) << "zoomed";
    EXPECT_LT(a.sourcePicture.width(), 512);
    EXPECT_FALSE(f.BitBtnHantei->isVisible());
    for (int s = 1; s <= 4; ++s) {
        EXPECT_TRUE(a.outlined[s]) << s;
        EXPECT_GE(a.outlinePoints[s].size(), 8u) << s;
        EXPECT_EQ(outlineBox(a.outlinePoints[s]).minX, a.boxMinX[s]);
        EXPECT_EQ(f.partPreview(s)->size(), QSize(a.boxMaxX[s] - a.boxMinX[s], a.boxMaxY[s] - a.boxMinY[s]));
        EXPECT_EQ(a.fillColor[s], a.fillColor[1]) << "one skin colour for all";
    }
    EXPECT_TRUE(f.Label1->caption().startsWith(AuthoringTexts::ReadyToRegister));
    EXPECT_TRUE(f.BitBtnToroku->isVisible() && f.BitBtnToroku->isEnabled());
    EXPECT_TRUE(f.faceAuthoring().partFinder().offeredFaces().empty()) << "her mission patch is no face";
    expectPromptsClear(f, "ready to register");
    const AuthoringState proposed = a;

    // The player redraws the mouth by hand, exactly as before.
    const OutlineBox mouth = outlineBox(a.outlinePoints[4]);
    outlinePart(w, 4, QRect(mouth.minX + 2, mouth.minY, mouth.width() - 4, mouth.height()));
    EXPECT_TRUE(a.outlined[4]);
    EXPECT_EQ(a.boxMinX[4], mouth.minX + 2);

    w.click(f.BitBtnToroku);
    ASSERT_EQ(f.catalogue.faceCount, 4);
    EXPECT_FALSE(f.BitBtnZido->isVisible()) << "authoring only";
    for (int s = 1; s <= 4; ++s) {
        const QImage part = readFacePicture(dir.path(), 3, s);
        EXPECT_LE(std::max(part.width(), part.height()), kMaxPartSide) << s;
        EXPECT_EQ(part.width(), a.boxMaxX[s] - a.boxMinX[s]) << "no shrink needed for part " << s;
        EXPECT_EQ(answerX(f.catalogue.faceAnswers[3], s), a.boxMinX[s]);
    }
    w.click(w.thumbnail(3), {5, 5});
    EXPECT_TRUE(f.PageControl1->isVisible()) << "the new face plays";
    w.click(f.BitBtnCancel);

    startAuthoring(w, photo);
    w.click(f.BitBtnHantei);
    strokeOnFace(w, {{40, 0}, {140, 100}, {240, 200}});  // a rough rectangle around the head
    expectPromptsClear(f, "a zoom rectangle chosen");
    w.click(f.BitBtnHantei);
    ASSERT_EQ(a.sourcePicture.size(), QSize(341, 341)) << "zoomed by hand";
    w.click(f.LblHana);
    expectPromptsClear(f, "outlining");
    w.click(f.BitBtnZido);
    waitForFinder(f);
    EXPECT_EQ(QRect(QPoint(a.boxMinX[6], a.boxMinY[6]), QPoint(a.boxMaxX[6], a.boxMaxY[6])),
              QRect(QPoint(proposed.boxMinX[6], proposed.boxMinY[6]), QPoint(proposed.boxMaxX[6], proposed.boxMaxY[6])));
    EXPECT_TRUE(a.sourcePicture == proposed.sourcePicture) << "the proposal's own zoom of the photograph";
    EXPECT_EQ(QSize(a.drawWidth, a.drawHeight), QSize(proposed.drawWidth, proposed.drawHeight));
    for (int s = 1; s <= 4; ++s) {
        EXPECT_TRUE(a.outlinePoints[s] == proposed.outlinePoints[s]) << "part " << s;
        EXPECT_GE(a.boxMaxX[s] - a.boxMinX[s], 30) << "part " << s << " outlined at the proposal's size";
        EXPECT_TRUE(a.outlined[s]);
    }
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}

// Two faces in one photo: the surer one is proposed and both are offered,
// with the hint to them as long as the small faces show, whatever the
// prompt; a click on the other proposes it. Each face keeps what the player
// redrew on it while the player looks at the other and comes back, and
// registers with it.
TEST(PartFinder, OffersEveryFaceFoundAndEachKeepsItsHandEdits) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir, GameWindowOptions{false, {}, kFaceModelPath});
    TForm1& f = *w.form;
    startAuthoring(w, writeJpegPicture(dir, QStringLiteral("pair.jpg"), twoFacePicture()));
    waitForFinder(f);
    w.click(f.BitBtnZido);
    waitForFinder(f);
    const AuthoringState& a = f.faceAuthoring().state();
    const std::vector<ImageControl*>& offered = f.faceAuthoring().partFinder().offeredFaces();
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_TRUE(shownTexts(f).contains(AuthoringTexts::OtherFaces));
    const int firstZoomCentre = (a.boxMinX[6] + a.boxMaxX[6]) / 2;
    for (ImageControl* face : offered) {
        EXPECT_FALSE(face->geometry().intersects(f.BitBtnCancel->geometry()));
        EXPECT_FALSE(face->geometry().intersects(f.BitBtnZido->geometry()));
    }
    // Every prompt a proposal can make keeps clear, the small faces showing:
    // the longest is that of an unsure search of a tiny face.
    for (const bool unsure : {false, true})
        for (const bool tiny : {false, true}) {
            f.Label1->setCaption(AuthoringTexts::proposalPrompt(unsure, tiny));
            expectPromptsClear(f, unsure ? (tiny ? "unsure, tiny" : "unsure") : (tiny ? "tiny" : "sure"));
        }

    const OutlineBox mouth = outlineBox(a.outlinePoints[4]);
    const QRect redrawn(mouth.minX + 3, mouth.minY - 2, mouth.width() - 6, mouth.height() + 4);
    outlinePart(w, 4, redrawn);
    const OutlinePointList handMouth = a.outlinePoints[4];
    const QImage handMouthPicture = f.partPreview(4)->picture();
    EXPECT_TRUE(shownTexts(f).contains(AuthoringTexts::OtherFaces)) << "after a redraw too";
    outlinePart(w, 1, QRect(a.boxMinX[1], a.boxMinY[1], 10, 10));
    w.click(f.LblRMe);  // the right eye taken back: not outlined when the player leaves
    EXPECT_FALSE(a.outlined[1]);
    EXPECT_TRUE(shownTexts(f).contains(AuthoringTexts::OtherFaces)) << "while outlining";
    expectPromptsClear(f, "several faces found, outlining");

    w.click(offered[1]);
    const QRect secondZoom(QPoint(a.boxMinX[6], a.boxMinY[6]), QPoint(a.boxMaxX[6], a.boxMaxY[6]));
    EXPECT_NE(firstZoomCentre < 150, secondZoom.center().x() < 150) << "the other half of the photo";
    for (int s = 1; s <= 4; ++s) EXPECT_TRUE(a.outlined[s]) << "the other face, as proposed";
    w.click(offered[0]);
    EXPECT_TRUE(a.outlinePoints[4] == handMouth) << "the hand-drawn mouth is back";
    EXPECT_EQ(QRect(a.boxMinX[4], a.boxMinY[4], a.boxMaxX[4] - a.boxMinX[4], a.boxMaxY[4] - a.boxMinY[4]), redrawn);
    EXPECT_TRUE(f.partPreview(4)->picture() == handMouthPicture);
    EXPECT_FALSE(a.outlined[1]) << "and the right eye still to draw";
    EXPECT_FALSE(f.BitBtnToroku->isEnabled());
    EXPECT_TRUE(shownTexts(f).contains(AuthoringTexts::OtherFaces));
    w.click(offered[1]);
    EXPECT_EQ(QRect(QPoint(a.boxMinX[6], a.boxMinY[6]), QPoint(a.boxMaxX[6], a.boxMaxY[6])), secondZoom);

    // The face box shows what the state says: the mouth painted where the
    // player drew it, on the first face.
    w.click(offered[0]);
    outlinePart(w, 1, QRect(a.boxMinX[2] - 100, a.boxMinY[2], 40, 20));
    EXPECT_TRUE(f.BitBtnToroku->isEnabled());
    w.click(f.BitBtnToroku);
    ASSERT_EQ(f.catalogue.faceCount, 4);
    EXPECT_EQ(answerX(f.catalogue.faceAnswers[3], 4), redrawn.x());
    EXPECT_FALSE(shownTexts(f).contains(AuthoringTexts::OtherFaces));
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}

// A photo without a face says so beside the button and leaves the outlining
// to the player, the prompt as it was: the zoom instructions while 「ズーム」
// is offered, the outlining ones after a zoom. The word goes once the player
// zooms or outlines.
TEST(PartFinder, NoFaceFoundIsSaidAndThePromptKeepsTheZoomWhileItIsOffered) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir, GameWindowOptions{false, {}, kFaceModelPath});
    TForm1& f = *w.form;
    const AuthoringState& a = f.faceAuthoring().state();
    startAuthoring(w, writeJpegPicture(dir, QStringLiteral("cup.jpg"), coffeeCupPicture()));
    waitForFinder(f);
    w.click(f.BitBtnZido);
    waitForFinder(f);
    expectPromptsClear(f, "no face found");
    EXPECT_EQ(shownTexts(f), (QStringList{AuthoringTexts::ZoomOffered, AuthoringTexts::FacesNotFound}));
    EXPECT_TRUE(f.BitBtnHantei->isVisible() && f.BitBtnHantei->isEnabled()) << "the zoom still offered";
    for (int s = 1; s <= 4; ++s) EXPECT_FALSE(a.outlined[s]);
    EXPECT_FALSE(f.BitBtnToroku->isVisible());
    EXPECT_TRUE(f.faceAuthoring().partFinder().offeredFaces().empty());

    w.click(f.BitBtnHantei);
    strokeOnFace(w, {{100, 80}, {220, 200}});
    w.click(f.BitBtnHantei);
    EXPECT_EQ(shownTexts(f), QStringList{AuthoringTexts::Outlining}) << "zoomed: the word has been heeded";
    w.click(f.BitBtnZido);
    waitForFinder(f);
    EXPECT_EQ(shownTexts(f), (QStringList{AuthoringTexts::Outlining, AuthoringTexts::FacesNotFound}));
    outlinePart(w, 3, partBox(3));
    EXPECT_EQ(shownTexts(f), QStringList{AuthoringTexts::Outlining});
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}

// A face so small that the proposal enlarges the photo more than three times
// is proposed with the word that it may come out blurred (at 3.8 times the
// eyes are blocks), its prompt clear of the titles; at 2.6 times, not.
TEST(PartFinder, ATinyFaceIsProposedWithTheWordThatItMayBeBlurred) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir, GameWindowOptions{false, {}, kFaceModelPath});
    TForm1& f = *w.form;
    const AuthoringState& a = f.faceAuthoring().state();
    for (const auto& [side, blurred] : {std::pair{220, true}, {300, false}}) {
        SCOPED_TRACE(side);
        QImage photo(1000, 666, QImage::Format_RGB32);
        photo.fill(qRgb(90, 110, 130));
        QPainter(&photo).drawImage(QRect(333, 166, side, side), testPhoto("astronaut.png"));
        startAuthoring(w, writeBitmapPicture(dir, QStringLiteral("small%1.bmp").arg(side), photo));
        waitForFinder(f);
        w.click(f.BitBtnZido);
        waitForFinder(f);
        EXPECT_EQ(f.Label1->caption().contains(AuthoringTexts::SmallFace), blurred)
            << double(a.drawWidth) / a.sourcePicture.width();
        for (int s = 1; s <= 4; ++s) EXPECT_TRUE(a.outlined[s]);
        EXPECT_TRUE(f.Label1->caption().endsWith(AuthoringTexts::ReadyToRegister));
        EXPECT_TRUE(f.BitBtnToroku->isEnabled()) << "offered all the same";
        expectPromptsClear(f, "a tiny face proposed");
        w.click(f.BitBtnCancel);
    }
}

// Without the model the button stays disabled and names the package; a
// broken model file is reported once and only disables the button; a model
// still loading when the authoring ends loads on for the next visit, and
// says nothing.
TEST(PartFinder, AMissingOrBrokenModelOnlyDisablesTheButton) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    const QString broken = dir.file(QStringLiteral("broken.dat"));
    {
        QFile model(broken);
        ASSERT_TRUE(model.open(QIODevice::WriteOnly));
        model.write(QByteArray(4096, '\x17'));
    }
    GameWindow w(dir);
    TForm1& f = *w.form;
    const QString picture = writeBitmapPicture(dir, QStringLiteral("photo.bmp"), TestPhoto::picture());

    startAuthoring(w, picture);
    EXPECT_TRUE(f.BitBtnZido->isVisible());
    EXPECT_FALSE(f.BitBtnZido->isEnabled());
    EXPECT_EQ(f.BitBtnZido->text(), QStringLiteral("自動で囲む"));
    EXPECT_TRUE(f.BitBtnZido->toolTip().contains(QStringLiteral("libdlib-data")));
    outlineAllParts(w);
    EXPECT_TRUE(f.BitBtnToroku->isEnabled()) << "authoring by hand as ever";
    w.click(f.BitBtnCancel);

    f.faceAuthoring().partFinder().setModelPath(broken);
    startAuthoring(w, picture);
    waitForFinder(f);
    EXPECT_EQ(w.dialogs->errors, QStringList{fileOpenErrorText(broken)});
    EXPECT_FALSE(f.BitBtnZido->isEnabled());
    EXPECT_TRUE(f.faceAuthoring().state().addingFace);
    w.click(f.BitBtnCancel);

    f.faceAuthoring().partFinder().setModelPath(kFaceModelPath);
    startAuthoring(w, picture);
    w.click(f.BitBtnCancel);
    EXPECT_FALSE(f.BitBtnZido->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.faceAuthoring().partFinder().modelReady(); }, 60000));
    EXPECT_EQ(w.dialogs->errors.size(), 1);
    EXPECT_FALSE(f.BitBtnZido->isVisible());
}

// Quick visits to the authoring share one load of the model; once loaded it
// is kept a while after the authoring ends, so that the next visit finds
// 「自動で囲む」 ready at once, and then let go. The next load starts as
// 「顔の追加」 is chosen, so that the picture dialog hides it; a dialog
// cancelled leaves the model to be let go like an ended authoring.
TEST(PartFinder, QuickVisitsShareOneLoadTheModelIsKeptAWhileAndLoadsBehindThePictureDialog) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir, GameWindowOptions{false, {}, kFaceModelPath});
    TForm1& f = *w.form;
    PartFinder& finder = f.faceAuthoring().partFinder();
    const QString picture = writeBitmapPicture(dir, QStringLiteral("photo.bmp"), TestPhoto::picture());

    for (int i = 0; i < 10; ++i) {
        startAuthoring(w, picture);
        w.click(f.BitBtnCancel);
    }
    startAuthoring(w, picture);
    EXPECT_EQ(finder.modelLoadsStarted(), 1) << "eleven visits, one load";
    waitForFinder(f);
    ASSERT_TRUE(f.BitBtnZido->isEnabled());
    w.click(f.BitBtnCancel);

    startAuthoring(w, picture);
    EXPECT_TRUE(f.BitBtnZido->isEnabled()) << "the model is kept after the authoring ended";
    EXPECT_EQ(f.BitBtnZido->text(), QStringLiteral("自動で囲む"));
    finder.setModelKeepTime(std::chrono::milliseconds(0));  // instead of a minute
    w.click(f.BitBtnCancel);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !finder.modelReady(); }, 10000)) << "let go once kept long enough";

    finder.setModelKeepTime(std::chrono::minutes(1));
    bool readyInDialog = false;
    w.dialogs->whileOpenFile = [&] { readyInDialog = QTest::qWaitFor([&] { return finder.modelReady(); }, 60000); };
    startAuthoring(w, picture);
    EXPECT_TRUE(readyInDialog) << "the model loads behind the picture dialog";
    EXPECT_TRUE(f.BitBtnZido->isEnabled()) << "ready as the photograph shows";
    EXPECT_EQ(finder.modelLoadsStarted(), 2);
    w.click(f.BitBtnCancel);
    finder.setModelKeepTime(std::chrono::milliseconds(0));
    w.dialogs->whileOpenFile = nullptr;
    f.A1->trigger();  // the dialog cancelled
    EXPECT_FALSE(f.faceAuthoring().adding());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !finder.modelReady(); }, 10000));
    EXPECT_EQ(finder.modelLoadsStarted(), 2);
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}
