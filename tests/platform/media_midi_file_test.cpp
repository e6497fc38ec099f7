#include "platform/media_midi_file.h"
#include "platform/media_smf_builder.h"

#include <gtest/gtest.h>

namespace {

std::vector<int64_t> eventTimesMs(const MidiSong& song) {
    std::vector<int64_t> times;
    for (const MidiEvent& e : song.events) times.push_back(e.atMicroseconds / 1000);
    return times;
}

}  // namespace

// A tempo change in the conductor track of a format 1 file changes the pace of
// the notes in the other track; running status carries the note-on status.
TEST(MidiFile, TempoMapOfOneTrackTimesTheEventsOfAnother) {
    TrackBytes conductor;
    conductor.tempo(0, 500000).tempo(480, 250000).end(960);
    TrackBytes notes;
    notes.at(0, {0x90, 60, 100}).at(480, {62, 100}).at(480, {64, 100}).at(480, {0x80, 64, 0}).end(0);
    const auto song =
        parseMidiFile(midiHeader(1, 2, 480) + conductor.chunk() + notes.chunk());
    ASSERT_TRUE(song);
    EXPECT_EQ(eventTimesMs(*song), (std::vector<int64_t>{0, 500, 750, 1000}));
    EXPECT_EQ(song->events[1].status, 0x90);
    EXPECT_EQ(song->events[1].data1, 62);
    EXPECT_EQ(song->lengthMicroseconds, 1000000);  // conductor's End of Track at tick 1440
}

// SMPTE division counts frames: 25 frames of 40 ticks make a millisecond tick.
// Tempo events do not change SMPTE time. A sysex keeps its body without F0/F7.
TEST(MidiFile, SmpteDivisionAndSysexAreUnderstood) {
    TrackBytes t;
    t.at(0, {0xF0, 4, 0x7E, 0x7F, 0x09, 0xF7}).tempo(0, 1000000).at(250, {0xB0, 7, 90}).end(750);
    const auto song = parseMidiFile(midiHeader(0, 1, 0xE728) + t.chunk());
    ASSERT_TRUE(song);
    ASSERT_EQ(song->events.size(), 2u);
    EXPECT_EQ(song->events[0].status, 0xF0);
    EXPECT_EQ(song->events[0].sysex, QByteArray("\x7E\x7F\x09", 3));
    EXPECT_EQ(song->events[1].atMicroseconds, 250000);
    EXPECT_EQ(song->lengthMicroseconds, 1000000);
}

// Chunks of unknown types are skipped; format 2 tracks follow one another.
TEST(MidiFile, UnknownChunksAreSkippedAndFormatTwoTracksPlayInTurn) {
    TrackBytes first;
    first.at(0, {0x90, 60, 100}).at(480, {0x80, 60, 0}).end(0);
    TrackBytes second;
    second.at(0, {0x90, 62, 100}).at(960, {0x80, 62, 0}).end(0);
    const QByteArray extra = "XTRA" + bigEndianBytes(3, 4) + "abc";
    const auto song = parseMidiFile(midiHeader(2, 2, 480) + extra + first.chunk() + second.chunk());
    ASSERT_TRUE(song);
    EXPECT_EQ(eventTimesMs(*song), (std::vector<int64_t>{0, 500, 500, 1500}));
    EXPECT_EQ(song->lengthMicroseconds, 1500000);
}

// Anything that is not a sound MIDI file is refused rather than half-played.
TEST(MidiFile, MalformedFilesAreRefused) {
    const QByteArray good = oneSecondSong();
    ASSERT_TRUE(parseMidiFile(good));

    EXPECT_FALSE(parseMidiFile(QByteArray("not a midi file at all, just text")));
    EXPECT_FALSE(parseMidiFile(QByteArray()));
    EXPECT_FALSE(parseMidiFile(good.left(good.size() - 3))) << "track shorter than its length";
    EXPECT_FALSE(parseMidiFile(good.left(14))) << "header without its track";
    EXPECT_FALSE(parseMidiFile(midiHeader(0, 1, 0) + good.mid(14))) << "zero division";
    EXPECT_FALSE(parseMidiFile(midiHeader(0, 2, 480) + good.mid(14) + good.mid(14)))
        << "format 0 with two tracks";
    EXPECT_FALSE(parseMidiFile(midiHeader(3, 1, 480) + good.mid(14))) << "unknown format";

    TrackBytes noStatus;
    noStatus.at(0, {60, 100}).end(0);
    EXPECT_FALSE(parseMidiFile(midiHeader(0, 1, 480) + noStatus.chunk())) << "running status without status";
    TrackBytes badData;
    badData.at(0, {0x90, 0x90, 100}).end(0);
    EXPECT_FALSE(parseMidiFile(midiHeader(0, 1, 480) + badData.chunk())) << "data byte with its top bit";
    QByteArray fiveByteDelta = QByteArray("\x81\x81\x81\x81\x01\x90\x3C\x64", 8);
    EXPECT_FALSE(parseMidiFile(midiHeader(0, 1, 480) + "MTrk" + bigEndianBytes(8, 4) + fiveByteDelta))
        << "delta time longer than four bytes";
    QByteArray hugeLength = good;
    hugeLength.replace(18, 4, bigEndianBytes(0x7FFFFFF0, 4));
    EXPECT_FALSE(parseMidiFile(hugeLength)) << "track length beyond the file";
}
