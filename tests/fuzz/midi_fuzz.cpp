// SPDX-License-Identifier: GPL-3.0-or-later
// The Standard MIDI File reader on any bytes: nothing, or events in time order
// within the song's length, each a channel message or a system exclusive.
#include "audio/media_midi_file.h"
#include "fuzz_check.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<MidiSong> song = parseMidiFile(bytes);
    if (!song) return 0;
    FUZZ_CHECK(song->lengthMicroseconds >= 0);
    int64_t previous = 0;
    for (const MidiEvent& e : song->events) {
        FUZZ_CHECK(e.atMicroseconds >= previous);
        FUZZ_CHECK(e.atMicroseconds <= song->lengthMicroseconds);
        previous = e.atMicroseconds;
        FUZZ_CHECK((e.status >= 0x80 && e.status <= 0xef) || e.status == 0xf0);
        if (e.status != 0xf0) FUZZ_CHECK(e.data1 < 0x80 && e.data2 < 0x80);
    }
    return 0;
}
