// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The party record as IniFile edits and reads it, entry by entry: the way it
// was kept before PartyRecordFile, and the reference that PartyRecordFile's
// bytes and readings are compared with (its unit test and the ini fuzz
// target). Slow on purpose: every erase rebuilds IniFile's section index.
#include "files/ini_file.h"
#include "party/party_record.h"

#include <algorithm>
#include <functional>

inline void keepPartyInIniFile(IniFile& ini, const KeptParty& kept) {
    const QString section = QStringLiteral("Party") + QString::number(kept.id);
    IniFile edited = ini;  // a party that cannot be written leaves the file as it was
    edited.eraseSection(section);
    for (const auto& [key, value] : partyEntries(kept)) edited.writeString(section, key, value);
    ini = std::move(edited);
    std::vector<int> finished, other;
    for (const QString& name : ini.sectionNames()) {
        const int id = partyIdOf(name);
        if (id == 0 || id == kept.id) continue;
        if (const std::optional<PartyState> state = partyStateOf(ini.readString(name, QStringLiteral("State"), QString())))
            (*state == PartyState::Finished ? finished : other).push_back(id);
    }
    for (std::vector<int>* ids : {&finished, &other}) {
        const bool itsKind = (ids == &finished) == (kept.state == PartyState::Finished);
        const size_t room = size_t(kKeptPartiesPerState - (itsKind ? 1 : 0));
        std::sort(ids->begin(), ids->end(), std::greater<int>());
        for (size_t i = room; i < ids->size(); ++i) ini.eraseSection(QStringLiteral("Party") + QString::number((*ids)[i]));
    }
}

inline PartiesReading partiesInIniFile(const IniFile& ini) {
    PartiesReading reading;
    std::vector<int> ids;
    for (const QString& section : ini.sectionNames()) {
        const int id = partyIdOf(section);
        if (id == 0) continue;
        ids.push_back(id);
        const std::optional<KeptParty> party =
            partyOfEntries(id, [&](const QStringList& keys) { return ini.readStrings(section, keys, QString()); });
        if (party) reading.parties.push_back(*party);
    }
    reading.nextId = nextPartyId(ids);
    return reading;
}
