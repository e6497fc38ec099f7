// SPDX-License-Identifier: GPL-3.0-or-later
#include "party/party_record.h"

#include "files/app_paths.h"
#include "files/ini_file.h"
#include "party/party_record_file.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <limits>

namespace {

const QString kSectionPrefix = QStringLiteral("Party");
constexpr int kMostIdDigits = 9;  // ids stay far inside int
constexpr std::int64_t kLowestScore = -(std::int64_t(1) << 40);

// "yyyy-MM-dd HH:mm", a date and a local time that exist (read as
// QDateTime::fromString reads that format, without its parser: a record
// holds hundreds of dates).
bool isDate(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}$"));
    if (!pattern.match(text).hasMatch()) return false;
    const auto number = [&](qsizetype at, qsizetype length) { return QStringView(text).mid(at, length).toInt(); };
    return QDateTime(QDate(number(0, 4), number(5, 2), number(8, 2)), QTime(number(11, 2), number(14, 2))).isValid();
}

std::optional<int> smallNumber(const QString& text, int lowest, int highest) {
    int value = 0;
    if (!parseIniInteger(text, &value) || value < lowest || value > highest) return std::nullopt;
    return value;
}

std::optional<std::int64_t> scoreOf(const QString& text) {
    // An optional "-" and one to fifteen digits, nothing else (a record holds
    // thousands of scores: no regular expression).
    const qsizetype digits = text.size() - (text.startsWith(QLatin1Char('-')) ? 1 : 0);
    if (digits < 1 || digits > 15 ||
        !std::all_of(text.cend() - digits, text.cend(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
        return std::nullopt;
    const std::int64_t score = text.toLongLong();
    if (score > 1000 || score < kLowestScore) return std::nullopt;
    return score;
}

QString numbered(const char* key, int n) { return QLatin1String(key) + QString::number(n); }
QString numbered(const char* key, int r, int p) {
    return QLatin1String(key) + QString::number(r) + QLatin1Char('_') + QString::number(p);
}

}  // namespace

QString partiesPath(const QString& appDir) { return resolveAppPath(appDir, QStringLiteral("Data\\Parties.ini")); }

int partyIdOf(QStringView name) {
    // "Party" in any letter case, then 1 to 999999999 without leading zeros.
    const bool ascii = std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii) {
        // Matched as the rest of the program matches names: no other letter
        // folds to one of "party", but the rule is the regular expression's.
        static const QRegularExpression pattern(QStringLiteral("^Party([1-9][0-9]{0,%1})$").arg(kMostIdDigits - 1),
                                                QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = pattern.match(name);
        return match.hasMatch() ? match.captured(1).toInt() : 0;
    }
    if (name.size() < 6 || name.size() > 5 + kMostIdDigits || !name.startsWith(kSectionPrefix, Qt::CaseInsensitive) ||
        name[5] == QLatin1Char('0'))
        return 0;
    int id = 0;
    for (const QChar c : name.mid(5)) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return 0;
        id = id * 10 + (c.unicode() - u'0');
    }
    return id;
}

const QString& partyStateName(PartyState state) {
    static const QString names[] = {QStringLiteral("playing"), QStringLiteral("unfinished"),
                                    QStringLiteral("finished")};
    return names[int(state)];
}

std::optional<PartyState> partyStateOf(QStringView text) {
    for (PartyState state : {PartyState::Playing, PartyState::Unfinished, PartyState::Finished})
        if (text == partyStateName(state)) return state;
    return std::nullopt;
}

std::vector<std::pair<QString, QString>> partyEntries(const KeptParty& kept) {
    const Party& party = kept.party;
    std::vector<std::pair<QString, QString>> entries = {
        {QStringLiteral("Date"), kept.date},
        {QStringLiteral("State"), partyStateName(kept.state)},
        {QStringLiteral("Players"), QString::number(party.playerCount())},
        {QStringLiteral("Rounds"), QString::number(party.rounds())}};
    for (int p = 0; p < party.playerCount(); ++p) {
        entries.emplace_back(numbered("Name", p + 1), party.players()[size_t(p)].name);
        entries.emplace_back(numbered("Blind", p + 1), party.players()[size_t(p)].blindfolded ? QStringLiteral("1")
                                                                                              : QStringLiteral("0"));
    }
    for (int r = 0; r < party.rounds(); ++r) {
        if (party.face(r) >= 0) entries.emplace_back(numbered("Face", r + 1), QString::number(party.face(r)));
        for (int p = 0; p < party.playerCount(); ++p) {
            const std::optional<PartyTurn>& turn = party.turn(r, p);
            if (!turn) continue;
            entries.emplace_back(numbered("Score", r + 1, p + 1), QString::number(turn->score));
            if (turn->newBest) entries.emplace_back(numbered("Best", r + 1, p + 1), QStringLiteral("1"));
        }
    }
    return entries;
}

int nextPartyId(std::vector<int> ids) {
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    const int highest = ids.empty() ? 0 : ids.back();
    if (QString::number(highest + 1).size() <= kMostIdDigits) return highest + 1;
    // Every id up to the largest is taken only in a file made by hand: the
    // first free one.
    int next = 1;
    for (int id : ids) {
        if (id != next) break;
        ++next;
    }
    return next;
}

std::optional<KeptParty> partyOfEntries(int id, const std::function<QStringList(const QStringList& keys)>& values) {
    const QStringList head =
        values({QStringLiteral("Date"), QStringLiteral("State"), QStringLiteral("Players"), QStringLiteral("Rounds")});
    const std::optional<PartyState> state = partyStateOf(head[1]);
    const std::optional<int> n = smallNumber(head[2], PartySetup::kMinPlayers, PartySetup::kMaxPlayers);
    const std::optional<int> rounds = smallNumber(head[3], PartySetup::kMinRounds, PartySetup::kMaxRounds);
    if (!isDate(head[0]) || !state || !n || !rounds) return std::nullopt;

    QStringList keys;
    for (int p = 1; p <= *n; ++p) keys << numbered("Name", p) << numbered("Blind", p);
    for (int r = 1; r <= *rounds; ++r) {
        keys << numbered("Face", r);
        for (int p = 1; p <= *n; ++p) keys << numbered("Score", r, p) << numbered("Best", r, p);
    }
    const QStringList entries = values(keys);
    int at = 0;
    std::vector<PartyPlayer> players;
    for (int p = 0; p < *n; ++p) {
        const QString name = entries[at++];
        const std::optional<int> blind = smallNumber(entries[at++], 0, 1);
        if (!blind) return std::nullopt;
        players.push_back({name, *blind == 1});
    }
    std::vector<int> faces;
    std::vector<std::vector<std::optional<PartyTurn>>> turns(static_cast<size_t>(*rounds));
    for (int r = 0; r < *rounds; ++r) {
        const QString face = entries[at++];
        if (face.isEmpty()) {
            faces.push_back(-1);
        } else if (const std::optional<int> index = smallNumber(face, 0, std::numeric_limits<int>::max())) {
            faces.push_back(*index);
        } else {
            return std::nullopt;
        }
        for (int p = 0; p < *n; ++p) {
            const QString score = entries[at++];
            const QString best = entries[at++];
            if (score.isEmpty()) {
                turns[size_t(r)].push_back(std::nullopt);
                if (!best.isEmpty()) return std::nullopt;
                continue;
            }
            const std::optional<std::int64_t> points = scoreOf(score);
            const std::optional<int> newBest = best.isEmpty() ? std::optional<int>(0) : smallNumber(best, 0, 1);
            if (!points || !newBest) return std::nullopt;
            turns[size_t(r)].push_back(PartyTurn{*points, *newBest == 1});
        }
    }
    std::optional<Party> party = Party::restore(std::move(players), *rounds, std::move(faces), turns);
    if (!party || (*state == PartyState::Finished) != party->finished()) return std::nullopt;
    return KeptParty{id, head[0], *state, std::move(*party)};
}

PartiesReading readParties(const QString& appDir) { return PartyRecordFile::read(partiesPath(appDir)).reading(); }

void keepParty(const QString& appDir, const KeptParty& party) {
    const QString path = partiesPath(appDir);
    QDir().mkpath(QFileInfo(path).absolutePath());
    PartyRecordFile record = PartyRecordFile::read(path);
    record.keep(party, path);
    record.save(path);
}

const KeptParty* partyToResume(const PartiesReading& reading, int faceCount) {
    const KeptParty* newest = nullptr;
    for (const KeptParty& kept : reading.parties) {
        if (kept.state != PartyState::Playing || (newest && newest->id > kept.id)) continue;
        bool facesThere = true;
        for (int r = 0; r < kept.party.rounds(); ++r) facesThere = facesThere && kept.party.face(r) < faceCount;
        if (facesThere) newest = &kept;
    }
    return newest;
}

std::vector<KeptParty> finishedNewestFirst(const PartiesReading& reading) {
    std::vector<const KeptParty*> finished;
    for (const KeptParty& kept : reading.parties)
        if (kept.state == PartyState::Finished) finished.push_back(&kept);
    const auto newer = [](const KeptParty* a, const KeptParty* b) { return a->id > b->id; };
    const size_t shown = std::min(finished.size(), size_t(kKeptPartiesPerState));
    std::partial_sort(finished.begin(), finished.begin() + qsizetype(shown), finished.end(), newer);
    std::vector<KeptParty> newest;
    for (size_t i = 0; i < shown; ++i) newest.push_back(*finished[i]);
    return newest;
}

QString partySheetName(const KeptParty& party) {
    return QStringLiteral("みんなで ") + QString(party.date).replace(QLatin1Char(':'), QLatin1Char('-'));
}
