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

// Parses the bytes of a Standard MIDI File (formats 0, 1 and 2, metrical or
// SMPTE division). nullopt when the bytes are not a well-formed MIDI file:
// no "MThd" header, a truncated chunk, a bad length, missing tracks, data
// bytes out of range or running status without a status.
std::optional<MidiSong> parseMidiFile(const QByteArray& bytes);

// Reads and parses the file at path; nullopt when it cannot be read, is
// implausibly large or is not a MIDI file.
std::optional<MidiSong> readMidiFile(const QString& path);
