// SPDX-License-Identifier: GPL-3.0-or-later
// A party of eight at 500 faces, through the window: 「次の人へ」 until the
// next player's hand-over is painted, and 「判定」 of a party's turn until the
// judged turn is painted (the turn is then written, on a thread of its own,
// into a Parties.ini that already holds a hundred finished parties); each with the
// longest wait of the window's thread, and each timed alternately with its
// floor (floors.h): for the hand-over a bare window of the game's size
// repainted with a new prompt; for the judgement the whole face decoded.
// And the record itself: the write of one turn into a record of 0, 50 and
// 100 finished parties (through the record's writer, until it is on disk),
// against the record's bytes written synced with one sync of the folder;
// 「みんなの記録」 shown over 100 and 200 finished parties and one that did
// not finish, with the longest wait of the window's thread; and a window
// closed while its first party's write goes into a hand-made record of 1,000
// to 78,000 finished parties (16 MiB, the most an ini file may hold), until it
// is gone (the process ends then); and the record's read and trim alone at
// those sizes.
#include "bench_support.h"
#include "floors.h"

#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "board/painted_cells.h"
#include "catalogue/catalogue_mirror.h"
#include "catalogue/face_answers.h"
#include "files/atomic_write.h"
#include "files/ini_file.h"
#include "files/shift_jis.h"
#include "main/stretch_watchdog.h"
#include "party/party_record.h"
#include "party/party_record_file.h"
#include "party/party_record_writer.h"
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
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

// The lines of one finished party of players over rounds, as the game
// writes them ("\r\n" line ends, CP932 names).
QByteArray finishedPartySection(int id, int players, int rounds) {
    QByteArray text = "[Party" + QByteArray::number(id) + "]\r\nDate=2026-01-02 10:30\r\nState=finished\r\nPlayers=" +
                      QByteArray::number(players) + "\r\nRounds=" + QByteArray::number(rounds) + "\r\n";
    for (int p = 1; p <= players; ++p)
        text += "Name" + QByteArray::number(p) + "=" + toShiftJis(defaultPlayerName(p - 1)) + "\r\nBlind" +
                QByteArray::number(p) + "=" + QByteArray::number(p % 3 == 1 ? 1 : 0) + "\r\n";
    for (int r = 1; r <= rounds; ++r) {
        text += "Face" + QByteArray::number(r) + "=" + QByteArray::number(r - 1) + "\r\n";
        for (int p = 1; p <= players; ++p)
            text += "Score" + QByteArray::number(r) + "_" + QByteArray::number(p) + "=" +
                    QByteArray::number(900 - r * players - p) + "\r\n";
    }
    return text;
}

// A game folder of its own whose catalogue links to the shared benchmark
// catalogue: the party's files never reach the shared folder. Its record
// holds parties finished parties of eight over five rounds, and one of eight
// that did not finish when withUnfinished.
QString linkedCatalogue(const QTemporaryDir& dir, int count, int parties = kKeptPartiesPerState,
                        bool withUnfinished = false) {
    const QString shared = benchCatalogue(count) + QStringLiteral("data/");
    const QString app = dir.path() + QLatin1Char('/');
    QDir().mkpath(app + QStringLiteral("data"));
    for (const QString& name : QDir(shared).entryList(QDir::Files))
        QFile::link(shared + name, app + QStringLiteral("data/") + name);
    QByteArray record;
    for (int id = 1; id <= parties; ++id) record += finishedPartySection(id, 8, 5);
    if (withUnfinished) {  // its last round not played
        const QByteArray unfinished = finishedPartySection(parties + 1, 8, 5).replace("State=finished", "State=unfinished");
        record += unfinished.left(unfinished.indexOf("Score5_1="));
    }
    if (parties > 0 || withUnfinished) {
        QFile file(app + QStringLiteral("data/Parties.ini"));
        if (!file.open(QIODevice::WriteOnly) || file.write(record) != record.size()) qFatal("cannot write the record");
    }
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

// One turn written into a record of state.range(0) finished parties of eight
// over five rounds by the record's writer, until it is on disk, against the
// record's bytes written synced with one sync of the folder.
void BM_KeepParty(benchmark::State& state) {
    QTemporaryDir dir;
    const int parties = int(state.range(0));
    const QString app = linkedCatalogue(dir, 10, parties);
    const QString record = app + QStringLiteral("data/Parties.ini");
    std::vector<PartyPlayer> players;
    for (int p = 0; p < 8; ++p) players.push_back({defaultPlayerName(p), false});
    KeptParty kept{parties + 1, QStringLiteral("2026-01-03 10:30"), PartyState::Playing, Party(players, 5)};
    kept.party.chooseFace(0);
    PartyRecordWriter writer([](const QString& error, int) { qFatal("%s", qPrintable(error)); });
    writer.write(app, kept);
    writer.finish();
    measureAgainstFloor(
        state,
        [&] {
            kept.party.recordTurn({500, false});
            if (kept.party.finished()) kept.party = Party(players, 5);
            kept.party.chooseFace(0);
            writer.write(app, kept);
            writer.finish();
        },
        [&] {
            floorWriteSynced(dir.path() + QStringLiteral("/floor.ini"), floorRead(record));
            floorSyncFolder(dir.path());
        });
}

// The game's durable write alone (a temporary file written and synced,
// renamed over the record, the folder synced), of the same bytes, against
// the same floor: how much of the record's write is the durable write that
// every file of the game gets.
void BM_DurableWriteOfTheRecord(benchmark::State& state) {
    QTemporaryDir dir;
    const QString app = linkedCatalogue(dir, 10, int(state.range(0)));
    const QString record = app + QStringLiteral("data/Parties.ini");
    const QByteArray bytes = floorRead(record);
    measureAgainstFloor(
        state, [&] { tryWriteFileAtomically(record, bytes); },
        [&] {
            floorWriteSynced(dir.path() + QStringLiteral("/floor.ini"), bytes);
            floorSyncFolder(dir.path());
        });
}

// 「みんなの記録」 over state.range(0) finished parties and one that did not
// finish, from the menu until it is painted, and back.
void BM_PartyRecordShown(benchmark::State& state) {
    QTemporaryDir dir;
    auto form = benchWindow(linkedCatalogue(dir, 10, int(state.range(0)), true));
    form->finishPendingWork();
    StretchWatchdog watchdog(0);
    std::vector<double> longest;  // per showing
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        watchdog.reset();
        form->History1Click();
        QApplication::processEvents();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        QElapsedTimer settle;  // the rows fitted later, and the watchdog's last heartbeat taken
        settle.start();
        while (settle.elapsed() < 20) QApplication::processEvents();
        longest.push_back(watchdog.longestMilliseconds());
        form->BitBtnCancelClick();
        QApplication::processEvents();
    }
    // The longest of all, and the median showing's longest (a machine shared
    // with other work lengthens a few of them).
    std::sort(longest.begin(), longest.end());
    state.counters["longest_wait_ms"] = longest.back();
    state.counters["median_longest_wait_ms"] = longest[longest.size() / 2];
}

// A hand-made record of state.range(0) finished parties of three over one
// round; a party begun (its first write goes to the writer) and the window
// closed at once: the time from the close until the window is gone, all its
// threads ended (the process ends then). 78,000 such parties make nearly 16 MiB.
void BM_CloseWithRecord(benchmark::State& state) {
    QTemporaryDir dir;
    const QString app = linkedCatalogue(dir, 10, 0);
    QByteArray record;
    for (int id = 1; id <= int(state.range(0)); ++id) record += finishedPartySection(id, 3, 1);
    const auto setUp = [&] {
        QFile file(app + QStringLiteral("data/Parties.ini"));
        if (!file.open(QIODevice::WriteOnly) || file.write(record) != record.size()) qFatal("cannot write the record");
        file.close();
        auto form = benchWindow(app);
        form->finishPendingWork();
        form->Party1Click();
        return form;
    };
    std::unique_ptr<TForm1> form = setUp();
    double longest = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        form->close();
        form.reset();
        const double seconds = double(clock.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        longest = std::max(longest, seconds * 1e3);
        state.PauseTiming();
        form = setUp();
        state.ResumeTiming();
    }
    state.counters["longest_close_ms"] = longest;
    state.counters["record_kb"] = double(record.size()) / 1024;
}

// A hand-made record of state.range(0) finished parties of three over one
// round read from its bytes, a party kept in it (the oldest dropped) and its
// bytes made, as the writer's first write does: time per party ought to stay
// flat from a thousand parties to the file's cap of 16 MiB.
void BM_TrimRecord(benchmark::State& state) {
    QByteArray record;
    for (int id = 1; id <= int(state.range(0)); ++id) record += finishedPartySection(id, 3, 1);
    if (record.size() > kMaxIniFileBytes) qFatal("the record is larger than an ini file may be");
    Party party({{QStringLiteral("A"), false}, {QStringLiteral("B"), false}}, 1);
    for (auto _ : state) {
        PartyRecordFile file(record);
        file.keep(KeptParty{int(state.range(0)) + 1, QStringLiteral("2026-01-03 10:30"), PartyState::Playing, party}, {});
        benchmark::DoNotOptimize(file.bytes());
    }
    state.counters["record_kb"] = double(record.size()) / 1024;
    state.counters["per_party_s"] =
        benchmark::Counter(double(state.range(0)) * double(state.iterations()), benchmark::Counter::kIsRate |
                                                                                 benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_TrimRecord)->Arg(1000)->Arg(10000)->Arg(78000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartyRecordShown)->Arg(100)->Arg(200)->Iterations(21)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_CloseWithRecord)->Arg(1000)->Arg(3000)->Arg(10000)->Arg(78000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_DurableWriteOfTheRecord)->Arg(0)->Arg(50)->Arg(100)->Iterations(41)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_KeepParty)->Arg(0)->Arg(50)->Arg(100)->Iterations(41)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_PartyNextToHandOver)->Arg(500)->Iterations(21)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_PartyJudgement)->Arg(500)->Iterations(21)->Unit(benchmark::kMillisecond)->UseManualTime();
