// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The edit a growing list of numbered sections makes most, done on the file's
// bytes: a value that is there changed in place, and a new section added at
// the end, each exactly as IniFile's writeString makes it, so the bytes are
// the ones IniFile would save. IniFile reads every line into a string, which
// for a file of tens of thousands of lines costs more than the rest of such
// an edit; this reads only the section lines and the lines of the sections
// asked for. Only for plain ASCII (as the game writes its settings), which
// IniFile reads and writes back byte for byte; other text is IniFile's.
#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

class IniAppend {
public:
    // The file whose bytes are given; nothing when they are not all ASCII.
    static std::optional<IniAppend> of(QByteArray bytes);

    // As IniFile::readString; nothing where that gives the default.
    std::optional<QString> readString(const QString& section, const QString& key) const;
    // As IniFile::writeString of a key that is there. False, with nothing
    // changed, when it is not, or when the text is not ASCII that
    // writeString accepts.
    bool replaceString(const QString& section, const QString& key, const QString& value);
    // As IniFile::writeString of each entry in turn, into a section of which
    // no copy is there yet. False, with nothing changed, when one is, when a
    // key comes twice, or for text as above.
    bool appendSection(const QString& section, const std::vector<std::pair<QString, QString>>& entries);

    const QByteArray& bytes() const { return bytes_; }

private:
    explicit IniAppend(QByteArray bytes);
    struct Line {
        qsizetype start = 0;
        qsizetype end = 0;   // the end of its text, before "\r\n" or "\n"
        qsizetype next = 0;  // the start of the next line
    };
    Line lineAt(qsizetype start) const;
    QLatin1StringView text(const Line& line) const;
    // The first entry of key in a copy of section, as IniFile finds it.
    std::optional<Line> findEntry(const QString& section, const QString& key) const;

    QByteArray bytes_;
    std::vector<Line> sectionLines_;  // every "[...]" line, in file order
};
