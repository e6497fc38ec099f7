// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ini_append.h"

#include "files/ini_syntax.h"
#include "files/shift_jis.h"

#include <algorithm>

namespace {

constexpr qsizetype kMaxValueLength = 2047;

bool isAscii(const QByteArray& bytes) {
    return std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isAscii(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// Whether a section line's name (ASCII) is section, compared as IniFile
// compares section names: case-folded. The folding of ASCII is ASCII, so a
// name whose folding is not matches no line here.
bool isSection(QLatin1StringView name, const QString& foldedSection) {
    return isAscii(foldedSection) && name.compare(foldedSection, Qt::CaseInsensitive) == 0;
}

}  // namespace

std::optional<IniAppend> IniAppend::of(QByteArray bytes) {
    if (!shiftJisKeepsAscii() || !isAscii(bytes)) return std::nullopt;
    return IniAppend(std::move(bytes));
}

IniAppend::IniAppend(QByteArray bytes) : bytes_(std::move(bytes)) {
    for (qsizetype start = 0; start < bytes_.size();) {
        const Line line = lineAt(start);
        if (sectionNameOf<QLatin1StringView>(text(line), nullptr)) sectionLines_.push_back(line);
        start = line.next;
    }
}

IniAppend::Line IniAppend::lineAt(qsizetype start) const {
    // As IniFile splits lines: at "\n", one "\r" before it belonging to the end.
    const qsizetype newline = bytes_.indexOf('\n', start);
    if (newline < 0) return {start, bytes_.size(), bytes_.size()};
    return {start, newline > start && bytes_.at(newline - 1) == '\r' ? newline - 1 : newline, newline + 1};
}

QLatin1StringView IniAppend::text(const Line& line) const {
    return QLatin1StringView(bytes_.constData() + line.start, line.end - line.start);
}

std::optional<IniAppend::Line> IniAppend::findEntry(const QString& section, const QString& key) const {
    // Every copy of the section in file order, each from its first line on:
    // the first entry of the key found is the one IniFile reads and writes.
    const QString folded = section.toCaseFolded();
    for (std::size_t i = 0; i < sectionLines_.size(); ++i) {
        QLatin1StringView name;
        sectionNameOf<QLatin1StringView>(text(sectionLines_[i]), &name);
        if (!isSection(name, folded)) continue;
        const qsizetype stop = i + 1 < sectionLines_.size() ? sectionLines_[i + 1].start : bytes_.size();
        for (qsizetype start = sectionLines_[i].next; start < stop;) {
            const Line line = lineAt(start);
            QLatin1StringView entryKey;
            if (entryOf<QLatin1StringView>(text(line), &entryKey, nullptr) && sameIniName(entryKey, key)) return line;
            start = line.next;
        }
    }
    return std::nullopt;
}

std::optional<QString> IniAppend::readString(const QString& section, const QString& key) const {
    const std::optional<Line> line = findEntry(section, key);
    if (!line) return std::nullopt;
    QLatin1StringView value;
    entryOf<QLatin1StringView>(text(*line), nullptr, &value);
    return value.left(std::min(value.size(), kMaxValueLength)).toString();
}

bool IniAppend::replaceString(const QString& section, const QString& key, const QString& value) {
    if (!iniEntryFits(section, key, value) || !isAscii(section + key + value)) return false;
    const std::optional<Line> line = findEntry(section, key);
    if (!line) return false;
    // The key keeps its spelling; the rest of the line is the new value.
    QLatin1StringView existingKey;
    entryOf<QLatin1StringView>(text(*line), &existingKey, nullptr);
    const QByteArray replacement = QByteArray(existingKey.data(), existingKey.size()) + '=' + value.toLatin1();
    const qsizetype grown = replacement.size() - (line->end - line->start);
    bytes_.replace(line->start, line->end - line->start, replacement);
    for (Line& s : sectionLines_)
        if (s.start > line->start) {
            s.start += grown;
            s.end += grown;
            s.next += grown;
        }
    return true;
}

bool IniAppend::appendSection(const QString& section, const std::vector<std::pair<QString, QString>>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& [key, value] = entries[i];
        if (!iniEntryFits(section, key, value) || !isAscii(section + key + value)) return false;
        for (std::size_t j = 0; j < i; ++j)
            if (sameIniName(QStringView(entries[j].first), key)) return false;
    }
    const QString folded = section.toCaseFolded();
    for (const Line& line : sectionLines_) {
        QLatin1StringView name;
        sectionNameOf<QLatin1StringView>(text(line), &name);
        if (isSection(name, folded)) return false;
    }
    if (entries.empty()) return true;  // writeString is never called: nothing changes

    // New lines end as most lines of the file do ("\r\n" on a tie), and a last
    // line without an end gets one.
    const qsizetype lineFeeds = bytes_.count('\n');
    const qsizetype crlf = bytes_.count("\r\n");
    const QByteArray end = lineFeeds - crlf > crlf ? QByteArray("\n") : QByteArray("\r\n");
    if (!bytes_.isEmpty() && !bytes_.endsWith('\n')) bytes_ += end;
    const qsizetype headerStart = bytes_.size();
    bytes_ += '[' + section.toLatin1() + ']';
    const qsizetype headerEnd = bytes_.size();
    bytes_ += end;
    sectionLines_.push_back({headerStart, headerEnd, bytes_.size()});
    for (const auto& [key, value] : entries) bytes_ += key.toLatin1() + '=' + value.toLatin1() + end;
    return true;
}
