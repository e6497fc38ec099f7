// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ini_append.h"

#include "files/ini_syntax.h"
#include "files/shift_jis.h"

#include <QtEndian>
#include <algorithm>
#include <bit>
#include <cstring>

namespace {

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Eight bytes at a time (a settings file has hundreds of kilobytes), the
// first in the lowest bits.
quint64 word(const char* at) { return qFromLittleEndian<quint64>(at); }

constexpr quint64 kLow7 = 0x7f7f7f7f7f7f7f7fULL;
constexpr quint64 kHigh = 0x8080808080808080ULL;

// The high bit of each byte of w that equals c (exact: no carry crosses bytes).
quint64 bytesEqual(quint64 w, unsigned char c) {
    const quint64 x = w ^ (kHigh / 0x80 * c);
    return ~(((x & kLow7) + kLow7) | x) & kHigh;
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

// How many lines end in "\n" alone and how many in "\r\n".
std::pair<qsizetype, qsizetype> lineEnds(const QByteArray& bytes) {
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype lineFeeds = 0, crlf = 0;
    quint64 carriedReturn = 0;  // the high bit of the byte before the word: a "\r"
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        const quint64 w = word(data + i);
        const quint64 feeds = bytesEqual(w, '\n'), returns = bytesEqual(w, '\r');
        lineFeeds += std::popcount(feeds);
        crlf += std::popcount(((returns << 8) | carriedReturn) & feeds);
        carriedReturn = returns >> 56;
    }
    for (; i < size; ++i)
        if (data[i] == '\n') {
            ++lineFeeds;
            if (i > 0 && data[i - 1] == '\r') ++crlf;
        }
    return {lineFeeds - crlf, crlf};
}

}  // namespace

std::optional<IniAppend> IniAppend::of(QByteArray bytes) {
    if (!shiftJisKeepsAscii() || !isAsciiBytes(bytes)) return std::nullopt;
    return IniAppend(std::move(bytes));
}

IniAppend::IniAppend(QByteArray bytes) : bytes_(std::move(bytes)) {
    // A section line's first character that is not blank is "[" (ASCII's
    // blanks: tab to carriage return, and space), as sectionNameOf has it:
    // the "["s are found with memchr, each checked back to its line's start.
    const char* const data = bytes_.constData();
    const qsizetype size = bytes_.size();
    for (qsizetype from = 0; from < size;) {
        const auto* bracket = static_cast<const char*>(std::memchr(data + from, '[', size_t(size - from)));
        if (!bracket) break;
        qsizetype start = bracket - data;
        while (start > 0 && data[start - 1] != '\n' && isBlank(data[start - 1])) --start;
        if (start > 0 && data[start - 1] != '\n') {
            from = bracket - data + 1;
            continue;
        }
        const Line line = lineAt(start);
        sectionLines_.push_back(line);
        from = line.next;
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
    return value.left(std::min(value.size(), kMaxIniValueLength)).toString();
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
    const auto [lf, crlf] = lineEnds(bytes_);
    const QByteArray end = lf > crlf ? QByteArray("\n") : QByteArray("\r\n");
    if (!bytes_.isEmpty() && !bytes_.endsWith('\n')) bytes_ += end;
    const qsizetype headerStart = bytes_.size();
    bytes_ += '[' + section.toLatin1() + ']';
    const qsizetype headerEnd = bytes_.size();
    bytes_ += end;
    sectionLines_.push_back({headerStart, headerEnd, bytes_.size()});
    for (const auto& [key, value] : entries) bytes_ += key.toLatin1() + '=' + value.toLatin1() + end;
    return true;
}
