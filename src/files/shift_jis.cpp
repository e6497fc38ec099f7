// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/shift_jis.h"

#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <iconv.h>

namespace {

constexpr char16_t kStrayByteBase = 0xDC00;

// One iconv conversion descriptor, closed when it goes out of scope.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of [in, in + inLeft) as possible into out; returns the
    // number of input bytes consumed and sets *failed when it stopped at an
    // invalid or incomplete sequence.
    size_t convert(const char* in, size_t inLeft, QByteArray& out, bool* failed) {
        *failed = false;
        char* src = const_cast<char*>(in);
        size_t left = inLeft;
        char buffer[4096];
        while (left > 0) {
            char* dst = buffer;
            size_t room = sizeof buffer;
            const size_t r = iconv(cd_, &src, &left, &dst, &room);
            out.append(buffer, dst - buffer);
            if (r == static_cast<size_t>(-1)) {
                if (errno == E2BIG) continue;
                *failed = true;
                break;
            }
        }
        // Flush any shift state (CP932 has none, but the call is cheap).
        char* dst = buffer;
        size_t room = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &dst, &room);
        out.append(buffer, dst - buffer);
        return inLeft - left;
    }

private:
    iconv_t cd_;
};

// Decodes CP932 bytes; each byte that starts no valid sequence is handed to
// strayByte, whose result is appended instead.
template <typename StrayByte>
QString decode(const QByteArray& bytes, StrayByte strayByte) {
    Converter cd("UTF-16LE", "CP932");
    QString result;
    if (!cd.valid()) return QString::fromLatin1(bytes);
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        QByteArray utf16;
        bool failed = false;
        pos += cd.convert(bytes.constData() + pos, bytes.size() - pos, utf16, &failed);
        result.append(QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2));
        if (failed) {
            result.append(strayByte(static_cast<unsigned char>(bytes[pos])));
            ++pos;
        }
    }
    return result;
}

// Encodes one run of text that holds no stray-byte marks; characters without a
// CP932 encoding become "?". Returns false when any did.
bool encodeRun(Converter& cd, const QString& text, QByteArray& out) {
    bool exact = true;
    const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    qsizetype pos = 0;
    while (pos < utf16.size()) {
        bool failed = false;
        pos += cd.convert(utf16.constData() + pos, utf16.size() - pos, out, &failed);
        if (failed) {
            exact = false;
            out.append('?');
            // Skip the whole character (two code units for a surrogate pair).
            const QChar c = text.at(pos / 2);
            pos += (c.isHighSurrogate() && pos / 2 + 1 < text.size() &&
                    text.at(pos / 2 + 1).isLowSurrogate())
                       ? 4
                       : 2;
        }
    }
    return exact;
}

constexpr char16_t kNoCharacter = 0xFFFF;

bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Every one- and two-byte CP932 sequence whose character encodes back to the
// very same bytes. Several sequences share a character (NEC and IBM
// extensions); only the one iconv writes back counts, the others are kept as
// stray bytes so a rewrite does not change them.
struct RoundTripTable {
    char16_t single[256];
    char16_t pair[65536];
};

const RoundTripTable& roundTripTable() {
    static const RoundTripTable* table = [] {
        auto* t = new RoundTripTable;
        std::fill(std::begin(t->single), std::end(t->single), kNoCharacter);
        std::fill(std::begin(t->pair), std::end(t->pair), kNoCharacter);
        Converter decoder("UTF-16LE", "CP932");
        Converter encoder("CP932", "UTF-16LE");
        if (!decoder.valid() || !encoder.valid()) return t;
        const auto roundTrip = [&](const QByteArray& seq) -> char16_t {
            QByteArray utf16;
            bool failed = false;
            decoder.convert(seq.constData(), seq.size(), utf16, &failed);
            if (failed || utf16.size() != 2) return kNoCharacter;
            QByteArray back;
            encoder.convert(utf16.constData(), 2, back, &failed);
            if (failed || back != seq) return kNoCharacter;
            return char16_t(quint8(utf16[0]) | (quint8(utf16[1]) << 8));
        };
        for (int b = 0; b < 256; ++b)
            if (!isLeadByte(b)) t->single[b] = roundTrip(QByteArray(1, char(b)));
        for (int lead = 0; lead < 256; ++lead) {
            if (!isLeadByte(lead)) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                const char seq[2] = {char(lead), char(trail)};
                t->pair[(lead << 8) | trail] = roundTrip(QByteArray(seq, 2));
            }
        }
        return t;
    }();
    return *table;
}

// Whether every ASCII byte stands for its own character both ways, as CP932
// has it: ASCII text then needs no table and no converter (settings files are
// mostly ASCII).
bool asciiRoundTrips() {
    static const bool same = [] {
        const RoundTripTable& table = roundTripTable();
        for (int b = 0; b < 0x80; ++b)
            if (table.single[b] != char16_t(b)) return false;
        return true;
    }();
    return same;
}

bool isAscii(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

bool isStrayByteMark(const QString& text, qsizetype i) {
    const char16_t c = text.at(i).unicode();
    if (c < kStrayByteBase || c > kStrayByteBase + 0xFF) return false;
    return i == 0 || !text.at(i - 1).isHighSurrogate();
}

}  // namespace

QString fromShiftJis(const QByteArray& bytes) {
    return decode(bytes, [](unsigned char) { return QChar(QChar::ReplacementCharacter); });
}

QByteArray toShiftJis(const QString& text) {
    Converter cd("CP932", "UTF-16LE");
    QByteArray out;
    if (!cd.valid()) return text.toLatin1();
    encodeRun(cd, text, out);
    return out;
}

bool representableInShiftJis(const QString& text) {
    // Settings are mostly ASCII; they need no converter.
    if (isAscii(text) && asciiRoundTrips()) return true;
    Converter cd("CP932", "UTF-16LE");
    QByteArray out;
    if (!cd.valid() || !encodeRun(cd, text, out)) return false;
    // The converter also takes characters such as ¥, ¢ or the wave dash, whose
    // bytes read back as other characters (\, ￠, ～): those cannot be kept.
    return fromShiftJis(out) == text;
}

QString fromShiftJisKeepingStrayBytes(const QByteArray& bytes) {
    const RoundTripTable& table = roundTripTable();
    QString result;
    result.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    const bool ascii = asciiRoundTrips();
    for (qsizetype i = 0; i < n;) {
        if (ascii && p[i] < 0x80) {
            qsizetype end = i + 1;
            while (end < n && p[end] < 0x80) ++end;
            result.append(QLatin1StringView(bytes.constData() + i, end - i));
            i = end;
            continue;
        }
        if (isLeadByte(p[i]) && i + 1 < n) {
            const char16_t c = table.pair[(p[i] << 8) | p[i + 1]];
            if (c != kNoCharacter) {
                result.append(QChar(c));
                i += 2;
                continue;
            }
        }
        const char16_t c = table.single[p[i]];
        result.append(QChar(c != kNoCharacter ? c : char16_t(kStrayByteBase + p[i])));
        ++i;
    }
    return result;
}

QByteArray toShiftJisKeepingStrayBytes(const QString& text) {
    if (asciiRoundTrips() && isAscii(text)) return text.toLatin1();
    Converter cd("CP932", "UTF-16LE");
    QByteArray out;
    if (!cd.valid()) return text.toLatin1();
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isStrayByteMark(text, i)) continue;
        encodeRun(cd, text.mid(runStart, i - runStart), out);
        if (i < text.size()) out.append(char(text.at(i).unicode() - kStrayByteBase));
        runStart = i + 1;
    }
    return out;
}

bool shiftJisKeepsAscii() { return asciiRoundTrips(); }

bool isAsciiBytes(const QByteArray& bytes) {
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    quint64 all = 0;
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) all |= qFromUnaligned<quint64>(data + i);
    for (; i < size; ++i) all |= static_cast<unsigned char>(data[i]);
    return (all & 0x8080808080808080ULL) == 0;
}
