// SPDX-License-Identifier: GPL-3.0-or-later
#include "party/party.h"

#include "files/shift_jis.h"

#include <QSet>
#include <QStringList>
#include <algorithm>

Party::Party(std::vector<PartyPlayer> players, int rounds)
    : players_(std::move(players)),
      rounds_(rounds),
      faces_(size_t(rounds), -1),
      turns_(size_t(rounds) * players_.size()) {}

std::optional<Party> Party::restore(std::vector<PartyPlayer> players, int rounds, std::vector<int> faces,
                                    const std::vector<std::vector<std::optional<PartyTurn>>>& turns) {
    PartySetup setup{players, rounds};
    if (!partySetupProblem(setup).isEmpty() || int(faces.size()) != rounds || int(turns.size()) != rounds)
        return std::nullopt;
    Party party(std::move(players), rounds);
    const int n = party.playerCount();
    bool gap = false;
    for (int r = 0; r < rounds; ++r) {
        if (int(turns[size_t(r)].size()) != n) return std::nullopt;
        for (int p = 0; p < n; ++p) {
            const std::optional<PartyTurn>& turn = turns[size_t(r)][size_t(p)];
            if (!turn) {
                gap = true;
                continue;
            }
            if (gap) return std::nullopt;
            party.turns_[size_t(r * n + p)] = turn;
            ++party.played_;
        }
    }
    // Rounds already played have their face, later ones none yet; the round
    // on hand has one once its first turn is played.
    for (int r = 0; r < rounds; ++r) {
        const int face = faces[size_t(r)];
        if (face < -1) return std::nullopt;
        const bool mustHave = r < party.round() || (r == party.round() && party.player() > 0);
        const bool mayHave = r <= party.round();
        if ((mustHave && face < 0) || (!mayHave && face >= 0)) return std::nullopt;
    }
    party.faces_ = std::move(faces);
    return party;
}

void Party::chooseFace(int face) {
    if (finished() || player() != 0) return;
    faces_[size_t(round())] = face;
}

void Party::recordTurn(const PartyTurn& turn) {
    if (finished()) return;
    turns_[size_t(played_)] = turn;
    ++played_;
}

std::int64_t Party::total(int player) const {
    std::int64_t sum = 0;
    for (int r = 0; r < rounds_; ++r)
        if (const auto& t = turn(r, player)) sum += t->score;
    return sum;
}

std::vector<int> Party::places() const {
    std::vector<std::int64_t> totals;
    for (int p = 0; p < playerCount(); ++p) totals.push_back(total(p));
    std::vector<int> places;
    for (std::int64_t mine : totals)
        places.push_back(1 + int(std::count_if(totals.begin(), totals.end(), [&](std::int64_t t) { return t > mine; })));
    return places;
}

bool Party::madeNewBest(int player) const {
    for (int r = 0; r < rounds_; ++r)
        if (const auto& t = turn(r, player); t && t->newBest) return true;
    return false;
}

QString playerNameProblem(const QString& name) {
    if (name.isEmpty()) return QStringLiteral("名前を入れてください。");
    if (name.size() > PartySetup::kMaxNameLength) return QStringLiteral("名前は10文字までです。");
    // A name is kept in the settings files, as a value and in a key.
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == QLatin1Char('=') || c.category() == QChar::Other_Format)
            return QStringLiteral("名前に使えない文字があります。");
    if (name != name.trimmed() || !representableInShiftJis(name)) return QStringLiteral("名前に使えない文字があります。");
    return QString();
}

QString partySetupProblem(const PartySetup& setup) {
    const int n = int(setup.players.size());
    if (n < PartySetup::kMinPlayers || n > PartySetup::kMaxPlayers) return QStringLiteral("人数は2人から8人までです。");
    if (setup.rounds < PartySetup::kMinRounds || setup.rounds > PartySetup::kMaxRounds)
        return QStringLiteral("回数は1回から5回までです。");
    QSet<QString> seen;
    for (const PartyPlayer& player : setup.players) {
        if (const QString problem = playerNameProblem(player.name); !problem.isEmpty()) return problem;
        const QString folded = player.name.toCaseFolded();
        if (seen.contains(folded)) return QStringLiteral("同じ名前が二つあります。");
        seen.insert(folded);
    }
    return QString();
}

std::vector<int> playersByPlace(const Party& party) {
    const std::vector<int> places = party.places();
    std::vector<int> order(places.size());
    for (int p = 0; p < int(order.size()); ++p) order[size_t(p)] = p;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return places[size_t(a)] < places[size_t(b)]; });
    return order;
}

QString partyStandingsText(const Party& party) {
    const std::vector<int> places = party.places();
    QStringList parts;
    for (int p : playersByPlace(party))
        parts << QStringLiteral("%1位 %2 %3点")
                     .arg(QString::number(places[size_t(p)]), party.players()[size_t(p)].name,
                          QString::number(party.total(p)));
    return parts.join(QStringLiteral("　"));
}
