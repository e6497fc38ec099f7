// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A party at one screen: the dialog 「みんなで遊ぶ」, each round's face chosen
// on the face selection, a hand-over before every turn, the turns played as
// ordinary games (the window passes them to the game through onStartTurn and
// brings their judgement back to turnJudged), the results sheet, and the
// record 「みんなの記録」. The party is kept in Parties.ini after each step, and
// one that a closed window or a crash cut short is offered again after the
// title; the record is read and written behind the window
// (PartyRecordWriter), and what the window shows of it is the writer's.
#include "party/party.h"
#include "party/party_record.h"
#include "party/party_record_writer.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

struct Board;
struct CatalogueMirror;
struct JudgedTurn;
class PartySetupDialog;
class PartySheet;
class QTableWidget;
class UserDialogs;

class PartyScreen {
public:
    PartyScreen(Board& board, const QString& appDir, const CatalogueMirror& catalogue, UserDialogs& dialogs,
                PartySetupDialog& setupDialog);

    // The window passes these on to the game: a turn on face for a player
    // (failed: the game could not start, the hand-over comes again), and the
    // board cleared for the next player.
    std::function<void(int face, const PartyPlayer& player, std::function<void()> failed)> onStartTurn;
    std::function<void()> onLeaveTurn;

    // ---- What the window asks before it dispatches ----
    // A party is on, from its first face choice to the end of its results:
    // the cancel button is the party's.
    bool running() const { return step_ != Step::None; }
    bool choosingFace() const { return step_ == Step::ChoosingFace; }
    // Whether BitBtnHantei's caption is one of the party's
    // (「はじめる」, 「次の人へ」, 「結果を見る」, 「終わる」).
    bool ownsCaption(const QString& caption) const;
    const std::optional<Party>& party() const { return party_; }

    // ---- Handlers ----
    void Party1Click();
    void History1Click();
    // A thumbnail clicked while the round's face is chosen.
    void faceChosen(int face);
    // 「はじめる」, 「次の人へ」 / 「結果を見る」, and 「終わる」, which asks first
    // while the results sheet is not saved.
    void BitBtnHanteiClick();
    // BitBtnCancel while running: 「保存」 on the results, else the question
    // whether to end the party.
    void BitBtnCancelClick();
    // The judgement did not come (a picture could not be read) and "再開"
    // was pressed: the same player's hand-over again.
    void judgementFailed();
    // The game judged the turn on hand.
    void turnJudged(const JudgedTurn& turn);
    // Reads the record behind the window (at start-up, after the first paint).
    void readRecord();
    // After the title: a party cut short is offered to go on.
    void offerResume();
    // Waits for the record's writes (tests and benchmarks run no event loop).
    void finishWrites() { writer_.finish(); }
    // "キャンセル" on the record: it goes (the window shows the face selection).
    void closeRecord();

private:
    enum class Step { None, ChoosingFace, HandOver, Playing, Judged, Results };

    void begin(const PartySetup& setup);
    void chooseRoundFace();
    void handOver();
    void startTurn();
    void nextTurn();
    void showResults();
    void saveSheet();
    void end();
    void keep();
    // Shows a file's error, each text once a run.
    void report(const QString& error);
    // The record cannot be read, or a write of party partyId failed: said
    // once for the party on hand.
    void recordNotWritten(const QString& error, int partyId);
    // Fits the rows of 「みんなの記録」 from from on to their texts, a few
    // now and the rest later (layout: which showing of the record they are of).
    void fitHistoryRows(int from, int layout);

    Board& board_;
    const QString appDir_;
    const CatalogueMirror& catalogue_;
    UserDialogs& dialogs_;
    PartySetupDialog& setupDialog_;
    Step step_ = Step::None;
    std::optional<Party> party_;
    KeptParty kept_;                 // the record of the party on hand
    bool recording_ = false;         // Parties.ini could be read when it began
    int toldNotRecorded_ = -1;       // the id of the party told it is not recorded
    QStringList reported_;
    std::vector<QImage> pictures_;   // the compositions, by turn
    bool sheetSaved_ = false;        // the results sheet is in the library
    PartySheet* sheet_ = nullptr;
    QTableWidget* history_ = nullptr;
    int historyLayout_ = 0;
    PartyRecordWriter writer_;  // last: its writes end before the rest goes
};
