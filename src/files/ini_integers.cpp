// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ini_integers.h"

#include "files/ini_file.h"
#include "files/ini_syntax.h"
#include "files/shift_jis.h"

#include <QLatin1StringView>
#include <algorithm>
#include <cstring>

namespace {

// The number n of a section named as QString::number(n) spells it; section
// names are compared case-folded, and digits have no case.
std::optional<int> numberOf(QLatin1StringView name, int below) {
    if (name.isEmpty() || name.size() > 9 || (name.size() > 1 && name.front() == '0')) return std::nullopt;
    int n = 0;
    for (const char c : name) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n >= below) return std::nullopt;
    return n;
}

// Takes the first entry of each key of keys that line holds (later copies of
// a section and later lines give nothing more, as IniFile reads them).
void take(QLatin1StringView key, QLatin1StringView value, const std::vector<QByteArray>& keys,
          std::optional<int>* values, char* seen) {
    for (std::size_t k = 0; k < keys.size(); ++k) {
        if (seen[k] || key.size() != keys[k].size() ||
            key.compare(QLatin1StringView(keys[k]), Qt::CaseInsensitive) != 0)
            continue;
        seen[k] = 1;
        int number = 0;
        if (parseIniInteger(value.left(std::min(value.size(), kMaxIniValueLength)), &number)) values[k] = number;
    }
}

std::vector<QByteArray> latin1(const QStringList& texts) {
    std::vector<QByteArray> out;
    for (const QString& text : texts) out.push_back(text.toLatin1());
    return out;
}

}  // namespace

std::optional<IniIntegers> readIniIntegersAscii(const QByteArray& bytes, const IniIntegerQuery& query) {
    if (!shiftJisKeepsAscii() || !isAsciiBytes(bytes)) return std::nullopt;
    const std::vector<QByteArray> namedKeys = latin1(query.namedKeys), numberedKeys = latin1(query.numberedKeys);
    const QByteArray namedSection = query.namedSection.toLatin1();
    const int sections = std::max(query.numberedSections, 0);
    IniIntegers out;
    out.named.resize(namedKeys.size());
    out.numbered.resize(std::size_t(sections) * numberedKeys.size());
    std::vector<char> namedSeen(namedKeys.size()), numberedSeen(out.numbered.size());

    bool inNamed = false;
    std::optional<int> inNumbered;
    const char* const data = bytes.constData();
    const qsizetype size = bytes.size();
    for (qsizetype start = 0; start < size;) {
        // As IniFile splits lines, at "\n"; a "\r" before it is a blank that
        // every look at a line trims.
        const auto* newline = static_cast<const char*>(std::memchr(data + start, '\n', std::size_t(size - start)));
        const qsizetype stop = newline ? newline - data : size;
        const QLatin1StringView line(data + start, stop - start);
        start = stop + 1;
        QLatin1StringView name;
        if (sectionNameOf<QLatin1StringView>(line, &name)) {
            inNamed = name.compare(QLatin1StringView(namedSection), Qt::CaseInsensitive) == 0;
            inNumbered = numberOf(name, sections);
            continue;
        }
        if (!inNamed && !inNumbered) continue;
        QLatin1StringView key, value;
        if (!entryOf<QLatin1StringView>(line, &key, &value)) continue;
        if (inNamed) take(key, value, namedKeys, out.named.data(), namedSeen.data());
        if (inNumbered) {
            const std::size_t at = std::size_t(*inNumbered) * numberedKeys.size();
            take(key, value, numberedKeys, out.numbered.data() + at, numberedSeen.data() + at);
        }
    }
    return out;
}
