// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/media_midi_file.h"

#include <QFile>
#include <algorithm>

namespace {

constexpr int64_t kDefaultTempo = 500000;  // microseconds per quarter note
// Ticks saturate here: far beyond any song, far below int64 overflow in the
// 128-bit time arithmetic below.
constexpr int64_t kMaxTick = int64_t{1} << 60;

// An event as read from its track, kept small: the largest files hold
// millions. A sysex body waits in a list of its own.
constexpr uint8_t kTempoStatus = 0xFF;
struct TickedEvent {
    int64_t tick;
    uint32_t value;  // microseconds per quarter for a tempo, the body's index for a sysex
    uint8_t status;  // a channel status, 0xF0 for a sysex, kTempoStatus for a tempo
    uint8_t data1;
    uint8_t data2;
};

struct TrackEvents {
    std::vector<TickedEvent> events;
    std::vector<QByteArray> sysexBodies;
};

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool atEnd() const { return pos_ >= size_; }
    // True once a read failed because the bytes ran out (not because they
    // were malformed).
    bool ranOut() const { return ranOut_; }
    bool byte(uint8_t* out) {
        if (!have(1)) return false;
        *out = data_[pos_++];
        return true;
    }
    bool peek(uint8_t* out) {
        if (!have(1)) return false;
        *out = data_[pos_];
        return true;
    }
    bool bytes(uint64_t n, QByteArray* out) {
        if (!have(n)) return false;
        *out = QByteArray(reinterpret_cast<const char*>(data_ + pos_), static_cast<qsizetype>(n));
        pos_ += static_cast<size_t>(n);
        return true;
    }
    // A variable-length quantity: at most four bytes, seven bits each.
    bool quantity(uint32_t* out) {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b;
            if (!byte(&b)) return false;
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80)) {
                *out = value;
                return true;
            }
        }
        return false;
    }

private:
    bool have(uint64_t n) {
        if (n <= size_ - pos_) return true;
        ranOut_ = true;
        return false;
    }
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ranOut_ = false;
};

uint32_t bigEndian(const uint8_t* p, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}

uint32_t littleEndian32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

int dataBytesOf(uint8_t status) {
    const uint8_t kind = status & 0xF0;
    return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

enum class TrackRead { Complete, RanOut, Malformed, TooManyEvents };

// Reads the events of one MTrk chunk, appending them to out; endTick receives
// the tick of its End of Track, or of the last complete event when the bytes
// run out first.
TrackRead readTrack(const uint8_t* data, size_t size, TrackEvents& read, int64_t* endTick) {
    std::vector<TickedEvent>& out = read.events;
    ByteReader in(data, size);
    int64_t tick = 0;
    *endTick = 0;
    uint8_t runningStatus = 0;
    auto failure = [&] { return in.ranOut() ? TrackRead::RanOut : TrackRead::Malformed; };
    while (!in.atEnd()) {
        uint32_t delta;
        if (!in.quantity(&delta)) return failure();
        tick = std::min(tick + delta, kMaxTick);
        uint8_t first;
        if (!in.peek(&first)) return failure();
        uint8_t status;
        if (first & 0x80) {
            in.byte(&status);
        } else {
            if (runningStatus == 0) return TrackRead::Malformed;
            status = runningStatus;
        }
        TickedEvent ev{tick, 0, status, 0, 0};
        if (status < 0xF0) {
            runningStatus = status;
            uint8_t d1 = 0, d2 = 0;
            if (!in.byte(&d1)) return failure();
            if (d1 & 0x80) return TrackRead::Malformed;
            if (dataBytesOf(status) == 2) {
                if (!in.byte(&d2)) return failure();
                if (d2 & 0x80) return TrackRead::Malformed;
            }
            ev.data1 = d1;
            ev.data2 = d2;
            out.push_back(ev);
        } else if (status == 0xF0 || status == 0xF7) {
            // Running status goes on after a sysex or meta event: many files
            // rely on it, and common players allow it.
            uint32_t length;
            QByteArray body;
            if (!in.quantity(&length) || !in.bytes(length, &body)) return failure();
            // F0 carries a whole message ending in F7; F7 escapes (continuations,
            // raw bytes) are rare in music files and are left out.
            if (status == 0xF0 && body.endsWith('\xF7')) {
                body.chop(1);
                ev.value = static_cast<uint32_t>(read.sysexBodies.size());
                read.sysexBodies.push_back(std::move(body));
                out.push_back(ev);
            }
        } else if (status == 0xFF) {
            uint8_t type;
            uint32_t length;
            if (!in.byte(&type) || !in.quantity(&length)) return failure();
            QByteArray body;
            if (!in.bytes(length, &body)) return failure();
            if (type == 0x51 && length == 3) {
                ev.status = kTempoStatus;
                ev.value = bigEndian(reinterpret_cast<const uint8_t*>(body.constData()), 3);
                if (ev.value == 0) ev.value = kDefaultTempo;
                out.push_back(ev);
            } else if (type == 0x2F) {
                *endTick = tick;
                return TrackRead::Complete;  // anything after End of Track is not part of the track
            }
        } else {
            return TrackRead::Malformed;  // system common/real-time bytes do not belong in a file
        }
        if (out.size() > kMaxMidiEvents) return TrackRead::TooManyEvents;
        *endTick = tick;
    }
    return TrackRead::Complete;
}

// The Standard MIDI File inside a RIFF "RMID" file: the body of its "data"
// chunk (what of it the file holds). Other bytes are returned as they are.
QByteArray unwrapRiffMidi(const QByteArray& bytes) {
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "RMID") return bytes;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    const size_t size = static_cast<size_t>(bytes.size());
    size_t pos = 12;
    while (size - pos >= 8) {
        const uint64_t length = littleEndian32(data + pos + 4);
        const size_t available = size - pos - 8;
        if (bytes.mid(static_cast<qsizetype>(pos), 4) == "data")
            return bytes.mid(static_cast<qsizetype>(pos + 8), static_cast<qsizetype>(std::min<uint64_t>(length, available)));
        if (length + (length & 1) >= available) break;
        pos += 8 + length + (length & 1);  // chunks are padded to an even length
    }
    return {};
}

int64_t clampedTime(__int128 microseconds) {
    return static_cast<int64_t>(std::clamp<__int128>(microseconds, 0, kMaxMidiSongMicroseconds));
}

// Ticks to microseconds, in integers so that no file can overflow them:
// metrical division counts ticks per quarter note scaled by the tempo in
// force; SMPTE division counts frames and subframes (29 meaning 29.97 fps).
class TickClock {
public:
    // False for a division that counts nothing.
    bool setDivision(uint32_t division) {
        if (division & 0x8000) {
            const int fps = -static_cast<int8_t>(division >> 8);
            const int ticksPerFrame = division & 0xFF;
            if (fps <= 0 || ticksPerFrame == 0) return false;
            smpte_ = true;
            // Microseconds per tick = 1e6 * perSecondDen / (perSecondNum * ticksPerFrame).
            smpteNumerator_ = int64_t{1000000} * (fps == 29 ? 1001 : 1);
            smpteDenominator_ = int64_t{fps == 29 ? 30000 : fps} * ticksPerFrame;
            return true;
        }
        ticksPerQuarter_ = division;
        return ticksPerQuarter_ != 0;
    }

    int64_t timeOf(int64_t tick) const {
        if (smpte_) return clampedTime(rounded(__int128{tick} * smpteNumerator_, smpteDenominator_));
        return clampedTime(__int128{tempoMicroseconds_} +
                           rounded(__int128{tick - tempoTick_} * tempo_, ticksPerQuarter_));
    }

    // A tempo change at tick (ticks come in time order).
    void changeTempo(int64_t tick, int64_t tempo) {
        if (smpte_) return;
        tempoMicroseconds_ = timeOf(tick);
        tempoTick_ = tick;
        tempo_ = tempo;
    }

private:
    static __int128 rounded(__int128 numerator, int64_t denominator) {
        return (numerator + denominator / 2) / denominator;
    }

    bool smpte_ = false;
    int64_t smpteNumerator_ = 0;
    int64_t smpteDenominator_ = 1;
    int64_t ticksPerQuarter_ = 1;
    int64_t tempo_ = kDefaultTempo;
    int64_t tempoTick_ = 0;
    int64_t tempoMicroseconds_ = 0;
};

// Visits the events of all tracks in time order; events at one tick keep the
// order of their tracks, then of the file. Each track's events lie in ticked
// from its start on, already in time order, so merging them is enough.
template <typename Visit>
void mergeTracks(const std::vector<TickedEvent>& ticked, const std::vector<size_t>& trackStarts, Visit visit) {
    struct Cursor {
        size_t next;
        size_t end;
        size_t track;
    };
    std::vector<Cursor> heap;
    for (size_t t = 0; t < trackStarts.size(); ++t) {
        const size_t end = t + 1 < trackStarts.size() ? trackStarts[t + 1] : ticked.size();
        if (trackStarts[t] < end) heap.push_back({trackStarts[t], end, t});
    }
    // A min-heap on (tick, track): std::*_heap keep the largest first.
    const auto later = [&ticked](const Cursor& a, const Cursor& b) {
        const int64_t ta = ticked[a.next].tick, tb = ticked[b.next].tick;
        return ta != tb ? ta > tb : a.track > b.track;
    };
    std::make_heap(heap.begin(), heap.end(), later);
    while (!heap.empty()) {
        std::pop_heap(heap.begin(), heap.end(), later);
        Cursor& c = heap.back();
        visit(ticked[c.next]);
        if (++c.next < c.end)
            std::push_heap(heap.begin(), heap.end(), later);
        else
            heap.pop_back();
    }
}

}  // namespace

std::optional<MidiSong> parseMidiFile(const QByteArray& file) {
    if (file.size() > kMaxMidiFileBytes) return std::nullopt;
    const QByteArray bytes = unwrapRiffMidi(file);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    const size_t size = static_cast<size_t>(bytes.size());
    if (size < 14 || !bytes.startsWith("MThd")) return std::nullopt;
    const uint32_t headerLength = bigEndian(data + 4, 4);
    if (headerLength < 6 || headerLength > size - 8) return std::nullopt;
    const uint32_t format = bigEndian(data + 8, 2);
    const uint32_t declaredTracks = bigEndian(data + 10, 2);
    if (format > 2 || declaredTracks == 0) return std::nullopt;
    TickClock clock;
    if (!clock.setDivision(bigEndian(data + 12, 2))) return std::nullopt;

    // Format 0 declaring several tracks is read like format 1: the tracks
    // sound together.
    TrackEvents read;
    std::vector<TickedEvent>& ticked = read.events;
    ticked.reserve(std::min<size_t>(size / 3, kMaxMidiEvents + 1));
    std::vector<size_t> trackStarts;  // where each track's events begin in ticked
    int64_t lastTick = 0;
    int64_t formatTwoOffset = 0;  // format 2 tracks are independent songs played in turn
    uint32_t tracksRead = 0;
    size_t pos = 8 + headerLength;
    // A header may promise more tracks than follow: the ones there are play.
    while (tracksRead < declaredTracks && size - pos >= 8) {
        const uint64_t length = bigEndian(data + pos + 4, 4);
        const size_t available = size - pos - 8;
        const bool cutShort = length > available;
        if (bytes.mid(static_cast<qsizetype>(pos), 4) == "MTrk") {
            const size_t first = ticked.size();
            trackStarts.push_back(first);
            int64_t endTick = 0;
            const TrackRead result =
                readTrack(data + pos + 8, cutShort ? available : static_cast<size_t>(length), read, &endTick);
            if (result == TrackRead::Malformed || result == TrackRead::TooManyEvents) return std::nullopt;
            // An intact track that ends inside an event is broken; a track cut
            // short by the end of the file plays up to the cut.
            if (result == TrackRead::RanOut && !cutShort) return std::nullopt;
            if (format == 2) {
                for (size_t i = first; i < ticked.size(); ++i)
                    ticked[i].tick = std::min(ticked[i].tick + formatTwoOffset, kMaxTick);
                formatTwoOffset = std::min(formatTwoOffset + endTick, kMaxTick);
                endTick = formatTwoOffset;
            }
            lastTick = std::max(lastTick, endTick);
            ++tracksRead;
        }
        if (cutShort) break;
        pos += 8 + static_cast<size_t>(length);  // chunks of other types are skipped
    }
    if (tracksRead == 0) return std::nullopt;

    MidiSong song;
    song.events.reserve(ticked.size());
    int64_t lastTempoTick = 0;
    mergeTracks(ticked, trackStarts, [&](const TickedEvent& t) {
        if (t.status == kTempoStatus) {
            clock.changeTempo(t.tick, t.value);
            lastTempoTick = t.tick;
            return;
        }
        MidiEvent& e = song.events.emplace_back();
        e.atMicroseconds = clock.timeOf(t.tick);
        e.status = t.status;
        e.data1 = t.data1;
        e.data2 = t.data2;
        if (t.status == 0xF0) e.sysex = std::move(read.sysexBodies[t.value]);
    });
    song.lengthMicroseconds = clock.timeOf(std::max(lastTick, lastTempoTick));
    return song;
}

std::optional<MidiSong> readMidiFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    if (file.size() > kMaxMidiFileBytes) return std::nullopt;
    return parseMidiFile(file.read(kMaxMidiFileBytes + 1));
}
