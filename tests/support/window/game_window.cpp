// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window/game_window.h"

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
    s.dialogs = std::move(d);
    s.shell = std::move(sh);
    s.random = std::move(r);
    s.timersCallHandlers = false;
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

QPoint GameWindow::windowPos(QWidget* w, QPoint at) const {
    if (at == QPoint(-1, -1)) at = w->rect().center();
    return w->mapTo(form.get(), at);
}

void GameWindow::click(QWidget* w, QPoint at, Qt::MouseButton button) {
    QTest::mouseClick(form->windowHandle(), button, Qt::NoModifier, windowPos(w, at));
    // A registration or deletion the click started is written on its own
    // thread; the test reads on once the window has taken it in.
    form->finishPendingWork();
}

void GameWindow::clickWithoutWaiting(QWidget* w, QPoint at) {
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, Qt::NoModifier, windowPos(w, at));
}

void GameWindow::press(QWidget* w, QPoint at, Qt::MouseButton button) {
    QTest::mousePress(form->windowHandle(), button, Qt::NoModifier, windowPos(w, at));
}

void GameWindow::move(QWidget* w, QPoint at) {
    QTest::mouseMove(form->windowHandle(), windowPos(w, at));
}

void GameWindow::release(QWidget* w, QPoint at, Qt::MouseButton button) {
    QTest::mouseRelease(form->windowHandle(), button, Qt::NoModifier, windowPos(w, at));
}
