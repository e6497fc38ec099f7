// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window/game_window.h"

#include "board/painted_cells.h"
#include "board/scroll_box.h"

#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

int ScriptedRandom::below(int bound) {
    if (values.empty()) return 0;
    const int v = values.front();
    values.pop_front();
    return ((v % bound) + bound) % bound;
}

int RecordingMedia::sendString(const QString& command, QString* reply) {
    commands << command;
    if (reply && command.startsWith(QStringLiteral("status"), Qt::CaseInsensitive)) *reply = statusReply;
    return failCode;
}

GameWindow::GameWindow(const TempAppDir& dir, bool realDialogs) : GameWindow(dir, GameWindowOptions{realDialogs, {}, {}}) {}

GameWindow::GameWindow(const TempAppDir& dir, GameWindowOptions options) {
    Form1Services s;
    // Left empty, the window makes its own real message boxes.
    auto d = options.realDialogs ? nullptr : std::make_unique<ScriptedDialogs>();
    auto sh = std::make_unique<RecordingShell>();
    auto r = std::make_unique<ScriptedRandom>();
    dialogs = d.get();
    shell = sh.get();
    random = r.get();
    if (options.media) {
        s.media = std::move(options.media);
    } else {
        auto m = std::make_unique<RecordingMedia>();
        media = m.get();
        s.media = std::move(m);
    }
    if (d) s.partySetup = std::make_unique<ScriptedPartySetup>(*d);
    s.dialogs = std::move(d);
    s.shell = std::move(sh);
    s.random = std::move(r);
    s.timersCallHandlers = false;
    s.today = [today = options.today] { return today; };
    s.clock = [clock = clock] { return clock->read(); };
    form = std::make_unique<TForm1>(dir.path(), std::move(s));
    form->faceAuthoring().partFinder().setModelPath(
        options.faceModel.isEmpty() ? dir.file(QStringLiteral("no-face-model.dat")) : options.faceModel);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    // The thumbnails decoded behind the title are in, as a player sees them
    // a moment after the start.
    form->finishPendingWork();
}

GameWindow::~GameWindow() = default;

void GameWindow::finishTitle() {
    for (int i = 0; i < 5; ++i) form->Timer1Timer();
}

QPoint GameWindow::windowPos(Spot s, QPoint at) const {
    const QPoint inWidget = at == QPoint(-1, -1) ? s.area.center() : s.area.topLeft() + at;
    return s.widget->mapTo(form.get(), inWidget);
}

void GameWindow::click(Spot s, QPoint at, Qt::MouseButton button) {
    QTest::mouseClick(form->windowHandle(), button, Qt::NoModifier, windowPos(s, at));
    // A registration or deletion the click started is written on its own
    // thread; the test reads on once the window has taken it in.
    form->finishPendingWork();
}

void GameWindow::clickWithoutWaiting(Spot s, QPoint at) {
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, Qt::NoModifier, windowPos(s, at));
}

void GameWindow::press(Spot s, QPoint at, Qt::MouseButton button) {
    QTest::mousePress(form->windowHandle(), button, Qt::NoModifier, windowPos(s, at));
}

void GameWindow::move(Spot s, QPoint at) {
    QTest::mouseMove(form->windowHandle(), windowPos(s, at));
}

void GameWindow::release(Spot s, QPoint at, Qt::MouseButton button) {
    QTest::mouseRelease(form->windowHandle(), button, Qt::NoModifier, windowPos(s, at));
}

Spot GameWindow::thumbnail(int face) {
    const QRect cell = thumbnailCell(face);
    ScrollBox* box = form->ScrollBox1;
    // Scrolled only when the cell is not wholly in sight, as a player would.
    if (!box->shownArea().contains(cell)) box->setVerticalPosition(cell.top() - 8);
    return Spot(form->ThumbnailGrid, cell);
}

int GameWindow::thumbnailCount() const { return form->ThumbnailGrid->count(); }

bool GameWindow::thumbnailShown(int face) const { return form->faceSelection().thumbnailShown(face); }

QImage GameWindow::thumbnailPicture(int face) const {
    const CellPicture* picture = form->faceSelection().thumbnail(face);
    return picture ? picture->picture : QImage();
}

QSize GameWindow::thumbnailSourceSize(int face) const {
    const CellPicture* picture = form->faceSelection().thumbnail(face);
    return picture ? picture->sourceSize : QSize();
}

QRect GameWindow::thumbnailCell(int face) const { return form->ThumbnailGrid->itemRect(face); }

QRect GameWindow::thumbnailDrawnRect(int face) const {
    const QImage picture = thumbnailPicture(face);
    return picture.isNull() ? QRect() : QRect(QPoint(0, 0), picture.size());
}
