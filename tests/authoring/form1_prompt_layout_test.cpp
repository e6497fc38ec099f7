// SPDX-License-Identifier: GPL-3.0-or-later
// The prompts of authoring as the window lays them out: every line of Label1
// and every note keeps clear of the part titles, the face box, the buttons
// and the small faces, in every step of an authoring and for every prompt a
// proposal can make.
#include "../detection/test_photos.h"
#include "authoring/authoring_look.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "detection/face_model.h"
#include "form1_authoring_driver.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Half a line of 12-point text: less and a prompt looks glued to its neighbour.
constexpr int kClearance = 8;

// Where the lines of a label's text lie: each as wide as its own text, a
// line's height apart, the last reaching the label's bottom.
std::vector<QRect> lineRects(const CaptionLabel* label) {
    const QFontMetrics metrics(label->font());
    const QStringList lines = label->text().split(QLatin1Char('\n'));
    std::vector<QRect> rects;
    const int spare = label->height() - int(lines.size()) * metrics.lineSpacing();
    for (int i = 0; i < lines.size(); ++i) {
        const int top = label->y() + i * metrics.lineSpacing();
        rects.emplace_back(label->x(), top, metrics.horizontalAdvance(lines[i]),
                           metrics.lineSpacing() + (i + 1 == lines.size() ? spare : 0));
    }
    return rects;
}

// Every line of every shown text keeps clear of the controls the player
// looks at and stays inside the window.
void expectPromptsClear(const TForm1& f, const char* step) {
    SCOPED_TRACE(step);
    std::vector<const QWidget*> others = {f.ImgFace1, f.BitBtnHantei, f.BitBtnToroku, f.BitBtnCancel, f.BitBtnZido};
    for (int s = 1; s <= 4; ++s) others.push_back(f.partTitle(s));
    for (const ImageControl* face : f.faceAuthoring().partFinder().offeredFaces()) others.push_back(face);
    int checked = 0;
    for (const CaptionLabel* label : f.ClientArea->findChildren<CaptionLabel*>()) {
        if (!label->isVisible() || std::find(others.begin(), others.end(), label) != others.end()) continue;
        for (const QRect& line : lineRects(label)) {
            ++checked;
            EXPECT_TRUE(f.ClientArea->rect().contains(line)) << label->objectName().toStdString();
            for (const QWidget* other : others) {
                if (!other->isVisible()) continue;
                EXPECT_FALSE(line.adjusted(-kClearance, -kClearance, kClearance, kClearance).intersects(other->geometry()))
                    << label->objectName().toStdString() << " line at y " << line.y() << " ending at x "
                    << line.right() << " meets " << other->objectName().toStdString();
            }
        }
    }
    EXPECT_GT(checked, 0);
}

}  // namespace

TEST(PromptLayout, EveryAuthoringPromptKeepsClearOfTheTitlesTheFaceBoxAndTheButtons) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3);
    GameWindow w(dir, GameWindowOptions{false, {}, kFaceModelPath});
    TForm1& f = *w.form;
    PartFinder& finder = f.faceAuthoring().partFinder();
    const auto waitForFinder = [&] {
        EXPECT_TRUE(QTest::qWaitFor([&] { return f.BitBtnZido->text() == QStringLiteral("自動で囲む") && !finder.searching(); }, 60000));
    };

    startAuthoring(w, writeBitmapPicture(dir, QStringLiteral("photo.bmp"), TestPhoto::picture()));
    expectPromptsClear(f, "a photograph loaded");
    w.click(f.BitBtnHantei);
    strokeOnFace(w, {{20, 20}, {280, 200}});
    expectPromptsClear(f, "a zoom rectangle chosen");
    w.click(f.BitBtnHantei);
    w.click(f.LblHana);
    expectPromptsClear(f, "outlining");
    outlineAllParts(w);
    expectPromptsClear(f, "ready to register");
    w.click(f.BitBtnCancel);

    // The words a search can add: none found, several found.
    startAuthoring(w, writeJpegPicture(dir, QStringLiteral("cup.jpg"), coffeeCupPicture()));
    waitForFinder();
    w.click(f.BitBtnZido);
    waitForFinder();
    expectPromptsClear(f, "no face found");
    w.click(f.BitBtnCancel);

    QImage pair(1000, 700, QImage::Format_RGB32);
    pair.fill(qRgb(128, 128, 128));
    {
        QPainter painter(&pair);
        painter.drawImage(QPoint(0, 94), testPhoto("astronaut.png"));
        const QImage hopper = testPhoto("grace_hopper.jpg");
        painter.drawImage(QRect(QPoint(500, 0), hopper.size().scaled(500, 700, Qt::KeepAspectRatio)), hopper);
    }
    startAuthoring(w, writeJpegPicture(dir, QStringLiteral("pair.jpg"), pair));
    waitForFinder();
    w.click(f.BitBtnZido);
    waitForFinder();
    ASSERT_EQ(finder.offeredFaces().size(), 2u);
    expectPromptsClear(f, "several faces found");
    w.click(f.LblKuti);
    expectPromptsClear(f, "several faces found, outlining");

    // Every prompt a proposal can make, the small faces showing: the longest
    // is that of an unsure search of a tiny face.
    for (const bool unsure : {false, true})
        for (const bool tiny : {false, true}) {
            f.Label1->setCaption(AuthoringTexts::proposalPrompt(unsure, tiny));
            expectPromptsClear(f, unsure ? (tiny ? "unsure, tiny" : "unsure") : (tiny ? "tiny" : "sure"));
        }
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}
