// SPDX-License-Identifier: GPL-3.0-or-later
// The ini reader and writer on any file: one write (or section erase) that the
// writer accepts reads back as written after a save and a fresh read, and
// every other entry reads as before; one that it refuses changes nothing.
// The edit on the bytes (IniAppend), wherever it takes the write or a new
// section, gives the bytes IniFile gives.
// The integers the catalogue's start reads in one pass over the bytes are the
// ones IniFile reads.
// The same bytes read as the party record (PartyRecordFile): every party
// taken from them is one the game could have kept, and a new party written
// beside them reads back as written while every party read before stays;
// for files of up to a few hundred sections, the parties read and the bytes
// written are the ones of IniFile's edit entry by entry.
//
// Input: a first line "section<TAB>key<TAB>value" (CP932; a fourth field
// "-" erases the section instead), then the bytes of the ini file.
#include "files/app_error.h"
#include "files/ini_append.h"
#include "files/ini_file.h"
#include "files/ini_integers.h"
#include "files/shift_jis.h"
#include "fuzz_check.h"
#include "party/party_record.h"
#include "party/party_record_file.h"
#include "support/ini_party_record.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr int kMostNames = 24;
// IniFile's edit of the record erases section by section, each erase
// rebuilding its index: files of more sections (thousands of hand-made
// parties) are checked by the properties alone.
constexpr qsizetype kMostSectionsCompared = 300;
const QString kMissing = QStringLiteral("\x01missing");

QString fuzzFolder() {
    // On a RAM disk where there is one: each input is written and saved.
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        return std::make_unique<QTemporaryDir>(base + QStringLiteral("/ini_fuzz-XXXXXX"));
    }();
    return dir->path();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(bytes) == bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool sameName(const QString& a, const QString& b) { return a.toCaseFolded() == b.toCaseFolded(); }

// Section and key names to ask for: whatever looks like one in the text.
void collectNames(const QString& text, QStringList* sections, QStringList* keys) {
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            if (sections->size() < kMostNames) sections->append(line.mid(1, close < 0 ? -1 : close - 1).trimmed());
        } else if (const qsizetype eq = line.indexOf(QLatin1Char('=')); eq > 0 && keys->size() < kMostNames) {
            keys->append(line.left(eq).trimmed());
        }
    }
}

// IniAppend against IniFile on the same bytes: the same value read, and the
// same bytes after the write in place or the new section that it takes.
void compareWithIniAppend(const QByteArray& file, const QString& section, const QString& key, const QString& value) {
    std::optional<IniAppend> quick = IniAppend::of(file);
    if (!quick) return;
    IniFile slow(QStringLiteral("/nowhere/FaceData.ini"), file);
    FUZZ_CHECK(slow.bytes() == file);
    const std::optional<QString> read = quick->readString(section, key);
    FUZZ_CHECK(read.value_or(kMissing) == slow.readString(section, key, kMissing));
    if (quick->replaceString(section, key, value)) {
        FUZZ_CHECK(read.has_value());
        slow.writeString(section, key, value);
        FUZZ_CHECK(quick->bytes() == slow.bytes());
    } else {
        FUZZ_CHECK(quick->bytes() == file);
    }
    const QString added = section + QStringLiteral("+");
    const std::vector<std::pair<QString, QString>> entries = {{key, value}, {key + QStringLiteral("2"), value}};
    if (quick->appendSection(added, entries)) {
        FUZZ_CHECK(slow.readString(added, key, kMissing) == kMissing);
        for (const auto& [k, v] : entries) slow.writeString(added, k, v);
        FUZZ_CHECK(quick->bytes() == slow.bytes());
    }
}

void compareWithIniIntegers(const QByteArray& file, const QString& section, const QString& key) {
    if (!std::all_of(section.cbegin(), section.cend(), [](QChar c) { return c.unicode() < 0x80; }) ||
        !std::all_of(key.cbegin(), key.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return;
    const IniIntegerQuery query{section, {key, QStringLiteral("count")}, 12, {key, QStringLiteral("X1")}};
    const std::optional<IniIntegers> quick = readIniIntegersAscii(file, query);
    if (!quick) return;
    const IniFile slow(QStringLiteral("/nowhere/FaceData.ini"), file);
    const auto expected = [&](const QString& s, const QString& k) {
        int value = 0;
        return parseIniInteger(slow.readString(s, k, QString()), &value) ? std::optional<int>(value) : std::nullopt;
    };
    for (qsizetype k = 0; k < 2; ++k) FUZZ_CHECK(quick->named[size_t(k)] == expected(section, query.namedKeys[k]));
    for (int n = 0; n < query.numberedSections; ++n)
        for (qsizetype k = 0; k < 2; ++k)
            FUZZ_CHECK(quick->numbered[size_t(n * 2 + k)] == expected(QString::number(n), query.numberedKeys[k]));
}

void checkPartyRecord(const QByteArray& file) {
    const QString path = fuzzFolder() + QStringLiteral("/Parties.ini");
    writeFile(path, file);
    PartyRecordFile record = PartyRecordFile::read(path);
    FUZZ_CHECK(record.bytes() == file);
    const IniFile ini(path);
    const bool compared = ini.sectionNames().size() <= kMostSectionsCompared;
    const PartiesReading before = record.reading();
    if (compared) {
        const PartiesReading reference = partiesInIniFile(ini);
        FUZZ_CHECK(before.parties == reference.parties && before.nextId == reference.nextId);
    }
    for (const KeptParty& kept : before.parties) {
        const Party& party = kept.party;
        FUZZ_CHECK(partySetupProblem(PartySetup{party.players(), party.rounds()}).isEmpty());
        FUZZ_CHECK((kept.state == PartyState::Finished) == party.finished());
        FUZZ_CHECK(kept.id >= 1 && kept.id != before.nextId);
        FUZZ_CHECK(kept.date.size() == 16);
        for (int r = 0; r < party.rounds(); ++r) FUZZ_CHECK(party.face(r) >= -1);
    }
    FUZZ_CHECK(before.nextId >= 1 && before.nextId <= 999999999);
    // What the window is shown: parties read, at most the kept number finished.
    int shownFinished = 0;
    for (const KeptParty& kept : record.shown().parties) {
        FUZZ_CHECK(std::find(before.parties.begin(), before.parties.end(), kept) != before.parties.end());
        FUZZ_CHECK(kept.state != PartyState::Unfinished);
        shownFinished += kept.state == PartyState::Finished;
    }
    FUZZ_CHECK(shownFinished <= kKeptPartiesPerState);

    // How many sections of each kind their State names.
    int playing = 0, finished = 0;
    for (const QString& section : ini.sectionNames()) {
        if (partyIdOf(section) == 0) continue;
        const QString state = ini.readString(section, QStringLiteral("State"), QString());
        if (state == QLatin1String("finished")) ++finished;
        else if (state == QLatin1String("playing") || state == QLatin1String("unfinished")) ++playing;
    }
    Party fresh({{QStringLiteral("太郎"), true}, {QStringLiteral("x/..\\y"), false}}, 2);
    fresh.chooseFace(1);
    fresh.recordTurn({-5, true});
    const KeptParty added{before.nextId, QStringLiteral("2026-01-02 10:30"), PartyState::Playing, fresh};
    record.keep(added, path);
    record.save(path);
    if (compared) {
        IniFile reference = ini;
        keepPartyInIniFile(reference, added);
        FUZZ_CHECK(record.bytes() == reference.bytes());
    }
    const PartiesReading after = PartyRecordFile::read(path).reading();
    bool found = false;
    for (const KeptParty& kept : after.parties) found = found || kept == added;
    FUZZ_CHECK(found);
    // Only the oldest of a kind beyond the kept number may go.
    for (const KeptParty& kept : before.parties) {
        const bool full = (kept.state == PartyState::Finished ? finished : playing + 1) > kKeptPartiesPerState;
        bool stays = false;
        for (const KeptParty& now : after.parties) stays = stays || now == kept;
        FUZZ_CHECK(stays || full);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype newline = input.indexOf('\n');
    if (newline < 0) return 0;
    const QStringList command = fromShiftJis(input.left(newline)).split(QLatin1Char('\t'));
    const QByteArray file = input.mid(newline + 1);
    const QString section = command.value(0);
    const QString key = command.value(1, QStringLiteral("k"));
    // Blanks around a value do not survive a read; the writer is given none.
    const QString value = command.value(2).trimmed().left(2047);
    const bool erase = command.value(3) == QLatin1String("-");

    compareWithIniAppend(file, section, key, value);
    compareWithIniIntegers(file, section, key);

    const QString path = fuzzFolder() + QStringLiteral("/FaceData.ini");
    writeFile(path, file);
    IniFile edit(path);
    QStringList sections{section}, keys{key};
    collectNames(edit.text(), &sections, &keys);
    std::vector<std::pair<std::pair<QString, QString>, QString>> old;
    for (const QString& s : sections)
        for (const QString& k : keys) old.push_back({{s, k}, edit.readString(s, k, kMissing)});

    bool refused = false;
    try {
        if (erase)
            edit.eraseSection(section);
        else
            edit.writeString(section, key, value);
        edit.save();
    } catch (const AppError&) {
        refused = true;
    }

    const IniFile after(path);
    if (refused) FUZZ_CHECK(readFile(path) == file);
    for (const auto& [name, was] : old) {
        const QString now = after.readString(name.first, name.second, kMissing);
        if (refused || !sameName(name.first, section)) {
            FUZZ_CHECK(now == was);
        } else if (erase) {
            FUZZ_CHECK(now == kMissing);
        } else if (sameName(name.second, key)) {
            FUZZ_CHECK(now == value);
        } else {
            FUZZ_CHECK(now == was);
        }
    }
    checkPartyRecord(file);
    return 0;
}
