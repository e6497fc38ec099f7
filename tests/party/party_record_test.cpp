// SPDX-License-Identifier: GPL-3.0-or-later
// Parties.ini and the party choices in Play.ini, on real files: Shift-JIS
// round trips, the kept numbers, hostile files read as far as they are sound,
// and a kill at every file step of every write of a party leaving the record
// before or after that write.
#include "files/atomic_write.h"
#include "files/file_ops.h"
#include "files/ini_file.h"
#include "files/shift_jis.h"
#include "party/party_choices.h"
#include "party/party_record.h"
#include "party/party_record_file.h"
#include "play/play_settings.h"
#include "support/temp_app_dir.h"

#include <functional>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

KeptParty partyOf(int id, PartyState state, std::initializer_list<std::int64_t> scores, int rounds = 1) {
    Party party({{QStringLiteral("太郎"), false}, {QStringLiteral("花子"), true}}, rounds);
    for (std::int64_t score : scores) {
        party.chooseFace(2);
        party.recordTurn({score, score > 900});
    }
    return KeptParty{id, QStringLiteral("2026-01-02 10:30"), state, party};
}

QByteArray partiesBytes(const TempAppDir& dir) { return dir.readBytes(QStringLiteral("data/Parties.ini")); }

}  // namespace

// The newest hundred finished parties stay, and the newest hundred that did
// not finish; the record lists the finished ones newest first.
TEST(PartyRecord, TheNewestHundredOfEachKindAreKept) {
    PartyRecordFile record;
    for (int id = 1; id <= 105; ++id) record.keep(partyOf(id, PartyState::Finished, {100, 200}), QString());
    for (int id = 106; id <= 208; ++id) record.keep(partyOf(id, PartyState::Unfinished, {100}), QString());
    record.keep(partyOf(209, PartyState::Playing, {500}), QString());
    const PartiesReading reading = record.reading();
    EXPECT_EQ(reading.parties.size(), 200u);
    EXPECT_EQ(reading.nextId, 210);
    const std::vector<KeptParty> finished = finishedNewestFirst(reading);
    ASSERT_EQ(finished.size(), 100u);
    EXPECT_EQ(finished.front().id, 105);
    EXPECT_EQ(finished.back().id, 6);
    EXPECT_EQ(partyToResume(reading, 3)->id, 209);
    EXPECT_EQ(partyToResume(reading, 2), nullptr) << "its face is not in a catalogue of two";
}

// Wrong numbers, missing keys, 10,000 players, names with control or path
// characters: each section is taken only when sound, and a new party is
// written beside them without touching them.
TEST(PartyRecord, AHostileFileIsReadAsFarAsItIsSoundAndANewPartyIsWrittenBesideIt) {
    TempAppDir dir;
    const QByteArray hostile =
        "[Party1]\r\nDate=2026-01-02 10:30\r\nState=finished\r\nPlayers=10000\r\nRounds=1\r\n"
        "[Party2]\r\nDate=2026-01-02 10:30\r\nState=playing\r\nPlayers=2\r\nRounds=1\r\nName1=a\x01z\r\nName2=b\r\n"
        "Blind1=0\r\nBlind2=0\r\n"
        "[Party3]\r\nDate=../../x\r\nState=playing\r\nPlayers=2\r\nRounds=1\r\nName1=a\r\nName2=b\r\n"
        "[Party4]\r\nState=finished\r\n"
        "[Party5]\r\nDate=2026-01-02 10:30\r\nState=playing\r\nPlayers=2\r\nRounds=1\r\nName1=../x\r\nName2=b\\y\r\n"
        "Blind1=1\r\nBlind2=0\r\nFace1=0\r\nScore1_1=999999\r\n"
        "[Party6]\r\nDate=2026-01-02 10:30\r\nState=playing\r\nPlayers=2\r\nRounds=1\r\nName1=../x\r\nName2=b\\y\r\n"
        "Blind1=1\r\nBlind2=0\r\nFace1=0\r\nScore1_1=12\r\n"
        "[Party999999999]\r\nState=nonsense\r\n";
    dir.writeBytes(QStringLiteral("data/Parties.ini"), hostile);
    PartiesReading reading = readParties(dir.path());
    ASSERT_EQ(reading.parties.size(), 1u);
    EXPECT_EQ(reading.parties[0].id, 6);
    EXPECT_EQ(reading.parties[0].party.players()[0].name, QStringLiteral("../x"));
    EXPECT_EQ(reading.parties[0].party.playerOnTurn().name, QStringLiteral("b\\y"));
    EXPECT_EQ(reading.nextId, 7) << "the first id free below the largest";
    keepParty(dir.path(), partyOf(reading.nextId, PartyState::Playing, {}));
    EXPECT_TRUE(partiesBytes(dir).startsWith(hostile));
    EXPECT_EQ(readParties(dir.path()).parties.size(), 2u);

}

// Every write of a party (its start, each round's face, each turn, its end)
// killed just before each of its file steps: the next start reads the record
// as it was before that write or after it, and the party goes on at the turn
// that record says. Written whole (in CP932), each party reads back as it
// was, and the lines of the file that are no party's stay as they were.
TEST(PartyRecord, KilledAtEveryFileStepOfEveryWriteTheRecordIsBeforeOrAfterIt) {
    TempAppDir dir;
    const QByteArray byHand = "; kept by hand\r\n[Other]\r\nx=1\r\n";
    dir.writeBytes(QStringLiteral("data/Parties.ini"), byHand);
    keepParty(dir.path(), partyOf(1, PartyState::Finished, {700, 800}));
    const QByteArray onlyTheFirst = partiesBytes(dir);
    // Party 2 as it is written: begun, each round's face, each turn, finished.
    std::vector<KeptParty> states{partyOf(2, PartyState::Playing, {}, 2)};
    const auto then = [&](const std::function<void(Party&)>& change) {
        states.push_back(states.back());
        change(states.back().party);
    };
    then([](Party& p) { p.chooseFace(0); });
    then([](Party& p) { p.recordTurn({100, false}); });
    then([](Party& p) { p.recordTurn({200, true}); });
    then([](Party& p) { p.chooseFace(1); });
    then([](Party& p) { p.recordTurn({300, false}); });
    then([](Party& p) { p.recordTurn({400, false}); });
    states.back().state = PartyState::Finished;

    int kills = 0;
    for (size_t write = 0; write < states.size(); ++write) {
        dir.writeBytes(QStringLiteral("data/Parties.ini"), onlyTheFirst);
        if (write > 0) keepParty(dir.path(), states[write - 1]);
        const QByteArray before = partiesBytes(dir);
        for (int step = 1;; ++step) {
            dir.writeBytes(QStringLiteral("data/Parties.ini"), before);
            const pid_t child = fork();
            if (child == 0) {
                int seen = 0;
                setFileStepHook([&](FileStep, const QString&) {
                    if (++seen == step) ::kill(::getpid(), SIGKILL);
                    return 0;
                });
                try {
                    keepParty(dir.path(), states[write]);
                } catch (...) {
                    _exit(3);
                }
                _exit(0);
            }
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            const PartiesReading reading = readParties(dir.path());
            ASSERT_GE(reading.parties.size(), 1u);
            EXPECT_EQ(reading.parties[0].id, 1);
            const KeptParty* kept = reading.parties.size() > 1 ? &reading.parties[1] : nullptr;
            if (!WIFSIGNALED(status)) {
                ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                ASSERT_TRUE(kept);
                EXPECT_EQ(*kept, states[write]);
                break;
            }
            ++kills;
            // As the next start does: the temporary file a kill left goes.
            sweepAtomicWriteLeftovers(dir.path() + QStringLiteral("data"));
            const bool old = write == 0 ? !kept : kept && *kept == states[write - 1];
            EXPECT_TRUE(old || (kept && *kept == states[write])) << "write " << write << " step " << step;
            // The next start offers the party at the turn its record says.
            const KeptParty* resumed = partyToResume(reading, 3);
            if (!kept || kept->state == PartyState::Finished) {
                EXPECT_EQ(resumed, nullptr);
            } else {
                ASSERT_NE(resumed, nullptr);
                EXPECT_EQ(resumed->party, kept->party);
            }
        }
    }
    EXPECT_GE(kills, int(states.size()) * 5) << "a durable write has more than four file steps";
    EXPECT_TRUE(partiesBytes(dir).startsWith(byHand));
    EXPECT_TRUE(partiesBytes(dir).contains(toShiftJis(QStringLiteral("Name1=太郎"))));
    EXPECT_EQ(partySheetName(states.back()), QStringLiteral("みんなで 2026-01-02 10-30"));
    std::printf("[ kills    ] %d kill points over %zu writes of a party\n", kills, states.size());
}

// With no choices kept the dialog offers its defaults; the game menu's keys
// stay beside the choices; values out of range or names the dialog refuses
// give the defaults. (The choices made come back: the party's window test.)
TEST(PartyRecord, TheChoicesKeepTheGameMenusKeysAndReadNonsenseAsDefaults) {
    TempAppDir dir;
    EXPECT_EQ(readPartyChoices(dir.path()), defaultPartySetup());
    writePlaySettings(dir.path(), PlaySettings{true, false});
    writePartyChoices(dir.path(), defaultPartySetup());
    EXPECT_TRUE(readPlaySettings(dir.path()).blindfold);
    dir.writeBytes(QStringLiteral("data/Play.ini"), "[Party]\r\nPlayers=99\r\nRounds=0\r\nName1=a=b\r\nName2=x\r\n");
    const PartySetup odd = readPartyChoices(dir.path());
    EXPECT_EQ(odd.players.size(), 8u);
    EXPECT_EQ(odd.rounds, 1);
    EXPECT_EQ(odd.players[0].name, QStringLiteral("プレイヤー1"));
    EXPECT_EQ(odd.players[1].name, QStringLiteral("x"));
    EXPECT_EQ(odd.players[7].name, QStringLiteral("プレイヤー8"));
}
