// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Building Standard MIDI File bytes by hand for the media tests.
#include <QByteArray>
#include <cstdint>
#include <initializer_list>

inline QByteArray bigEndianBytes(uint32_t value, int count) {
    QByteArray out;
    for (int i = count - 1; i >= 0; --i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
}

inline QByteArray variableLength(uint32_t value) {
    QByteArray out(1, static_cast<char>(value & 0x7F));
    while (value >>= 7) out.prepend(static_cast<char>(0x80 | (value & 0x7F)));
    return out;
}

// The events of one track: each a delta time in ticks and its raw bytes.
class TrackBytes {
public:
    TrackBytes& at(uint32_t delta, std::initializer_list<int> bytes) {
        data_ += variableLength(delta);
        for (int b : bytes) data_.append(static_cast<char>(b));
        return *this;
    }
    TrackBytes& tempo(uint32_t delta, uint32_t microsecondsPerQuarter) {
        data_ += variableLength(delta);
        data_ += QByteArray("\xFF\x51\x03", 3) + bigEndianBytes(microsecondsPerQuarter, 3);
        return *this;
    }
    TrackBytes& end(uint32_t delta) { return at(delta, {0xFF, 0x2F, 0x00}); }
    QByteArray chunk() const { return "MTrk" + bigEndianBytes(static_cast<uint32_t>(data_.size()), 4) + data_; }

private:
    QByteArray data_;
};

inline QByteArray midiHeader(int format, int tracks, int division) {
    return "MThd" + bigEndianBytes(6, 4) + bigEndianBytes(format, 2) + bigEndianBytes(tracks, 2) +
           bigEndianBytes(division, 2);
}

// One track at 480 ticks per quarter and the default 120 bpm (480 ticks =
// 500 ms): a piano note from 0 to 500 ms, another to 1000 ms, then the end.
inline QByteArray oneSecondSong() {
    TrackBytes t;
    t.at(0, {0xC0, 0}).at(0, {0x90, 60, 100}).at(480, {0x80, 60, 0}).at(0, {0x90, 64, 100}).at(480, {0x80, 64, 0}).end(0);
    return midiHeader(0, 1, 480) + t.chunk();
}
