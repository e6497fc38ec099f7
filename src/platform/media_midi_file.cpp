#include "platform/media_midi_file.h"

#include <QFile>
#include <algorithm>

namespace {

// Background music files are small; anything this large is not one of them and
// would only cost memory.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
constexpr int64_t kDefaultTempo = 500000;  // microseconds per quarter note

struct TickedEvent {
    int64_t tick;
    int track;
    size_t order;  // position in the file, so equal ticks keep file order
    bool isTempo;
    int64_t tempo;
    MidiEvent event;
};

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool atEnd() const { return pos_ >= size_; }
    bool byte(uint8_t* out) {
        if (pos_ >= size_) return false;
        *out = data_[pos_++];
        return true;
    }
    bool peek(uint8_t* out) const {
        if (pos_ >= size_) return false;
        *out = data_[pos_];
        return true;
    }
    bool skip(uint64_t n) {
        if (n > size_ - pos_) return false;
        pos_ += static_cast<size_t>(n);
        return true;
    }
    bool bytes(uint64_t n, QByteArray* out) {
        if (n > size_ - pos_) return false;
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
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

uint32_t bigEndian(const uint8_t* p, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}

int dataBytesOf(uint8_t status) {
    const uint8_t kind = status & 0xF0;
    return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

// Reads the events of one MTrk chunk, appending them to out. False when the
// track is malformed.
bool readTrack(const uint8_t* data, size_t size, int track, std::vector<TickedEvent>& out,
               size_t& order, int64_t* endTick) {
    ByteReader in(data, size);
    int64_t tick = 0;
    uint8_t runningStatus = 0;
    while (!in.atEnd()) {
        uint32_t delta;
        if (!in.quantity(&delta)) return false;
        tick += delta;
        uint8_t first;
        if (!in.peek(&first)) return false;
        uint8_t status;
        if (first & 0x80) {
            in.byte(&status);
        } else {
            if (runningStatus == 0) return false;
            status = runningStatus;
        }
        TickedEvent ev{tick, track, order++, false, 0, {}};
        if (status < 0xF0) {
            runningStatus = status;
            uint8_t d1 = 0, d2 = 0;
            if (!in.byte(&d1) || (d1 & 0x80)) return false;
            if (dataBytesOf(status) == 2 && (!in.byte(&d2) || (d2 & 0x80))) return false;
            ev.event.status = status;
            ev.event.data1 = d1;
            ev.event.data2 = d2;
            out.push_back(std::move(ev));
        } else if (status == 0xF0 || status == 0xF7) {
            runningStatus = 0;
            uint32_t length;
            QByteArray body;
            if (!in.quantity(&length) || !in.bytes(length, &body)) return false;
            // F0 carries a whole message ending in F7; F7 escapes (continuations,
            // raw bytes) are rare in music files and are left out.
            if (status == 0xF0 && body.endsWith('\xF7')) {
                body.chop(1);
                ev.event.status = 0xF0;
                ev.event.sysex = body;
                out.push_back(std::move(ev));
            }
        } else if (status == 0xFF) {
            runningStatus = 0;
            uint8_t type;
            uint32_t length;
            if (!in.byte(&type) || !in.quantity(&length)) return false;
            QByteArray body;
            if (!in.bytes(length, &body)) return false;
            if (type == 0x51 && length == 3) {
                ev.isTempo = true;
                ev.tempo = bigEndian(reinterpret_cast<const uint8_t*>(body.constData()), 3);
                if (ev.tempo == 0) ev.tempo = kDefaultTempo;
                out.push_back(std::move(ev));
            } else if (type == 0x2F) {
                *endTick = tick;
                return true;  // anything after End of Track is not part of the track
            }
        } else {
            return false;  // system common/real-time bytes do not belong in a file
        }
    }
    *endTick = tick;
    return true;
}

}  // namespace

std::optional<MidiSong> parseMidiFile(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    const size_t size = static_cast<size_t>(bytes.size());
    if (size < 14 || bytes.left(4) != "MThd") return std::nullopt;
    const uint32_t headerLength = bigEndian(data + 4, 4);
    if (headerLength < 6 || headerLength > size - 8) return std::nullopt;
    const uint32_t format = bigEndian(data + 8, 2);
    const uint32_t declaredTracks = bigEndian(data + 10, 2);
    const uint32_t division = bigEndian(data + 12, 2);
    if (format > 2 || declaredTracks == 0 || (format == 0 && declaredTracks != 1)) return std::nullopt;

    // Ticks to microseconds: metrical division counts ticks per quarter note
    // (scaled by the tempo); SMPTE division counts frames and subframes.
    bool smpte = (division & 0x8000) != 0;
    double microsecondsPerTickSmpte = 0;
    const int ticksPerQuarter = static_cast<int>(division);
    if (smpte) {
        const int fps = -static_cast<int8_t>(division >> 8);
        const int ticksPerFrame = division & 0xFF;
        if (fps <= 0 || ticksPerFrame == 0) return std::nullopt;
        const double framesPerSecond = fps == 29 ? 29.97 : fps;
        microsecondsPerTickSmpte = 1e6 / (framesPerSecond * ticksPerFrame);
    } else if (ticksPerQuarter == 0) {
        return std::nullopt;
    }

    std::vector<TickedEvent> ticked;
    size_t order = 0;
    int64_t lastTick = 0;
    int64_t formatTwoOffset = 0;  // format 2 tracks are independent songs played in turn
    uint32_t tracksRead = 0;
    size_t pos = 8 + headerLength;
    while (tracksRead < declaredTracks) {
        if (size - pos < 8) return std::nullopt;
        const uint32_t length = bigEndian(data + pos + 4, 4);
        if (length > size - pos - 8) return std::nullopt;
        if (bytes.mid(static_cast<qsizetype>(pos), 4) == "MTrk") {
            const size_t first = ticked.size();
            int64_t endTick = 0;
            if (!readTrack(data + pos + 8, length, static_cast<int>(tracksRead), ticked, order, &endTick))
                return std::nullopt;
            if (format == 2) {
                for (size_t i = first; i < ticked.size(); ++i) ticked[i].tick += formatTwoOffset;
                formatTwoOffset += endTick;
                endTick = formatTwoOffset;
            }
            lastTick = std::max(lastTick, endTick);
            ++tracksRead;
        }
        pos += 8 + length;  // chunks of other types are skipped
    }

    std::stable_sort(ticked.begin(), ticked.end(), [](const TickedEvent& a, const TickedEvent& b) {
        return a.tick < b.tick;
    });

    MidiSong song;
    song.events.reserve(ticked.size());
    int64_t tempo = kDefaultTempo;
    int64_t tempoTick = 0;
    double tempoMicroseconds = 0;
    auto timeOf = [&](int64_t tick) {
        if (smpte) return static_cast<double>(tick) * microsecondsPerTickSmpte;
        return tempoMicroseconds + static_cast<double>(tick - tempoTick) * tempo / ticksPerQuarter;
    };
    for (TickedEvent& t : ticked) {
        if (t.isTempo) {
            tempoMicroseconds = timeOf(t.tick);
            tempoTick = t.tick;
            tempo = t.tempo;
            continue;
        }
        t.event.atMicroseconds = static_cast<int64_t>(timeOf(t.tick) + 0.5);
        song.events.push_back(std::move(t.event));
    }
    song.lengthMicroseconds = static_cast<int64_t>(timeOf(std::max<int64_t>(lastTick, tempoTick)) + 0.5);
    return song;
}

std::optional<MidiSong> readMidiFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    if (file.size() > kMaxFileBytes) return std::nullopt;
    return parseMidiFile(file.read(kMaxFileBytes));
}
