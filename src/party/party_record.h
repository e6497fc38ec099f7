// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record of the parties, Data\Parties.ini (CP932), one section per party
// named "Party<id>":
//   Date=2026-01-02 10:30        when it began
//   State=playing | unfinished | finished
//   Players=3, Rounds=2, Name<p>=…, Blind<p>=0|1        (p from 1)
//   Face<r>=<face index>, Score<r>_<p>=912, Best<r>_<p>=1  (r from 1, once there)
// A party is written whole after each of its steps, durably (a temporary
// file, synced and renamed). The newest 100 finished parties are kept, and
// the newest 100 that did not finish (as their State says); older ones are
// dropped. Reading takes every section that is a sound party and passes over
// the rest, which stay in the file as they are. The file's bytes are held and
// edited by PartyRecordFile; the window's writes go through
// PartyRecordWriter.
#include "party/party.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

enum class PartyState { Playing, Unfinished, Finished };

struct KeptParty {
    int id = 0;
    QString date;  // "yyyy-MM-dd hh:mm"
    PartyState state = PartyState::Playing;
    Party party{defaultPartySetup().players, 1};
    bool operator==(const KeptParty&) const = default;
};

constexpr int kKeptPartiesPerState = 100;

// appDir + "Data\Parties.ini", resolved without regard to case.
QString partiesPath(const QString& appDir);

struct PartiesReading {
    std::vector<KeptParty> parties;  // the sound ones, in file order
    int nextId = 1;                  // an id no section of the file uses
};
// Reads the record; a missing file holds none. Throws "ファイル %s は開けません"
// when the file cannot be read (then nothing may be written over it).
PartiesReading readParties(const QString& appDir);

// Writes party into the record (replacing its section) and drops what is
// beyond the kept numbers. Throws "ファイル %s は開けません" when the file cannot
// be read, "%s に書き込めません" when it cannot be written.
void keepParty(const QString& appDir, const KeptParty& party);

// ---- The record's format, shared by its readers and writers ----
// The id of a section named "Party<id>" (1 to 999999999, without leading
// zeros, the name compared without regard to case); 0 for any other.
int partyIdOf(QStringView sectionName);
// "playing", "unfinished", "finished": the State of a party.
const QString& partyStateName(PartyState state);
std::optional<PartyState> partyStateOf(QStringView text);
// The section's entries of party in the order they are written.
std::vector<std::pair<QString, QString>> partyEntries(const KeptParty& party);
// The party of section "Party<id>" whose entries values(keys) gives (each as
// IniFile::readStrings gives it, empty where there is none), when it is one
// the game could have kept.
std::optional<KeptParty> partyOfEntries(int id, const std::function<QStringList(const QStringList& keys)>& values);
// An id none of ids uses: one above the highest, or (when that has too many
// digits, only in a file made by hand) the first free one.
int nextPartyId(std::vector<int> ids);

// The party that a closed window, a power cut or a kill left going: the
// newest one still playing whose faces the catalogue of faceCount faces has.
// Null when there is none.
const KeptParty* partyToResume(const PartiesReading& reading, int faceCount);

// The newest kKeptPartiesPerState finished parties, newest first (as
// 「みんなの記録」 lists them: as many as the record keeps).
std::vector<KeptParty> finishedNewestFirst(const PartiesReading& reading);

// "みんなで 2026-01-02 10-30": the name the results sheet is saved under.
QString partySheetName(const KeptParty& party);
