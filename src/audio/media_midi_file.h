// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Standard MIDI Files read into one time-ordered list of the events a
// synthesizer needs, with their times in microseconds from the start.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

struct MidiEvent {
    int64_t atMicroseconds = 0;
    uint8_t status = 0;  // channel message status byte (0x80..0xEF), or 0xF0 for a sysex
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    QByteArray sysex;  // the bytes between F0 and the closing F7
};

struct MidiSong {
    std::vector<MidiEvent> events;  // sorted by time; events at one time keep file order
    int64_t lengthMicroseconds = 0;  // time of the last event of the file (End of Track included)
};

// What a background-music file may hold at most; anything beyond is not
// played. Every time of a song lies in 0..kMaxMidiSongMicroseconds.
constexpr int64_t kMaxMidiFileBytes = 8 * 1024 * 1024;
constexpr size_t kMaxMidiEvents = 2 * 1024 * 1024;
constexpr int64_t kMaxMidiSongMicroseconds = int64_t{24} * 3600 * 1000000;

// Parses the bytes of a Standard MIDI File (formats 0, 1 and 2, metrical or
// SMPTE division), bare or wrapped in a RIFF "RMID" file. Lenient where
// common players are: running status survives meta and sysex events, a
// header may declare more tracks than the file holds (format 0 included), a
// last track cut short by the end of the file is read up to the cut.
// nullopt when the bytes are no MIDI file (no header, no track, a bad
// division, data bytes out of range or running status without a status
// inside an intact track) or exceed the limits above.
std::optional<MidiSong> parseMidiFile(const QByteArray& bytes);

// Reads and parses the file at path; nullopt when it cannot be read, is
// larger than kMaxMidiFileBytes or is not a MIDI file.
std::optional<MidiSong> readMidiFile(const QString& path);
