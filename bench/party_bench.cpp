// SPDX-License-Identifier: GPL-3.0-or-later
// A party of eight at 500 faces, through the window: 「次の人へ」 until the
// next player's hand-over is painted, and 「判定」 of a party's turn until the
// judged turn is painted (the turn is then written, on a thread of its own,
// into a Parties.ini that already holds a hundred finished parties); each with the
// longest wait of the window's thread, and each timed alternately with its
// floor (floors.h): for the hand-over a bare window of the game's size
// repainted with a new prompt; for the judgement the whole face decoded.
// And the write of one turn into that record, against the record's bytes
// written synced with one sync of the folder.
#include "bench_support.h"
#include "floors.h"

#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "board/painted_cells.h"
#include "catalogue/catalogue_mirror.h"
#include "catalogue/face_answers.h"
#include "files/ini_file.h"
#include "main/stretch_watchdog.h"
#include "party/party_record.h"
#include "party/party_screen.h"
#include "play/game_screen.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A game folder of its own whose catalogue links to the shared benchmark
// catalogue: the party's files never reach the shared folder.
QString linkedCatalogue(const QTemporaryDir& dir, int count) {
    const QString shared = benchCatalogue(count) + QStringLiteral("data/");
    const QString app = dir.path() + QLatin1Char('/');
    QDir().mkpath(app + QStringLiteral("data"));
    for (const QString& name : QDir(shared).entryList(QDir::Files))
        QFile::link(shared + name, app + QStringLiteral("data/") + name);
    // A hundred finished parties of eight over five rounds.
    IniFile record(app + QStringLiteral("data/Parties.ini"));
    for (int id = 1; id <= kKeptPartiesPerState; ++id) {
        std::vector<PartyPlayer> players;
        for (int p = 0; p < 8; ++p) players.push_back({defaultPlayerName(p), p % 3 == 0});
        Party party(players, 5);
        while (!party.finished()) {
            party.chooseFace(party.round());
            party.recordTurn({900 - party.turnsPlayed(), false});
        }
        keepParty(record, KeptParty{id, QStringLiteral("2026-01-02 10:30"), PartyState::Finished, party});
    }
    record.save();
    return app;
}

void waitUntil(const std::function<bool()>& done) {
    while (!done()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QApplication::processEvents();
}

// Party1 on a window whose dialog answers eight players over five rounds,
// and the first round's face.
// (The party's writes run on a thread of their own; each is let finish
// before the next press, so that every measurement starts alike.)
void beginParty(TForm1& form) {
    form.Party1Click();
    form.finishPendingWork();
    form.ImgFace0Click(0);
    form.finishPendingWork();
}

// From a hand-over: 「はじめる」, the game painted, the face's own four parts
// dropped on their answers; 「判定」 is next.
void placeTurn(TForm1& form) {
    form.finishPendingWork();
    form.BitBtnHanteiClick();
    waitUntil([&] { return form.ImgFace1->isVisible(); });
    const int face = form.game().state().currentFace;
    const FaceAnswer& answer = form.catalogue.faceAnswers[size_t(face)];
    for (int s = 1; s <= 4; ++s) {
        // The press grabs the mouse for the palette; the release reaches it there.
        form.PartsMouseDown(PartRef{s, face}, Qt::LeftButton, 1, 1);
        QWidget* palette = form.PartCells[size_t(s)];
        const QPoint onFace = form.ImgFace1->pos() + QPoint(answerX(answer, s) + 1, answerY(answer, s) + 1);
        form.game().partMouseUp(palette, Qt::LeftButton, palette->mapFrom(form.ClientArea, onFace));
    }
}

// From a judged turn to the next one judged: 「次の人へ」 (after the party's
// last turn its results, 「終わる」 and a new party), the round's face when
// one is asked for, and the turn.
void toJudgedTurn(TForm1& form) {
    form.BitBtnHanteiClick();
    if (form.BitBtnHantei->text() == QStringLiteral("終わる")) {
        form.BitBtnHanteiClick();
        beginParty(form);
    }
    if (form.party().choosingFace()) form.ImgFace0Click(0);
    placeTurn(form);
    form.BitBtnHanteiClick();
    form.finishPendingWork();
}

void floorHandOver() {
    QMainWindow w;
    auto* client = new QWidget;
    client->setFixedSize(722, 524);
    w.setCentralWidget(client);
    auto* label = new QLabel(QStringLiteral("前の人の番です。"), client);
    auto* face = new QLabel(client);
    face->setGeometry(8, 120, 300, 300);
    w.show();
    QApplication::processEvents();
    label->setText(QStringLiteral("次の人の番です。準備ができたら「はじめる」を押してください。"));
    face->hide();
    w.repaint();
}

void BM_PartyNextToHandOver(benchmark::State& state) {
    QTemporaryDir dir;
    auto form = benchWindow(linkedCatalogue(dir, int(state.range(0))));
    beginParty(*form);
    placeTurn(*form);
    form->BitBtnHanteiClick();
    form->finishPendingWork();
    StretchWatchdog watchdog(0);
    double longest = 0;
    measureAgainstFloor(
        state,
        [&] {
            // Every hand-over but a round's first: those begin with the face choice.
            watchdog.reset();
            form->BitBtnHanteiClick();
            waitUntil([&] { return form->BitBtnHantei->text() == QStringLiteral("はじめる"); });
            longest = std::max(longest, watchdog.longestMilliseconds());
        },
        floorHandOver,
        [&] {
            // Runs after the floor too: only from a hand-over, on to a judged
            // turn that a hand-over follows.
            if (form->BitBtnHantei->text() != QStringLiteral("はじめる")) return;
            placeTurn(*form);
            form->BitBtnHanteiClick();
            form->finishPendingWork();
            while (form->party().party()->player() == 0) toJudgedTurn(*form);
        });
    state.counters["longest_wait_ms"] = longest;
}

void BM_PartyJudgement(benchmark::State& state) {
    QTemporaryDir dir;
    const QString app = linkedCatalogue(dir, int(state.range(0)));
    auto form = benchWindow(app);
    beginParty(*form);
    placeTurn(*form);
    const QString record = app + QStringLiteral("data/Parties.ini");
    StretchWatchdog watchdog(0);
    double longest = 0;
    measureAgainstFloor(
        state,
        [&] {
            watchdog.reset();
            form->BitBtnHanteiClick();
            QApplication::processEvents();
            longest = std::max(longest, watchdog.longestMilliseconds());
        },
        [&] { benchmark::DoNotOptimize(floorDecode(floorRead(app + QStringLiteral("data/face0_0.jpg")))); },
        [&] {
            // Runs after the floor too: only from a judged turn, on to the
            // next turn placed.
            form->finishPendingWork();
            if (form->BitBtnHantei->text() == Texts::Hantei) return;
            form->BitBtnHanteiClick();  // 次の人へ, or 結果を見る
            if (form->BitBtnHantei->text() == QStringLiteral("終わる")) {
                form->BitBtnHanteiClick();
                beginParty(*form);
            } else if (form->party().choosingFace()) {
                form->ImgFace0Click(0);
                form->finishPendingWork();
            }
            placeTurn(*form);
        });
    state.counters["longest_wait_ms"] = longest;
    state.counters["record_kb"] = double(QFileInfo(record).size()) / 1024;
}

// One turn written into a record of a hundred finished parties of eight over
// five rounds, against the record's bytes written synced with one sync of
// the folder.
void BM_KeepParty(benchmark::State& state) {
    QTemporaryDir dir;
    const QString app = linkedCatalogue(dir, 10);
    const QString record = app + QStringLiteral("data/Parties.ini");
    std::vector<PartyPlayer> players;
    for (int p = 0; p < 8; ++p) players.push_back({defaultPlayerName(p), false});
    KeptParty kept{kKeptPartiesPerState + 1, QStringLiteral("2026-01-03 10:30"), PartyState::Playing, Party(players, 5)};
    kept.party.chooseFace(0);
    measureAgainstFloor(
        state,
        [&] {
            kept.party.recordTurn({500, false});
            if (kept.party.finished()) kept.party = Party(players, 5);
            kept.party.chooseFace(0);
            keepParty(app, kept);
        },
        [&] {
            floorWriteSynced(dir.path() + QStringLiteral("/floor.ini"), floorRead(record));
            floorSyncFolder(dir.path());
        });
}

}  // namespace

BENCHMARK(BM_KeepParty)->Iterations(41)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_PartyNextToHandOver)->Arg(500)->Iterations(21)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_PartyJudgement)->Arg(500)->Iterations(21)->Unit(benchmark::kMillisecond)->UseManualTime();
