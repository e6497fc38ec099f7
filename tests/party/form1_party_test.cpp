// SPDX-License-Identifier: GPL-3.0-or-later
// A party through the real window: the dialog, each round's face, the
// hand-overs, turns seeing and blindfolded, the results sheet saved into the
// library, the record, ending a party, a party going on after the game was
// cut short, and a record file that cannot be read.
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "files/app_error.h"
#include "files/file_ops.h"
#include "files/ini_file.h"
#include "party/party_record.h"
#include "party/party_screen.h"
#include "pictures/jpeg_codec.h"
#include "play/personal_best.h"
#include "support/window/play_driver.h"
#include "support/window/while_modal.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const TestFaceLayout kLayout;
const std::array<QPoint, 5> k979{QPoint(), {3, 0}, {0, -4}, {-2, 2}, {5, 5}};  // 247 + 246 + 246 + 240

PartySetup setupOf(std::initializer_list<std::pair<const char*, bool>> players, int rounds) {
    PartySetup setup;
    for (const auto& [name, blind] : players) setup.players.push_back({QString::fromUtf8(name), blind});
    setup.rounds = rounds;
    return setup;
}

const QString kNotRecorded = QStringLiteral("このパーティーは記録できません: ");

QString handOverPrompt(const char* name) {
    return QString::fromUtf8(name) + QStringLiteral("さんの番です。準備ができたら「はじめる」を押してください。");
}

// The texts of the results sheet, as a screen reader finds them.
QStringList sheetTexts(TForm1& f) {
    QStringList texts;
    for (QLabel* label : f.ClientArea->findChild<QWidget*>(QStringLiteral("PartySheet"))->findChildren<QLabel*>())
        if (!label->text().isEmpty()) texts << label->text();
    return texts;
}

// The game folder as a kill -9 leaves it at this moment: every write of the
// game is on disk before it returns, so the files are what the next start
// finds.
void copyGameFolder(const TempAppDir& from, const TempAppDir& to) {
    QDirIterator it(from.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(from.path().size());
        if (relative.endsWith(QStringLiteral(".pomurina.lock"))) continue;
        to.writeBytes(relative, from.readBytes(relative));
    }
}

}  // namespace

// Three players, two rounds, the second blindfolded although the game menu
// says seeing, bests kept: the face of each round, hand-overs that show
// nothing of the turn before, Enter for 「はじめる」, each judged turn named,
// the results with a tie for the win, the sheet saved into the library, the
// record, each player's own bests, the choices offered again, and a party
// cancelled.
TEST(Party, ThreePlayersTwoRoundsOneBlindfoldedPlayToTheResultsSavedAndRecorded) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.Best1->trigger();
    const PartySetup setup = setupOf({{"太郎", false}, {"花子", true}, {"次郎", false}}, 2);
    startParty(w, setup);
    EXPECT_EQ(w.dialogs->partyOffers, std::vector<PartySetup>{defaultPartySetup()});
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("第1回の顔を選んでください。"));
    EXPECT_TRUE(f.ScrollBox1->isVisible());
    EXPECT_FALSE(f.F1->isEnabled() || f.R1->isEnabled() || f.G1->isEnabled());

    // Round 1 on face 1, round 2 on face 1 again: 1000/979/979, then 979/1000/979.
    const std::array<QPoint, 5> offsets[2][3] = {{{}, k979, k979}, {k979, {}, k979}};
    const char* names[] = {"太郎", "花子", "次郎"};
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(f.Label1->caption(), QStringLiteral("第%1回の顔を選んでください。").arg(round + 1));
        clickFace(w, 1);
        for (int p = 0; p < 3; ++p) {
            SCOPED_TRACE(names[p]);
            EXPECT_EQ(f.Label1->caption(), handOverPrompt(names[p]));
            EXPECT_FALSE(f.ImgFace1->isVisible() || f.PageControl1->isVisible() || f.LblScore->isVisible() ||
                         f.LblBest->isVisible() || f.ScrollBox1->isVisible());
            if (p == 0 && round == 0) {
                // Enter starts the turn.
                QTest::keyClick(f.focusWidget(), Qt::Key_Return);
                f.finishPendingWork();
                EXPECT_EQ(f.BitBtnHantei->text(), Texts::Hantei);
                placeAtAnswers(w, kLayout.answer, offsets[round][p]);
                clickHantei(w);
            } else {
                playPartyTurn(w, kLayout.answer, offsets[round][p]);
            }
            const int score = offsets[round][p] == k979 ? 979 : 1000;
            EXPECT_EQ(f.Label1->caption(),
                      QStringLiteral("おめでとうございます！\r%1さん %2点").arg(QString::fromUtf8(names[p])).arg(score));
            const char* best[2][3] = {{"自己ベスト更新！", "目隠しの自己ベスト更新！", "自己ベスト更新！"},
                                      {"自己ベスト 1000", "目隠しの自己ベスト更新！", "自己ベスト 979"}};
            EXPECT_EQ(f.LblBest->caption(), QString::fromUtf8(best[round][p]));
            EXPECT_EQ(f.BitBtnHantei->text(), round == 1 && p == 2 ? QStringLiteral("結果を見る") : QStringLiteral("次の人へ"));
            EXPECT_EQ(f.BitBtnCancel->isVisible(), !(round == 1 && p == 2));
            clickHantei(w);
        }
    }

    const QStringList texts = sheetTexts(f);
    for (const char* text : {"太郎", "花子", "次郎", "1位", "3位", "1979点", "1958点", "979点", "自己ベスト更新！"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(texts.count(QStringLiteral("1位")), 2);
    EXPECT_EQ(texts.count(QStringLiteral("自己ベスト更新！")), 4) << "three in round 1, 花子's 1000 in round 2";
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("太郎さんと花子さんの優勝です！\r「保存」ボタンを押すと結果を保存します。"));
    EXPECT_EQ(f.BitBtnHantei->text(), QStringLiteral("終わる"));

    const PartiesReading record = readParties(dir.path());
    ASSERT_EQ(record.parties.size(), 1u);
    EXPECT_EQ(record.parties[0].state, PartyState::Finished);
    const QString sheetName = partySheetName(record.parties[0]);
    clickCancel(w);  // 保存
    const QImage saved = decodeJpegFile(dir.file(QStringLiteral("Library/") + sheetName + QStringLiteral(".jpg")));
    EXPECT_EQ(saved.size(), QSize(657, 368));
    EXPECT_TRUE(listItems(f.ListBox1).contains(sheetName));
    EXPECT_FALSE(f.BitBtnCancel->isVisible());
    clickHantei(w);  // 終わる
    EXPECT_EQ(f.Label1->caption(), Texts::ChooseFace);
    EXPECT_TRUE(f.F1->isEnabled() && f.R1->isEnabled());

    f.History1->trigger();
    auto* history = f.findChild<QTableWidget*>(QStringLiteral("PartyHistory"));
    ASSERT_TRUE(history && history->isVisible());
    ASSERT_EQ(history->rowCount(), 1);
    EXPECT_EQ(history->item(0, 0)->text(), record.parties[0].date);
    EXPECT_EQ(history->item(0, 1)->text(), QStringLiteral("1位 太郎 1979点　1位 花子 1979点　3位 次郎 1958点"));
    clickCancel(w);
    EXPECT_FALSE(history->isVisible());
    EXPECT_EQ(f.Label1->caption(), Texts::ChooseFace);

    const IniFile scores(scoresPath(dir.path()));
    const QString face = faceIdentity(dir.readBytes(QStringLiteral("data/face1_0.jpg")));
    EXPECT_EQ(scores.readInteger(face, QStringLiteral("Best:太郎"), 0), 1000);
    EXPECT_EQ(scores.readInteger(face, QStringLiteral("BestBlind:花子"), 0), 1000);
    EXPECT_EQ(scores.readInteger(face, QStringLiteral("Best:次郎"), 0), 979);
    EXPECT_EQ(scores.readString(face, QStringLiteral("Best"), QStringLiteral("none")), QStringLiteral("none"));

    // The choices are offered again. 「キャンセル」 asks before it ends a
    // party, which the record keeps as unfinished.
    startParty(w, setupOf({{"A", false}, {"B", false}}, 1));
    EXPECT_EQ(w.dialogs->partyOffers.back(), setup);
    w.dialogs->confirmAnswers = {false, true};
    clickCancel(w);
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("第1回の顔を選んでください。"));
    clickFace(w, 0);
    clickHantei(w);  // A's turn
    clickCancel(w);
    EXPECT_EQ(w.dialogs->confirmations.count(QStringLiteral("パーティーを終わりますか？")), 2);
    EXPECT_EQ(f.Label1->caption(), Texts::ChooseFace);
    EXPECT_FALSE(f.ImgFace1->isVisible() || f.BitBtnCancel->isVisible());
    EXPECT_EQ(readParties(dir.path()).parties[1].state, PartyState::Unfinished);
    EXPECT_TRUE(w.dialogs->errors.isEmpty()) << w.dialogs->errors.join(QLatin1Char('\n')).toStdString();
}

// With no party played no party file is made. The game cut short during the
// second player's turn: the next start asks after the title and goes on
// with that player's hand-over, the first score kept; declined, the party
// is recorded as unfinished and never asked again. A record that cannot be
// read neither stops a party nor is written over; a turn whose judgement
// fails is handed over again.
TEST(Party, AfterAKillTheNextStartOffersTheTurnAndAnUnreadableRecordStopsNoParty) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    TempAppDir cutShort, declined;
    {
        GameWindow w(dir);
        startGameWith(w, 0);
        placeAtAnswers(w, kLayout.answer);
        clickHantei(w);
        clickHantei(w);
        EXPECT_FALSE(dir.exists(QStringLiteral("data/Parties.ini"))) << "no party, no record";
        startParty(w, setupOf({{"太郎", false}, {"花子", false}}, 1));
        clickFace(w, 2);
        playPartyTurn(w, kLayout.answer, k979);
        clickHantei(w);
        clickHantei(w);  // 花子's turn begins
        placePart(w, 1, 2, {0, 0});
        copyGameFolder(dir, cutShort);
        copyGameFolder(dir, declined);
    }
    {
        GameWindow w(cutShort);
        w.dialogs->confirmAnswers.push_back(true);
        w.finishTitle();
        EXPECT_EQ(w.dialogs->confirmations, QStringList{QStringLiteral("前回のパーティーの続きをしますか？")});
        EXPECT_EQ(w.form->Label1->caption(), handOverPrompt("花子"));
        playPartyTurn(w, kLayout.answer);
        clickHantei(w);  // 結果を見る
        const QStringList texts = sheetTexts(*w.form);
        EXPECT_TRUE(texts.contains(QStringLiteral("979点")) && texts.contains(QStringLiteral("1000点")));
        EXPECT_EQ(readParties(cutShort.path()).parties[0].state, PartyState::Finished);
    }
    {
        GameWindow w(declined);
        w.dialogs->confirmAnswers.push_back(false);
        w.finishTitle();
        w.form->finishPendingWork();  // the record's write
        EXPECT_EQ(w.form->Label1->caption(), Texts::ChooseFace);
        EXPECT_EQ(readParties(declined.path()).parties[0].state, PartyState::Unfinished);
    }
    {
        GameWindow again(declined);
        again.finishTitle();
        EXPECT_TRUE(again.dialogs->confirmations.isEmpty());
    }

    // A record of 50 MB is one error at the start, and the party started
    // later says that it is not recorded; it is played all the same and
    // never writes over the record.
    QFile big(declined.file(QStringLiteral("data/Parties.ini")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(50 * 1024 * 1024));
    big.close();
    GameWindow w(declined);
    w.finishTitle();
    const QString unreadable = fileOpenErrorText(partiesPath(declined.path()));
    EXPECT_EQ(w.dialogs->errors, QStringList{unreadable});
    startParty(w, setupOf({{"A", false}, {"B", false}}, 1));
    const QStringList told{unreadable, kNotRecorded + unreadable};
    EXPECT_EQ(w.dialogs->errors, told);
    clickFace(w, 0);
    playPartyTurn(w, kLayout.answer);
    EXPECT_EQ(w.form->Label1->caption(), QStringLiteral("おめでとうございます！\rAさん 1000点"));
    EXPECT_EQ(w.dialogs->errors, told);
    EXPECT_EQ(QFileInfo(big).size(), 50 * 1024 * 1024);

    // A judgement that cannot show the whole face: 「再開」 gives the same
    // player's hand-over again.
    ASSERT_TRUE(QFile::remove(declined.file(QStringLiteral("data/face0_0.jpg"))));
    clickHantei(w);
    clickHantei(w);
    placeAtAnswers(w, kLayout.answer);
    clickHantei(w);
    ASSERT_EQ(w.form->BitBtnHantei->text(), Texts::Saikai);
    clickHantei(w);
    EXPECT_EQ(w.form->Label1->caption(), handOverPrompt("B"));
    EXPECT_FALSE(w.form->ImgFace1->isVisible());
}

// A hand-made record of ten thousand finished parties and one cut short:
// the one cut short is offered after the title (declined, it is kept as
// unfinished), 「みんなの記録」 lists the newest hundred, newest first, and
// once the window is closed the record holds those hundred and the one
// declined. (How soon such a window closes: the party benchmark's
// BM_CloseWithRecord.)
TEST(Party, ARecordOfTenThousandPartiesShowsTheNewestHundredAndIsTrimmedByItsFirstWrite) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    QByteArray record;
    const auto party = [&](int id, const char* state, int scores) {
        record += "[Party" + QByteArray::number(id) + "]\r\nDate=2026-01-02 10:30\r\nState=" + state +
                  "\r\nPlayers=2\r\nRounds=1\r\nName1=A\r\nName2=B\r\nBlind1=0\r\nBlind2=0\r\nFace1=0\r\n";
        if (scores > 0) record += "Score1_1=1\r\n";
        if (scores > 1) record += "Score1_2=" + QByteArray::number(id % 1000) + "\r\n";
    };
    for (int id = 1; id <= 10'000; ++id) party(id, "finished", 2);
    party(10'001, "playing", 1);
    dir.writeBytes(QStringLiteral("data/Parties.ini"), record);
    {
        GameWindow w(dir);
        w.dialogs->confirmAnswers.push_back(false);
        w.finishTitle();
        EXPECT_EQ(w.dialogs->confirmations, QStringList{QStringLiteral("前回のパーティーの続きをしますか？")});
        w.form->History1->trigger();
        auto* history = w.form->findChild<QTableWidget*>(QStringLiteral("PartyHistory"));
        ASSERT_TRUE(history);
        ASSERT_EQ(history->rowCount(), 100);
        EXPECT_EQ(history->item(0, 1)->text(), QStringLiteral("1位 A 1点　2位 B 0点")) << "party 10000";
        EXPECT_EQ(history->item(99, 1)->text(), QStringLiteral("1位 B 901点　2位 A 1点")) << "party 9901";
    }
    const PartiesReading after = readParties(dir.path());
    ASSERT_EQ(after.parties.size(), 101u);
    EXPECT_EQ(after.parties.front().id, 9'901);
    EXPECT_EQ(after.parties.back().id, 10'001);
    EXPECT_EQ(after.parties.back().state, PartyState::Unfinished);
}

// A record that reads but cannot be written: each party says so once, as it
// starts, and is played on.
TEST(Party, ARecordThatCannotBeWrittenIsToldOnceAPartyAsItStarts) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    const QString parties = partiesPath(dir.path());
    const FileStepHook before = setFileStepHook(
        [&](FileStep step, const QString& path) { return step == FileStep::Rename && path == parties ? ENOSPC : 0; });
    const QStringList told{kNotRecorded + iniWriteErrorText(parties)};
    startParty(w, setupOf({{"A", false}, {"B", false}}, 1));
    EXPECT_EQ(w.dialogs->errors, told);
    clickFace(w, 0);
    playPartyTurn(w, kLayout.answer);
    EXPECT_EQ(w.dialogs->errors, told);
    w.dialogs->confirmAnswers = {true};
    clickCancel(w);
    startParty(w, setupOf({{"A", false}, {"B", false}}, 1));
    EXPECT_EQ(w.dialogs->errors, told + told);
    setFileStepHook(before);
}

// The real dialog: its title, a line per player, 「はじめる」 offered only for
// names it takes, Enter starting the party and Escape cancelling it. With
// POMURINA_SHOTS (a folder) and POMURINA_SAMPLE (the sample catalogue) set,
// the party is played on the sample faces to its record and the screenshots
// docs/screenshots/party_*.png are taken (see docs/screenshots/README.md).
TEST(Party, TheRealDialogOffersALinePerPlayerAndStartsOnEnter) {
    const QString shots = qEnvironmentVariable("POMURINA_SHOTS"), sample = qEnvironmentVariable("POMURINA_SAMPLE");
    const bool shooting = !shots.isEmpty() && !sample.isEmpty();
    const auto shoot = [&](QWidget* widget, const char* name) {
        if (!shooting) return;
        QApplication::processEvents();
        EXPECT_TRUE(widget->grab().save(shots + QLatin1Char('/') + QLatin1String(name))) << name;
    };
    TempAppDir dir;
    if (shooting) {
        for (const QString& name : QDir(sample).entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(sample + QLatin1Char('/') + name, dir.file(QStringLiteral("data/") + name)));
        for (int id = 1; id <= 2; ++id) {  // two parties played before, for the record
            Party party(setupOf({{"たろう", false}, {"はなこ", false}, {"おばあちゃん", true}}, 1).players, 1);
            party.chooseFace(id);
            for (std::int64_t score : {820 + 40 * id, 905 - 30 * id, 640 + 150 * id}) party.recordTurn({score, false});
            keepParty(dir.path(), KeptParty{id, QStringLiteral("2026-01-0%1 19:30").arg(id), PartyState::Finished, party});
        }
    } else {
        writeTestCatalogue(dir, 3, kLayout);
    }
    GameWindow w(dir, true);
    TForm1& f = *w.form;
    w.finishTitle();
    f.Best1->trigger();
    whileModal([&] { f.Party1->trigger(); }, [](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("みんなで遊ぶ"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(f.party().running());
    whileModal([&] { f.Party1->trigger(); }, [&](QWidget& dialog) {
        const auto name = [&](int p) { return dialog.findChild<QLineEdit*>(QStringLiteral("PartyName%1").arg(p)); };
        auto* count = dialog.findChild<QSpinBox*>(QStringLiteral("PartyPlayerCount"));
        auto* start = dialog.findChild<QPushButton*>(QStringLiteral("PartyStart"));
        EXPECT_EQ(count->value(), 2);
        EXPECT_FALSE(name(3)->isVisible());
        count->setValue(3);
        EXPECT_TRUE(name(3)->isVisible());
        EXPECT_EQ(name(3)->text(), QStringLiteral("プレイヤー3"));
        name(3)->setText(QStringLiteral("プレイヤー1"));
        EXPECT_FALSE(start->isEnabled());
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("PartyProblem"))->text(), QStringLiteral("同じ名前が二つあります。"));
        // A name pasted longer than a name may be stays whole, and the dialog says why it is refused.
        QApplication::clipboard()->setText(QStringLiteral("じゅげむじゅげむごこうのすりきれ"));
        name(1)->setFocus();
        name(1)->selectAll();
        QTest::keyClick(name(1), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(name(1)->text(), QStringLiteral("じゅげむじゅげむごこうのすりきれ"));
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("PartyProblem"))->text(), QStringLiteral("名前は10文字までです。"));
        EXPECT_FALSE(start->isEnabled());
        name(1)->setText(QStringLiteral("たろう"));
        name(2)->setText(QStringLiteral("はなこ"));
        name(3)->setText(QStringLiteral("おじいちゃん"));
        dialog.findChild<QCheckBox*>(QStringLiteral("PartyBlind3"))->setChecked(true);
        dialog.findChild<QSpinBox*>(QStringLiteral("PartyRounds"))->setValue(2);
        shoot(&dialog, "party_dialog.png");
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    ASSERT_TRUE(f.party().running());
    const Party& party = *f.party().party();
    EXPECT_EQ(party.rounds(), 2);
    EXPECT_EQ(party.players()[0].name, QStringLiteral("たろう"));
    EXPECT_EQ(party.players()[2], (PartyPlayer{QStringLiteral("おじいちゃん"), true}));
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("第1回の顔を選んでください。"));
    if (!shooting) return;

    // たろう and はなこ on the answers each time, おじいちゃん a little off:
    // たろう and はなこ tie for the win.
    const std::array<QPoint, 5> off{QPoint(), {6, -3}, {-4, 5}, {3, 8}, {-7, 2}};
    for (int round = 0; round < 2; ++round) {
        clickFace(w, round);
        for (int p = 0; p < 3; ++p) {
            if (round == 1 && p == 1) shoot(&f, "party_hand_over.png");
            playPartyTurn(w, f.catalogue.faceAnswers[size_t(round)], p == 2 ? off : std::array<QPoint, 5>{});
            if (round == 1 && p == 1) shoot(&f, "party_judged_turn.png");
            clickHantei(w);
        }
    }
    shoot(&f, "party_results_tie.png");
    clickCancel(w);
    clickHantei(w);
    f.History1->trigger();
    shoot(&f, "party_record.png");
}
