// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Many integer entries of an ini file read in one pass over its bytes, as
// IniFile::readIntegers gives them: the keys of one named section and of
// numbered sections ("[0]", "[1]", ..., as the catalogue keeps its faces),
// each numbered section found by its number. For plain ASCII, as the game
// writes its settings: no line is made into a string, which for a catalogue
// of ten thousand faces costs more than the rest of its start. Other bytes
// are IniFile's to read.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct IniIntegerQuery {
    QString namedSection;           // ASCII, compared without regard to case
    QStringList namedKeys;          // ASCII
    int numberedSections = 0;       // "[0]" .. "[numberedSections - 1]"
    QStringList numberedKeys;       // ASCII
};

struct IniIntegers {
    // Nothing where readInteger gives its default: no entry of the key in
    // any copy of the section, or a first entry that is not an integer.
    std::vector<std::optional<int>> named;     // by namedKeys
    std::vector<std::optional<int>> numbered;  // section * numberedKeys.size() + key
};

// Nothing when the bytes are not all ASCII (or CP932 does not keep ASCII).
std::optional<IniIntegers> readIniIntegersAscii(const QByteArray& bytes, const IniIntegerQuery& query);
