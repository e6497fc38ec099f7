// SPDX-License-Identifier: GPL-3.0-or-later
// The party's turn logic without a window: turn order over rounds, totals,
// places with ties, resuming from a kept party, the names the dialog takes,
// and where the results sheet puts the compositions.
#include "party/party.h"
#include "party/party_sheet_grid.h"

#include <gtest/gtest.h>

namespace {

using Turns = std::vector<std::vector<std::optional<PartyTurn>>>;

std::vector<PartyPlayer> players(std::initializer_list<const char*> names) {
    std::vector<PartyPlayer> list;
    for (const char* name : names) list.push_back({QString::fromUtf8(name), false});
    return list;
}

}  // namespace

// Three players, two rounds: the face comes first in each round (and only
// then), the turns go round the table, each score stays with the player who
// made it, and equal totals share a place with the next place moving down.
TEST(PartyTurns, TurnsGoRoundTheTableRoundByRoundAndEqualTotalsShareAPlace) {
    Party party(players({"太郎", "花子", "次郎"}), 2);
    const std::int64_t scores[] = {900, 850, 700, 100, 150, 10};
    for (int t = 0; t < 6; ++t) {
        ASSERT_FALSE(party.finished());
        EXPECT_EQ(party.round(), t / 3);
        EXPECT_EQ(party.playerOnTurn().name, party.players()[size_t(t % 3)].name);
        EXPECT_EQ(party.lastTurn(), t == 5);
        EXPECT_EQ(party.currentFace(), t % 3 == 0 ? -1 : 4 + t / 3) << "a new round asks for its face";
        party.chooseFace(4 + t / 3 + (t % 3 ? 90 : 0));  // ignored after a round's first turn
        party.recordTurn({scores[t], t == 4});
    }
    EXPECT_TRUE(party.finished());
    EXPECT_EQ(party.face(1), 5);
    EXPECT_EQ(party.turn(1, 1)->score, 150);
    EXPECT_TRUE(party.madeNewBest(1));
    EXPECT_FALSE(party.madeNewBest(0));
    party.recordTurn({1000, false});  // after the end: nothing
    EXPECT_EQ(party.total(0), 1000);
    EXPECT_EQ(party.places(), (std::vector<int>{1, 1, 3}));

    Party four(players({"A", "B", "C", "D"}), 1);
    four.chooseFace(0);
    for (std::int64_t score : {700, 900, 700, 900}) four.recordTurn({score, false});
    EXPECT_EQ(four.places(), (std::vector<int>{3, 1, 3, 1}));
    EXPECT_EQ(playersByPlace(four), (std::vector<int>{1, 3, 0, 2}));
    EXPECT_EQ(partyStandingsText(four), QStringLiteral("1位 B 900点　1位 D 900点　3位 A 700点　3位 C 700点"));
}

// A kept party goes on at its first turn without a score; a record it could
// not have left is refused.
TEST(PartyTurns, ARestoredPartyGoesOnAtItsFirstMissingTurnAndOnlyFromASoundRecord) {
    const PartyTurn t{500, false};
    const auto p = players({"A", "B", "C"});
    std::optional<Party> party = Party::restore(p, 2, {3, -1}, Turns{{t, t, t}, {{}, {}, {}}});
    ASSERT_TRUE(party);
    EXPECT_EQ(party->round(), 1);
    EXPECT_EQ(party->player(), 0);
    EXPECT_EQ(party->currentFace(), -1);
    party = Party::restore(p, 2, {3, 5}, Turns{{t, t, t}, {t, {}, {}}});
    ASSERT_TRUE(party);
    EXPECT_EQ(party->playerOnTurn().name, QStringLiteral("B"));
    EXPECT_EQ(party->total(0), 1000);

    EXPECT_FALSE(Party::restore(p, 2, {3, 5}, Turns{{t, {}, t}, {{}, {}, {}}})) << "a score after a gap";
    EXPECT_FALSE(Party::restore(p, 2, {-1, -1}, Turns{{t, {}, {}}, {{}, {}, {}}})) << "played without a face";
    EXPECT_FALSE(Party::restore(p, 2, {3, 5}, Turns{{t, {}, {}}, {{}, {}, {}}})) << "a face for a later round";
    EXPECT_FALSE(Party::restore(p, 2, {3, -2}, Turns{{{}, {}, {}}, {{}, {}, {}}}));
    EXPECT_FALSE(Party::restore(p, 2, {3}, Turns{{{}, {}, {}}}));
    EXPECT_FALSE(Party::restore(players({"A", "a"}), 1, {-1}, Turns{{{}, {}}})) << "one name twice";
    EXPECT_FALSE(Party::restore(players({"A"}), 1, {-1}, Turns{{{}}}));
}

TEST(PartyTurns, TheDialogTakesTwoToEightUniqueNamesTheSettingsFilesCanHold) {
    PartySetup setup{players({"太郎", "花子", "AC/DC \\ 1"}), 1};  // path characters are only text here
    EXPECT_EQ(partySetupProblem(setup), QString());
    setup.players.back().name = QStringLiteral("太郎");
    EXPECT_EQ(partySetupProblem(setup), QStringLiteral("同じ名前が二つあります。"));
    for (const QString& bad : {QStringLiteral("a=b"), QStringLiteral("a\tb"), QStringLiteral("😀"), QStringLiteral(" a")})
        EXPECT_EQ(playerNameProblem(bad), QStringLiteral("名前に使えない文字があります。")) << bad.toStdString();
    EXPECT_EQ(playerNameProblem(QString()), QStringLiteral("名前を入れてください。"));
    EXPECT_EQ(playerNameProblem(QStringLiteral("一二三四五六七八九十")), QString());
    EXPECT_EQ(playerNameProblem(QStringLiteral("一二三四五六七八九十百")), QStringLiteral("名前は10文字までです。"));
    EXPECT_EQ(partySetupProblem(PartySetup{players({"A", "B"}), 6}), QStringLiteral("回数は1回から5回までです。"));
    EXPECT_EQ(partySetupProblem(PartySetup{players({"A"}), 1}), QStringLiteral("人数は2人から8人までです。"));
}

// Every round while the cells keep room for a picture and its lines; else the
// last round, four to a row.
TEST(PartyTurns, TheSheetShowsAllRoundsWhileTheyFitElseTheLastRoundFourToARow) {
    const QSize area(429, 332);
    const SheetGrid all = sheetGrid(3, 2, area), last = sheetGrid(8, 5, area);
    EXPECT_TRUE(all.allRounds && all.columns == 3 && all.rows == 2 && all.cell == QSize(143, 166));
    EXPECT_TRUE(!last.allRounds && last.columns == 4 && last.rows == 2 && last.cell == QSize(107, 166));
    EXPECT_FALSE(sheetGrid(2, 3, area).allRounds) << "110 pixels leave no room for a picture";
    EXPECT_TRUE(sheetGrid(5, 2, area).allRounds);
}
