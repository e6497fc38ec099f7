// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Parties.ini held as its bytes, cut where its sections begin. A party's
// write encodes only its own section and keeps every other byte as it was
// read; the oldest parties are dropped in one pass; a party is read only when
// it is asked for. Each costs time linear in the size of the file, however
// many parties a hand-made one holds (up to IniFile's cap of 16 MiB). The
// bytes are the ones IniFile would save after the same edit, and every party
// reads as IniFile reads its section (the ini fuzz target checks both).
#include "party/party_record.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
#include <unordered_map>
#include <vector>

class PartyRecordFile {
public:
    // A record without a file yet.
    PartyRecordFile() = default;
    // The record of these bytes (read elsewhere).
    explicit PartyRecordFile(const QByteArray& bytes);
    // The file at path as IniFile reads it: none for a missing file, and none
    // for a folder in its place, which save() then refuses to replace. Throws
    // "ファイル %s は開けません" when it cannot be read.
    static PartyRecordFile read(const QString& path);

    // Writes party into the record (every copy of its section goes, the new
    // one at the end of the file) and drops the oldest parties of each kind
    // beyond kKeptPartiesPerState, as their State says. Throws "%s に書き込めません"
    // naming path for text the file cannot hold, leaving the record as it was.
    void keep(const KeptParty& party, const QString& path);

    QByteArray bytes() const;
    // Writes the bytes durably (a temporary file, synced and renamed); throws
    // "%s に書き込めません".
    void save(const QString& path) const;

    // Every sound party in file order, and a free id.
    PartiesReading reading() const;
    // What the window offers: the newest kKeptPartiesPerState sound finished
    // parties and every sound one still playing, newest first; a free id.
    // ids, when given, takes the id of every party section.
    PartiesReading shown(std::vector<int>* ids = nullptr) const;
    // What IniFile::readString("Party<id>", key, def) gives.
    QString entry(int id, const QString& key, const QString& def) const;

private:
    struct Section {
        QByteArray bytes;  // its "[...]" line (or the file's start) up to the next one
        int id = 0;        // of a "Party<id>" section; 0 for another, and for the lines before the first
        bool hasState = false;  // a State entry is in it (the first of its copies that has one counts)
        std::optional<PartyState> state;
        qsizetype lineFeeds = 0, crlfs = 0;  // how its lines end ("\n" alone, "\r\n")
    };
    // The parties' sections, by id in the order the ids first come.
    std::vector<std::pair<int, std::vector<std::size_t>>> partySections() const;
    // Folded key -> value of every entry of the sections, the first of a key counting.
    QHash<QString, QString> entriesOf(const std::vector<std::size_t>& sections) const;
    const std::optional<KeptParty>& partyOf(int id, const std::vector<std::size_t>& sections) const;
    // Each party id's State as the first of its sections that has one says.
    std::unordered_map<int, std::optional<PartyState>> statesById(int except) const;

    std::vector<Section> sections_;
    bool replaceable_ = true;  // false: a folder stands where the file would be
    mutable std::unordered_map<int, std::optional<KeptParty>> parsed_;
};
