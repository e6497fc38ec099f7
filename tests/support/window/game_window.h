// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real main window on a temporary application folder, with scripted
// dialogs, a recording desktop, a scripted random source and a recording
// media device; and real mouse input routed through the window.
#include "authoring/face_authoring.h"
#include "authoring/face_deleting.h"
#include "board/command_button.h"
#include "main/form1.h"
#include "music/music_player.h"
#include "play/face_selection.h"
#include "play/game_screen.h"
#include "support/temp_app_dir.h"
#include "support/window/scripted_dialogs.h"

#include <QDate>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <deque>
#include <memory>

class ScriptedRandom : public RandomSource {
public:
    std::deque<int> values;  // next results (taken modulo the bound); 0 when empty
    int seeds = 0;
    void seedFromClock() override { ++seeds; }
    int below(int bound) override;
};

class RecordingMedia : public MediaControl {
public:
    QStringList commands;
    QString statusReply = QStringLiteral("playing");
    int failCode = 0;  // returned for every command when non-zero
    int sendString(const QString& command, QString* reply) override;
};

// The window's clock, in milliseconds. Unless a test holds it, it moves on a
// minute at every reading: every press comes long after the last change of a
// button, as a player's who takes their time. Held, it reads now, which the
// test moves itself (a double click: two presses within the system's
// double-click interval).
struct SteppingClock {
    qint64 now = 0;
    bool held = false;
    qint64 read() { return held ? now : now += 60'000; }
};

struct GameWindowOptions {
    // The window asks through real Qt message boxes (QtUserDialogs); dialogs
    // stays null.
    bool realDialogs = false;
    // A media device of the test's own; media (the recorder) stays null.
    std::unique_ptr<MediaControl> media;
    // The face model of 「自動で囲む」; none unless a test names one, so that
    // authoring does not load 95 MB for every test.
    QString faceModel{};
    // Today for the window (the New Year card's year); never the clock's.
    QDate today = QDate(2026, 12, 20);
};

// Where a test points the mouse: a widget, or one cell of a widget that
// paints many (area, in the widget's coordinates).
struct Spot {
    Spot(QWidget* w) : widget(w), area(w ? w->rect() : QRect()) {}
    Spot(QWidget* w, QRect cell) : widget(w), area(cell) {}
    QWidget* widget;
    QRect area;
};

struct GameWindow {
    // Creates the window on dir (which must already hold a catalogue) and shows it,
    // its thumbnails loaded. With realDialogs the window asks through real Qt
    // message boxes (QtUserDialogs) and dialogs stays null.
    explicit GameWindow(const TempAppDir& dir, bool realDialogs = false);
    GameWindow(const TempAppDir& dir, GameWindowOptions options);
    ~GameWindow();

    // Five title ticks: the face selection screen.
    void finishTitle();

    // Real mouse input at a point of a spot (from its top-left corner; its
    // centre by default). A click returns once the work it started behind
    // the window is done and taken in (TForm1::finishPendingWork).
    void click(Spot s, QPoint at = {-1, -1}, Qt::MouseButton button = Qt::LeftButton);
    // The same click, returning at once: the work it starts may still run.
    void clickWithoutWaiting(Spot s, QPoint at = {-1, -1});
    void press(Spot s, QPoint at, Qt::MouseButton button = Qt::LeftButton);
    void move(Spot s, QPoint at);
    void release(Spot s, QPoint at, Qt::MouseButton button = Qt::LeftButton);
    // Window coordinates of a point of a spot.
    QPoint windowPos(Spot s, QPoint at) const;

    // ---- The thumbnails, one painted cell per face ----
    // The cell of face, its box scrolled so that the cell shows.
    Spot thumbnail(int face);
    int thumbnailCount() const;
    // Shown, or hidden by the blink of a face chosen for deletion.
    bool thumbnailShown(int face) const;
    // The picture the cell draws, null when it has none (yet).
    QImage thumbnailPicture(int face) const;
    QSize thumbnailSourceSize(int face) const;
    // The cell in the content of ScrollBox1, and where in it the picture lies.
    QRect thumbnailCell(int face) const;
    QRect thumbnailDrawnRect(int face) const;

    std::unique_ptr<TForm1> form;
    ScriptedDialogs* dialogs = nullptr;
    RecordingShell* shell = nullptr;
    ScriptedRandom* random = nullptr;
    RecordingMedia* media = nullptr;
    std::shared_ptr<SteppingClock> clock = std::make_shared<SteppingClock>();

private:
    Qt::MouseButtons held_;
};
