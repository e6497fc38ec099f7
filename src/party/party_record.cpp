// SPDX-License-Identifier: GPL-3.0-or-later
#include "party/party_record.h"

#include "files/app_paths.h"
#include "files/ini_file.h"

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

const QString& stateName(PartyState state) {
    static const QString names[] = {QStringLiteral("playing"), QStringLiteral("unfinished"),
                                    QStringLiteral("finished")};
    return names[int(state)];
}

std::optional<PartyState> stateOf(const QString& text) {
    for (PartyState state : {PartyState::Playing, PartyState::Unfinished, PartyState::Finished})
        if (text == stateName(state)) return state;
    return std::nullopt;
}

// The id of a "Party<id>" section; 0 for any other section.
int idOf(const QString& section) {
    static const QRegularExpression pattern(QStringLiteral("^Party([1-9][0-9]{0,%1})$").arg(kMostIdDigits - 1),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(section);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool isDate(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}$"));
    return pattern.match(text).hasMatch() &&
           QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm")).isValid();
}

std::optional<int> smallNumber(const QString& text, int lowest, int highest) {
    int value = 0;
    if (!parseIniInteger(text, &value) || value < lowest || value > highest) return std::nullopt;
    return value;
}

std::optional<std::int64_t> scoreOf(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^-?[0-9]{1,15}$"));
    if (!pattern.match(text).hasMatch()) return std::nullopt;
    const std::int64_t score = text.toLongLong();
    if (score > 1000 || score < kLowestScore) return std::nullopt;
    return score;
}

QString numbered(const char* key, int n) { return QLatin1String(key) + QString::number(n); }
QString numbered(const char* key, int r, int p) {
    return QLatin1String(key) + QString::number(r) + QLatin1Char('_') + QString::number(p);
}

std::optional<KeptParty> partyIn(const IniFile& ini, const QString& section, int id) {
    const QStringList head = ini.readStrings(
        section, {QStringLiteral("Date"), QStringLiteral("State"), QStringLiteral("Players"), QStringLiteral("Rounds")},
        QString());
    const std::optional<PartyState> state = stateOf(head[1]);
    const std::optional<int> n = smallNumber(head[2], PartySetup::kMinPlayers, PartySetup::kMaxPlayers);
    const std::optional<int> rounds = smallNumber(head[3], PartySetup::kMinRounds, PartySetup::kMaxRounds);
    if (!isDate(head[0]) || !state || !n || !rounds) return std::nullopt;

    QStringList keys;
    for (int p = 1; p <= *n; ++p) keys << numbered("Name", p) << numbered("Blind", p);
    for (int r = 1; r <= *rounds; ++r) {
        keys << numbered("Face", r);
        for (int p = 1; p <= *n; ++p) keys << numbered("Score", r, p) << numbered("Best", r, p);
    }
    const QStringList values = ini.readStrings(section, keys, QString());
    int at = 0;
    std::vector<PartyPlayer> players;
    for (int p = 0; p < *n; ++p) {
        const QString name = values[at++];
        const std::optional<int> blind = smallNumber(values[at++], 0, 1);
        if (!blind) return std::nullopt;
        players.push_back({name, *blind == 1});
    }
    std::vector<int> faces;
    std::vector<std::vector<std::optional<PartyTurn>>> turns(static_cast<size_t>(*rounds));
    for (int r = 0; r < *rounds; ++r) {
        const QString face = values[at++];
        if (face.isEmpty()) {
            faces.push_back(-1);
        } else if (const std::optional<int> index = smallNumber(face, 0, std::numeric_limits<int>::max())) {
            faces.push_back(*index);
        } else {
            return std::nullopt;
        }
        for (int p = 0; p < *n; ++p) {
            const QString score = values[at++];
            const QString best = values[at++];
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

}  // namespace

QString partiesPath(const QString& appDir) { return resolveAppPath(appDir, QStringLiteral("Data\\Parties.ini")); }

PartiesReading partiesOf(const IniFile& ini) {
    PartiesReading reading;
    std::vector<int> ids;
    for (const QString& section : ini.sectionNames()) {
        const int id = idOf(section);
        if (id == 0) continue;
        ids.push_back(id);
        if (std::optional<KeptParty> party = partyIn(ini, section, id)) reading.parties.push_back(std::move(*party));
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    const int highest = ids.empty() ? 0 : ids.back();
    if (QString::number(highest + 1).size() <= kMostIdDigits) {
        reading.nextId = highest + 1;
    } else {
        // Every id up to the largest is taken only in a file made by hand:
        // the first free one.
        reading.nextId = 1;
        for (int id : ids) {
            if (id != reading.nextId) break;
            ++reading.nextId;
        }
    }
    return reading;
}

PartiesReading readParties(const QString& appDir) { return partiesOf(IniFile(partiesPath(appDir))); }

void keepParty(IniFile& ini, const KeptParty& kept) {
    const QString section = kSectionPrefix + QString::number(kept.id);
    const Party& party = kept.party;
    // Edited on a copy: a party that cannot be written (a value the file
    // cannot hold) leaves the file as it was.
    IniFile edited = ini;
    edited.eraseSection(section);
    edited.writeString(section, QStringLiteral("Date"), kept.date);
    edited.writeString(section, QStringLiteral("State"), stateName(kept.state));
    edited.writeInteger(section, QStringLiteral("Players"), party.playerCount());
    edited.writeInteger(section, QStringLiteral("Rounds"), party.rounds());
    for (int p = 0; p < party.playerCount(); ++p) {
        edited.writeString(section, numbered("Name", p + 1), party.players()[size_t(p)].name);
        edited.writeInteger(section, numbered("Blind", p + 1), party.players()[size_t(p)].blindfolded ? 1 : 0);
    }
    for (int r = 0; r < party.rounds(); ++r) {
        if (party.face(r) >= 0) edited.writeInteger(section, numbered("Face", r + 1), party.face(r));
        for (int p = 0; p < party.playerCount(); ++p) {
            const std::optional<PartyTurn>& turn = party.turn(r, p);
            if (!turn) continue;
            edited.writeString(section, numbered("Score", r + 1, p + 1), QString::number(turn->score));
            if (turn->newBest) edited.writeInteger(section, numbered("Best", r + 1, p + 1), 1);
        }
    }
    ini = std::move(edited);

    // The newest ones of each kind stay, as their State says (read alone: a
    // whole party is not parsed for it); the party written is always one of
    // them.
    std::vector<int> finished, other;
    for (const QString& name : ini.sectionNames()) {
        const int id = idOf(name);
        if (id == 0 || id == kept.id) continue;
        const std::optional<PartyState> state = stateOf(ini.readString(name, QStringLiteral("State"), QString()));
        if (state) (*state == PartyState::Finished ? finished : other).push_back(id);
    }
    for (std::vector<int>* ids : {&finished, &other}) {
        const bool itsKind = (ids == &finished) == (kept.state == PartyState::Finished);
        const size_t room = size_t(kKeptPartiesPerState - (itsKind ? 1 : 0));
        std::sort(ids->begin(), ids->end(), std::greater<int>());
        for (size_t i = room; i < ids->size(); ++i) ini.eraseSection(kSectionPrefix + QString::number((*ids)[i]));
    }
}

void keepParty(const QString& appDir, const KeptParty& party) {
    const QString path = partiesPath(appDir);
    QDir().mkpath(QFileInfo(path).absolutePath());
    IniFile ini(path);
    keepParty(ini, party);
    ini.save();
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
    std::vector<KeptParty> finished;
    for (const KeptParty& kept : reading.parties)
        if (kept.state == PartyState::Finished) finished.push_back(kept);
    std::sort(finished.begin(), finished.end(), [](const KeptParty& a, const KeptParty& b) { return a.id > b.id; });
    return finished;
}

QString partySheetName(const KeptParty& party) {
    return QStringLiteral("みんなで ") + QString(party.date).replace(QLatin1Char(':'), QLatin1Char('-'));
}
