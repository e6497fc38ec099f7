// SPDX-License-Identifier: GPL-3.0-or-later
#include "party/party_record_file.h"

#include "files/app_error.h"
#include "files/atomic_write.h"
#include "files/file_reading.h"
#include "files/ini_file.h"
#include "files/ini_syntax.h"
#include "files/shift_jis.h"

#include <QLatin1StringView>
#include <QStringView>
#include <algorithm>
#include <unordered_set>

namespace {

struct Line {
    qsizetype start = 0;
    qsizetype end = 0;   // the end of its text, before "\r\n" or "\n"
    qsizetype next = 0;  // the start of the next line
};

// As IniFile splits lines: at "\n", one "\r" before it belonging to the end.
Line lineAt(const QByteArray& bytes, qsizetype start) {
    const qsizetype newline = bytes.indexOf('\n', start);
    if (newline < 0) return {start, bytes.size(), bytes.size()};
    return {start, newline > start && bytes.at(newline - 1) == '\r' ? newline - 1 : newline, newline + 1};
}

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// A line as IniFile reads it: decoded from CP932 keeping stray bytes; a line
// of plain ASCII (nearly every one) is looked at as its bytes.
class LineText {
public:
    LineText(const QByteArray& bytes, const Line& line, bool fileIsAscii)
        : bytes_(bytes.constData() + line.start, line.end - line.start) {
        ascii_ = shiftJisKeepsAscii() && (fileIsAscii || isAsciiBytes(QByteArray::fromRawData(bytes_.data(), bytes_.size())));
    }

    // Whether the line may start a section: its first character that is not
    // blank is "[" or one that only decoding tells.
    bool maySectionStart() const {
        if (!ascii_ && !shiftJisKeepsAscii()) return true;
        const auto first = std::find_if_not(bytes_.begin(), bytes_.end(), isBlank);
        return first != bytes_.end() && (*first == '[' || static_cast<unsigned char>(*first) >= 0x80);
    }

    std::optional<QString> sectionName() {
        if (ascii_) {
            QLatin1StringView name;
            if (!sectionNameOf<QLatin1StringView>(latin1(), &name)) return std::nullopt;
            return name.toString();
        }
        QStringView name;
        if (!sectionNameOf<QStringView>(decoded(), &name)) return std::nullopt;
        return name.toString();
    }

    // The key (as written) and value (as readString gives it) of an entry.
    bool entry(QString* key, QString* value) {
        if (ascii_) {
            QLatin1StringView k, v;
            if (!entryOf<QLatin1StringView>(latin1(), &k, &v)) return false;
            *key = k.toString();
            *value = v.left(std::min(v.size(), kMaxIniValueLength)).toString();
            return true;
        }
        QStringView k, v;
        if (!entryOf<QStringView>(decoded(), &k, &v)) return false;
        *key = k.toString();
        // At most the longest value, never half a surrogate pair.
        qsizetype length = std::min(v.size(), kMaxIniValueLength);
        if (length < v.size() && v.at(length - 1).isHighSurrogate()) --length;
        *value = v.left(length).toString();
        return true;
    }

    // Whether the line is an entry of key (compared as IniFile compares
    // keys), without making strings of other lines.
    bool isEntryOf(QLatin1StringView key) {
        if (ascii_) {
            QLatin1StringView k;
            return entryOf<QLatin1StringView>(latin1(), &k, nullptr) && sameIniName(k, key);
        }
        QStringView k;
        return entryOf<QStringView>(decoded(), &k, nullptr) && sameIniName(k, key);
    }

private:
    QLatin1StringView latin1() const { return QLatin1StringView(bytes_.data(), bytes_.size()); }
    const QString& decoded() {
        if (text_.isNull()) text_ = fromShiftJisKeepingStrayBytes(QByteArray::fromRawData(bytes_.data(), bytes_.size()));
        return text_;
    }

    QByteArrayView bytes_;
    bool ascii_ = false;
    QString text_;
};

const QLatin1StringView kStateKey("State");

QString foldedKey(const QString& key) { return key.toCaseFolded(); }

}  // namespace

PartyRecordFile::PartyRecordFile(const QByteArray& bytes) {
    const bool fileIsAscii = shiftJisKeepsAscii() && isAsciiBytes(bytes);
    Section current;
    qsizetype currentStart = 0;
    const auto close = [&](qsizetype end) {
        if (end <= currentStart) return;
        current.bytes = bytes.mid(currentStart, end - currentStart);
        sections_.push_back(std::move(current));
        current = Section{};
        currentStart = end;
    };
    for (qsizetype start = 0; start < bytes.size();) {
        const Line line = lineAt(bytes, start);
        LineText text(bytes, line, fileIsAscii);
        std::optional<QString> name;
        if (text.maySectionStart()) name = text.sectionName();
        if (name) {
            close(start);
            current.id = partyIdOf(*name);
        } else if (current.id != 0 && !current.hasState && text.isEntryOf(kStateKey)) {
            QString key, value;
            text.entry(&key, &value);
            current.hasState = true;
            current.state = partyStateOf(value);
        }
        if (line.next > line.end) ++(line.next - line.end == 2 ? current.crlfs : current.lineFeeds);
        start = line.next;
    }
    close(bytes.size());
}

PartyRecordFile PartyRecordFile::read(const QString& path) {
    switch (probePath(path)) {
    case PathKind::Absent:
        return {};
    case PathKind::Folder: {
        PartyRecordFile none;
        none.replaceable_ = false;
        return none;
    }
    case PathKind::Other:  // a pipe or a device: never read, never replaced
        throwFileOpenError(path);
    case PathKind::File:
        break;
    }
    return PartyRecordFile(readWholeFile(path, kMaxIniFileBytes));
}

void PartyRecordFile::keep(const KeptParty& kept, const QString& path) {
    const QString name = QStringLiteral("Party") + QString::number(kept.id);
    const std::vector<std::pair<QString, QString>> entries = partyEntries(kept);
    for (const auto& [key, value] : entries)
        if (!iniEntryFits(name, key, value)) throwIniWriteError(path);

    // New lines end as most lines of the file did before the edit ("\r\n"
    // on a tie), the erased ones counted too.
    qsizetype lineFeeds = 0, crlfs = 0;
    for (const Section& s : sections_) {
        lineFeeds += s.lineFeeds;
        crlfs += s.crlfs;
    }
    const bool lf = lineFeeds > crlfs;
    const QLatin1StringView end = lf ? QLatin1StringView("\n") : QLatin1StringView("\r\n");
    QString text = QLatin1Char('[') + name + QLatin1Char(']') + end;
    for (const auto& [key, value] : entries) text += key + QLatin1Char('=') + value + end;
    // One look at the whole text: CP932 keeps no state between characters,
    // so it holds every entry exactly when it holds each one.
    if (!representableInShiftJis(text)) throwIniWriteError(path);
    Section fresh{toShiftJisKeepingStrayBytes(text), kept.id, true, kept.state};
    (lf ? fresh.lineFeeds : fresh.crlfs) = qsizetype(entries.size()) + 1;

    std::erase_if(sections_, [&](const Section& s) { return s.id == kept.id; });
    parsed_.erase(kept.id);
    // A last line without an end gets one now that others follow it.
    if (!sections_.empty() && !sections_.back().bytes.endsWith('\n')) {
        Section& last = sections_.back();
        ++(!lf || last.bytes.endsWith('\r') ? last.crlfs : last.lineFeeds);
        last.bytes += end.latin1();
    }
    sections_.push_back(std::move(fresh));

    // The newest of each kind stay; the party written is always one of them.
    std::vector<int> finished, other;
    for (const auto& [id, state] : statesById(kept.id))
        if (state) (*state == PartyState::Finished ? finished : other).push_back(id);
    std::unordered_set<int> dropped;
    for (std::vector<int>* ids : {&finished, &other}) {
        const bool itsKind = (ids == &finished) == (kept.state == PartyState::Finished);
        const std::size_t room = std::size_t(kKeptPartiesPerState - (itsKind ? 1 : 0));
        if (ids->size() <= room) continue;
        std::nth_element(ids->begin(), ids->begin() + qsizetype(room), ids->end(), std::greater<int>());
        dropped.insert(ids->begin() + qsizetype(room), ids->end());
    }
    if (dropped.empty()) return;
    std::erase_if(sections_, [&](const Section& s) { return dropped.count(s.id) > 0; });
    for (const int id : dropped) parsed_.erase(id);
}

QByteArray PartyRecordFile::bytes() const {
    qsizetype size = 0;
    for (const Section& s : sections_) size += s.bytes.size();
    QByteArray all;
    all.reserve(size);
    for (const Section& s : sections_) all += s.bytes;
    return all;
}

void PartyRecordFile::save(const QString& path) const {
    if (!replaceable_ || !tryWriteFileAtomically(path, bytes())) throwIniWriteError(path);
}

std::unordered_map<int, std::optional<PartyState>> PartyRecordFile::statesById(int except) const {
    std::unordered_map<int, std::optional<PartyState>> states;
    std::unordered_set<int> decided;
    for (const Section& s : sections_) {
        if (s.id == 0 || s.id == except) continue;
        states.try_emplace(s.id);
        if (s.hasState && decided.insert(s.id).second) states[s.id] = s.state;
    }
    return states;
}

std::vector<std::pair<int, std::vector<std::size_t>>> PartyRecordFile::partySections() const {
    std::vector<std::pair<int, std::vector<std::size_t>>> parties;
    std::unordered_map<int, std::size_t> at;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const int id = sections_[i].id;
        if (id == 0) continue;
        const auto [it, added] = at.try_emplace(id, parties.size());
        if (added) parties.emplace_back(id, std::vector<std::size_t>());
        parties[it->second].second.push_back(i);
    }
    return parties;
}

QHash<QString, QString> PartyRecordFile::entriesOf(const std::vector<std::size_t>& sections) const {
    QHash<QString, QString> entries;
    for (const std::size_t i : sections) {
        const QByteArray& bytes = sections_[i].bytes;
        const bool ascii = shiftJisKeepsAscii() && isAsciiBytes(bytes);
        // The section's own "[...]" line first, then its entries.
        for (qsizetype start = lineAt(bytes, 0).next; start < bytes.size();) {
            const Line line = lineAt(bytes, start);
            LineText text(bytes, line, ascii);
            QString key, value;
            start = line.next;
            if (!text.entry(&key, &value)) continue;
            const QString folded = foldedKey(key);
            if (!entries.contains(folded)) entries.insert(folded, value);
        }
    }
    return entries;
}

const std::optional<KeptParty>& PartyRecordFile::partyOf(int id, const std::vector<std::size_t>& sections) const {
    const auto found = parsed_.find(id);
    if (found != parsed_.end()) return found->second;
    const QHash<QString, QString> entries = entriesOf(sections);
    return parsed_[id] = partyOfEntries(id, [&](const QStringList& keys) {
               QStringList values;
               for (const QString& key : keys) values << entries.value(foldedKey(key));
               return values;
           });
}

PartiesReading PartyRecordFile::reading() const {
    PartiesReading reading;
    std::vector<int> ids;
    for (const auto& [id, sections] : partySections()) {
        ids.push_back(id);
        if (const std::optional<KeptParty>& party = partyOf(id, sections)) reading.parties.push_back(*party);
    }
    reading.nextId = nextPartyId(std::move(ids));
    return reading;
}

PartiesReading PartyRecordFile::shown(std::vector<int>* allIds) const {
    std::vector<std::pair<int, std::vector<std::size_t>>> parties = partySections();
    std::vector<int> ids;
    for (const auto& party : parties) ids.push_back(party.first);
    if (allIds) *allIds = ids;
    std::sort(parties.begin(), parties.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    const std::unordered_map<int, std::optional<PartyState>> states = statesById(0);
    PartiesReading shown;
    int finished = 0;
    for (const auto& [id, sections] : parties) {
        const std::optional<PartyState> state = states.at(id);
        const bool wanted = state == PartyState::Playing || (state == PartyState::Finished && finished < kKeptPartiesPerState);
        if (!wanted) continue;
        if (const std::optional<KeptParty>& party = partyOf(id, sections)) {
            shown.parties.push_back(*party);
            if (*state == PartyState::Finished) ++finished;
        }
    }
    shown.nextId = nextPartyId(std::move(ids));
    return shown;
}

QString PartyRecordFile::entry(int id, const QString& key, const QString& def) const {
    for (const auto& [party, sections] : partySections())
        if (party == id) return entriesOf(sections).value(foldedKey(key), def);
    return def;
}
