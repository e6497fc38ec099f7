// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window/play_driver.h"

#include "board/image_control.h"
#include "board/painted_cells.h"
#include "play/blindfold.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

void startGameWith(GameWindow& w, int face) {
    if (w.form->faceSelection().titleShowing()) w.finishTitle();
    clickFace(w, face);
    ASSERT_TRUE(w.form->ImgFace1->isVisible()) << "the game did not start";
}

void clickFace(GameWindow& w, int face) { w.click(w.thumbnail(face), {5, 5}); }

void startParty(GameWindow& w, const PartySetup& setup) {
    if (w.form->faceSelection().titleShowing()) w.finishTitle();
    w.dialogs->partyAnswers.push_back(setup);
    w.form->Party1->trigger();
    w.form->finishPendingWork();  // the party's first write
}

void playPartyTurn(GameWindow& w, const FaceAnswer& answer, const std::array<QPoint, 5>& offsets) {
    TForm1& f = *w.form;
    ASSERT_EQ(f.BitBtnHantei->text(), QStringLiteral("はじめる"));
    clickHantei(w);
    ASSERT_TRUE(f.ImgFace1->isVisible()) << "the turn did not start";
    const BlindfoldCourse& course = f.game().blindfold().course();
    while (course.phase() == BlindPhase::Look) f.BlindTimerTimer();
    placeAtAnswers(w, answer, offsets);
    clickHantei(w);
    for (int i = 0; i < 100 && course.phase() == BlindPhase::Reveal; ++i) f.BlindTimerTimer();
    ASSERT_EQ(course.phase(), BlindPhase::Off);
    f.finishPendingWork();  // the turn written after a judgement the timer brought
}

void showPalette(GameWindow& w, int slot) { w.form->PageControl1->setCurrentIndex(slot - 1); }

Spot partSpot(GameWindow& w, int slot, int face) {
    if (partOnFace(w, slot, face)) return Spot(w.form->FaceParts[slot]);
    return Spot(w.form->PartCells[slot], w.form->PartCells[slot]->itemRect(face));
}

bool partOnFace(const GameWindow& w, int slot, int face) { return w.form->liesOnFace(slot, face); }

QPoint partPos(const GameWindow& w, int slot, int face) {
    if (partOnFace(w, slot, face)) return w.form->FaceParts[slot]->pos();
    return w.form->PartCells[slot]->itemRect(face).topLeft();
}

bool partShown(const GameWindow& w, int slot, int face) {
    if (partOnFace(w, slot, face)) return w.form->FaceParts[slot]->isVisible();
    return w.form->PartCells[slot]->isVisible() && !w.form->PartCells[slot]->itemHidden(face);
}

QImage partPicture(const GameWindow& w, int slot, int face) {
    if (partOnFace(w, slot, face)) return w.form->FaceParts[slot]->picture();
    const CellPicture* picture = w.form->game().partPicture(slot, face);
    return picture ? picture->picture : QImage();
}

void dragPart(GameWindow& w, Spot part, QPoint grab, Spot target, QPoint at, Qt::MouseButton button) {
    // Both points are taken before the press, which may send a part home.
    const QPoint from = w.windowPos(part, grab);
    const QPoint to = w.windowPos(target, at);
    w.press(part, grab, button);
    QTest::mouseMove(w.form->windowHandle(), (from + to) / 2);
    QTest::mouseMove(w.form->windowHandle(), to);
    QTest::mouseRelease(w.form->windowHandle(), button, Qt::NoModifier, to);
}

void placePart(GameWindow& w, int slot, int face, QPoint onFace) {
    if (!partOnFace(w, slot, face)) showPalette(w, slot);
    const QPoint grab(1, 1);
    dragPart(w, partSpot(w, slot, face), grab, w.form->ImgFace1, onFace + grab);
}

void placeAtAnswers(GameWindow& w, const FaceAnswer& answer, const std::array<QPoint, 5>& offsets) {
    const int face = w.form->game().state().currentFace;
    for (int s = 1; s <= 4; ++s) placePart(w, s, face, QPoint(answerX(answer, s), answerY(answer, s)) + offsets[s]);
}

void clickHantei(GameWindow& w) { w.click(w.form->BitBtnHantei); }
void clickCancel(GameWindow& w) { w.click(w.form->BitBtnCancel); }

void typeText(QWidget* field, const QString& text) {
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QStringList listItems(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

bool nearColour(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}
