// SPDX-License-Identifier: GPL-3.0-or-later
#include "party/party_screen.h"

#include "board/board.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/judged_turn.h"
#include "board/scroll_box.h"
#include "board/ui_fonts.h"
#include "catalogue/catalogue_mirror.h"
#include "catalogue/library.h"
#include "desktop/user_dialogs.h"
#include "files/app_error.h"
#include "files/file_reading.h"
#include "party/party_choices.h"
#include "party/party_setup_dialog.h"
#include "party/party_sheet.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>

namespace {

const QString kStart = QStringLiteral("はじめる");
const QString kNext = QStringLiteral("次の人へ");
const QString kSeeResults = QStringLiteral("結果を見る");
const QString kFinish = QStringLiteral("終わる");
const QString kEndQuestion = QStringLiteral("パーティーを終わりますか？");
const QString kEndUnsavedQuestion = QStringLiteral("結果を保存せずに終わりますか？");
const QString kNotRecorded = QStringLiteral("このパーティーは記録できません: %1");
const QString kResumeQuestion = QStringLiteral("前回のパーティーの続きをしますか？");
const QString kSaveHint = QStringLiteral("「保存」ボタンを押すと結果を保存します。");
const QString kFinishHint = QStringLiteral("「終わる」ボタンを押すと顔の選択画面に戻ります。");
const QString kBackHint = QStringLiteral("「キャンセル」ボタンを押すと顔の選択画面に戻ります。");
const QRect kSheetPlace(32, 64, 657, 368);

QString winnersLine(const Party& party) {
    const std::vector<int> places = party.places();
    QStringList names;
    for (int p = 0; p < party.playerCount(); ++p)
        if (places[size_t(p)] == 1) names << party.players()[size_t(p)].name + QStringLiteral("さん");
    return names.join(QStringLiteral("と")) + QStringLiteral("の優勝です！");
}

}  // namespace

PartyScreen::PartyScreen(Board& board, const QString& appDir, const CatalogueMirror& catalogue, UserDialogs& dialogs,
                         PartySetupDialog& setupDialog)
    : board_(board),
      appDir_(appDir),
      catalogue_(catalogue),
      dialogs_(dialogs),
      setupDialog_(setupDialog),
      writer_([this](const QString& error, int partyId) { recordNotWritten(error, partyId); }) {}

bool PartyScreen::ownsCaption(const QString& caption) const {
    return running() && (caption == kStart || caption == kNext || caption == kSeeResults || caption == kFinish);
}

void PartyScreen::Party1Click() {
    const std::optional<PartySetup> setup = setupDialog_.askPartySetup(readPartyChoices(appDir_), partySetupProblem);
    if (!setup || !partySetupProblem(*setup).isEmpty()) return;
    // The party goes ahead even when its choices cannot be kept.
    try {
        writePartyChoices(appDir_, *setup);
    } catch (const AppError& e) {
        report(e.message());
    }
    begin(*setup);
}

void PartyScreen::report(const QString& error) {
    // The same trouble with a file is told once a run, not at every turn.
    if (reported_.contains(error)) return;
    reported_ << error;
    dialogs_.showError(error);
}

void PartyScreen::recordNotWritten(const QString& error, int partyId) {
    // The players hear once a party that it is not being recorded, and play
    // on; the last write of a party told so, failing after its end, says
    // nothing more.
    if (partyId == toldNotRecorded_) return;
    if (party_ && partyId == kept_.id) {
        toldNotRecorded_ = partyId;
        dialogs_.showError(kNotRecorded.arg(error));
        return;
    }
    report(error);
}

void PartyScreen::begin(const PartySetup& setup) {
    party_.emplace(setup.players, setup.rounds);
    kept_ = KeptParty{0, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                      PartyState::Playing, *party_};
    // A record that cannot be read is never written over; the party is
    // played all the same.
    recording_ = false;
    toldNotRecorded_ = -1;
    const std::shared_ptr<const PartyRecordView> record = writer_.view(appDir_);
    if (record->error.isEmpty()) {
        kept_.id = writer_.freeId(appDir_);
        recording_ = true;
    } else {
        recordNotWritten(record->error, kept_.id);
        writer_.read(appDir_);  // perhaps readable by the next party
    }
    pictures_.assign(size_t(party_->rounds() * party_->playerCount()), QImage());
    keep();
    chooseRoundFace();
}

void PartyScreen::readRecord() { writer_.read(appDir_); }

void PartyScreen::offerResume() {
    const std::shared_ptr<const PartyRecordView> record = writer_.view(appDir_);
    if (!record->error.isEmpty()) {
        report(record->error);
        return;
    }
    const KeptParty* cut = partyToResume(record->parties, catalogue_.faceCount);
    if (!cut) return;
    KeptParty kept = *cut;
    if (!dialogs_.confirm(kResumeQuestion)) {
        kept.state = PartyState::Unfinished;
        writer_.write(appDir_, kept);
        return;
    }
    kept_ = kept;
    party_ = kept.party;
    recording_ = true;
    toldNotRecorded_ = -1;
    pictures_.assign(size_t(party_->rounds() * party_->playerCount()), QImage());
    if (party_->currentFace() < 0)
        chooseRoundFace();
    else
        handOver();
}

void PartyScreen::keep() {
    if (!recording_ || !party_) return;
    kept_.party = *party_;
    writer_.write(appDir_, kept_);
}

void PartyScreen::chooseRoundFace() {
    step_ = Step::ChoosingFace;
    board_.F1->setEnabled(false);
    board_.R1->setEnabled(false);
    board_.BitBtnHantei->hide();
    board_.ScrollBox1->scrollToTop();
    board_.ScrollBox1->show();
    board_.Label1->setFontPoints(14);
    board_.Label1->setCaption(QStringLiteral("第%1回の顔を選んでください。").arg(party_->round() + 1));
    board_.BitBtnCancel->setText(Texts::Cancel);
    board_.BitBtnCancel->setEnabled(true);
    board_.BitBtnCancel->show();
}

void PartyScreen::faceChosen(int face) {
    if (step_ != Step::ChoosingFace || face < 0 || face >= catalogue_.faceCount) return;
    party_->chooseFace(face);
    keep();
    handOver();
}

void PartyScreen::handOver() {
    // Nothing of the last turn shows: the next player sees only the prompt.
    step_ = Step::HandOver;
    board_.F1->setEnabled(false);
    board_.R1->setEnabled(false);
    board_.ScrollBox1->hide();
    board_.Label1->setFontPoints(14);
    board_.Label1->setCaption(
        QStringLiteral("%1さんの番です。準備ができたら「はじめる」を押してください。").arg(party_->playerOnTurn().name));
    board_.BitBtnHantei->setText(kStart);
    board_.BitBtnHantei->setEnabled(true);
    board_.BitBtnHantei->setAutoDefault(true);  // Enter presses it
    board_.BitBtnHantei->show();
    board_.BitBtnHantei->setFocus();
    board_.BitBtnCancel->setText(Texts::Cancel);
    board_.BitBtnCancel->setEnabled(true);
    board_.BitBtnCancel->show();
}

void PartyScreen::BitBtnHanteiClick() {
    switch (step_) {
    case Step::HandOver: startTurn(); break;
    case Step::Judged: nextTurn(); break;
    case Step::Results:
        // The sheet cannot be saved once the party is over.
        if (sheetSaved_ || dialogs_.confirm(kEndUnsavedQuestion)) end();
        break;
    default: break;
    }
}

void PartyScreen::startTurn() {
    step_ = Step::Playing;
    board_.BitBtnHantei->setAutoDefault(false);
    if (onStartTurn) onStartTurn(party_->currentFace(), party_->playerOnTurn(), [this] { handOver(); });
}

void PartyScreen::turnJudged(const JudgedTurn& turn) {
    if (step_ != Step::Playing) return;
    const PartyPlayer player = party_->playerOnTurn();
    pictures_[size_t(party_->turnsPlayed())] = turn.composition;
    party_->recordTurn(PartyTurn{turn.total, turn.newBest});
    if (party_->finished()) kept_.state = PartyState::Finished;
    keep();
    step_ = Step::Judged;
    const QString praise = turn.praise;
    const QString score = QStringLiteral("%1さん %2点").arg(player.name, QString::number(turn.total));
    board_.Label1->setFontPoints(14);
    board_.Label1->setCaption(praise.isEmpty() ? score : praise + QLatin1Char('\r') + score);
    board_.BitBtnHantei->setText(party_->finished() ? kSeeResults : kNext);
    board_.BitBtnHantei->setEnabled(true);
    board_.BitBtnHantei->show();
    // The game's 「保存」 is the party's 「キャンセル」; once the party is over
    // there is nothing left to end.
    board_.BitBtnCancel->setText(Texts::Cancel);
    board_.BitBtnCancel->setEnabled(true);
    board_.BitBtnCancel->setVisible(!party_->finished());
}

void PartyScreen::judgementFailed() {
    if (step_ != Step::Playing) return;
    if (onLeaveTurn) onLeaveTurn();
    handOver();
}

void PartyScreen::nextTurn() {
    if (onLeaveTurn) onLeaveTurn();
    if (party_->finished())
        showResults();
    else if (party_->player() == 0)
        chooseRoundFace();
    else
        handOver();
}

void PartyScreen::showResults() {
    step_ = Step::Results;
    sheetSaved_ = false;
    if (!sheet_) {
        sheet_ = new PartySheet(board_.ClientArea);
        sheet_->setGeometry(kSheetPlace);
    }
    sheet_->showResults(*party_, pictures_, kept_.date);
    sheet_->show();
    sheet_->raise();
    board_.Label1->setFontPoints(14);
    board_.Label1->setCaption(winnersLine(*party_) + QLatin1Char('\r') + kSaveHint);
    board_.BitBtnHantei->setText(kFinish);
    board_.BitBtnHantei->setEnabled(true);
    board_.BitBtnHantei->show();
    board_.BitBtnCancel->setText(Texts::Hozon);
    board_.BitBtnCancel->setEnabled(true);
    board_.BitBtnCancel->show();
}

void PartyScreen::BitBtnCancelClick() {
    if (step_ == Step::Results) {
        saveSheet();
        return;
    }
    if (!dialogs_.confirm(kEndQuestion)) return;
    if (!party_->finished()) {
        kept_.state = PartyState::Unfinished;
        keep();
    }
    if (step_ == Step::Playing || step_ == Step::Judged)
        if (onLeaveTurn) onLeaveTurn();
    end();
}

void PartyScreen::saveSheet() {
    const QString path = librarySavePath(appDir_, partySheetName(kept_));
    if (probePath(path) != PathKind::Absent && !dialogs_.confirm(kLibraryOverwriteQuestion)) return;
    saveLibraryPicture(path, sheet_->picture());
    sheetSaved_ = true;
    const QString written = QFileInfo(path).fileName().chopped(4);
    if (board_.ListBox1->findItems(written, Qt::MatchExactly).isEmpty()) board_.ListBox1->addItem(written);
    board_.libraryHasFaces = true;
    board_.BitBtnCancel->hide();
    board_.BitBtnCancel->setText(Texts::Cancel);
    board_.Label1->setCaption(winnersLine(*party_) + QLatin1Char('\r') + kFinishHint);
}

void PartyScreen::end() {
    step_ = Step::None;
    party_.reset();
    pictures_.clear();
    if (sheet_) sheet_->hide();
    board_.BitBtnHantei->hide();
    board_.BitBtnHantei->setAutoDefault(false);
    board_.BitBtnHantei->setEnabled(false);
    board_.BitBtnHantei->setText(Texts::Hantei);
    board_.BitBtnCancel->hide();
    board_.BitBtnCancel->setText(Texts::Cancel);
    board_.BitBtnCancel->setEnabled(true);
    board_.showFaceSelection();
}

void PartyScreen::History1Click() {
    // The record as its writer last read or wrote it: nothing is read here.
    const std::shared_ptr<const PartyRecordView> record = writer_.view(appDir_);
    if (!record->error.isEmpty()) {
        dialogs_.showError(record->error);
        return;
    }
    const std::vector<KeptParty> parties = finishedNewestFirst(record->parties);
    if (!history_) {
        history_ = new QTableWidget(board_.ClientArea);
        history_->setObjectName(QStringLiteral("PartyHistory"));
        history_->setGeometry(kSheetPlace);
        history_->setColumnCount(2);
        history_->setHorizontalHeaderLabels({QStringLiteral("日時"), QStringLiteral("結果")});
        history_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        history_->setSelectionBehavior(QAbstractItemView::SelectRows);
        history_->setWordWrap(true);
        history_->verticalHeader()->hide();
        history_->horizontalHeader()->setStretchLastSection(true);
        history_->setColumnWidth(0, 150);
        history_->setFont(uiFontPixels(16));
        // White rows, not the window's sky blue they would inherit.
        QPalette paper = history_->palette();
        paper.setColor(QPalette::Base, Qt::white);
        history_->setPalette(paper);
    }
    history_->setRowCount(int(parties.size()));
    for (int row = 0; row < int(parties.size()); ++row) {
        history_->setItem(row, 0, new QTableWidgetItem(parties[size_t(row)].date));
        history_->setItem(row, 1, new QTableWidgetItem(partyStandingsText(parties[size_t(row)].party)));
    }
    // Each row is as tall as its standings wrap. Measuring every row takes
    // longer than a frame: the rows in sight are measured now, the rest a
    // few at a time as the event loop comes round.
    fitHistoryRows(0, ++historyLayout_);
    board_.F1->setEnabled(false);
    board_.R1->setEnabled(false);
    board_.ScrollBox1->hide();
    history_->show();
    history_->raise();
    board_.Label1->setFontPoints(14);
    board_.Label1->setCaption((parties.empty() ? QStringLiteral("まだ記録がありません。") : QStringLiteral("みんなの記録です。")) +
                              QLatin1Char('\r') + kBackHint);
    board_.BitBtnCancel->setText(Texts::Cancel);
    board_.BitBtnCancel->setEnabled(true);
    board_.BitBtnCancel->show();
}

void PartyScreen::fitHistoryRows(int from, int layout) {
    if (layout != historyLayout_) return;  // the record was shown anew since
    constexpr int kRowsAtOnce = 20;        // more than a screen of them
    const int end = std::min(history_->rowCount(), from + kRowsAtOnce);
    for (int row = from; row < end; ++row) history_->resizeRowToContents(row);
    if (end < history_->rowCount()) QTimer::singleShot(0, history_, [this, end, layout] { fitHistoryRows(end, layout); });
}

void PartyScreen::closeRecord() {
    if (history_) history_->hide();
}
