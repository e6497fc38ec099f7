// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/media_control.h"
#include "audio/media_midi_file.h"
#include "audio/media_smf_builder.h"
#include "support/temp_app_dir.h"

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
    EXPECT_FALSE(parseMidiFile(good.left(14))) << "header without its track";
    EXPECT_FALSE(parseMidiFile(midiHeader(0, 1, 0) + good.mid(14))) << "zero division";
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
    TrackBytes cutInsideItsLength;
    cutInsideItsLength.at(0, {0x90, 60, 100}).at(480, {0x80, 60});
    EXPECT_FALSE(parseMidiFile(midiHeader(0, 1, 480) + cutInsideItsLength.chunk() + oneSecondSong().mid(14)))
        << "an intact track that ends inside an event";
    EXPECT_FALSE(parseMidiFile(QByteArray("RIFF\x04\x00\x00\x00RMID", 12))) << "RMID without a data chunk";
}

namespace {

QByteArray littleEndianBytes(uint32_t value) {
    QByteArray out;
    for (int i = 0; i < 4; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
}

QByteArray riffChunk(const QByteArray& id, const QByteArray& body) {
    QByteArray out = id + littleEndianBytes(static_cast<uint32_t>(body.size())) + body;
    if (body.size() % 2) out.append('\0');
    return out;
}

}  // namespace

// What ordinary players accept is played, as far as it can be read.
TEST(MidiFile, FilesThatCommonPlayersAcceptArePlayed) {
    // Running status goes on across a text meta event and a sysex.
    TrackBytes lenient;
    lenient.at(0, {0x90, 60, 100})
        .at(0, {0xFF, 0x01, 2, 'h', 'i'})
        .at(480, {62, 100})
        .at(0, {0xF0, 3, 0x7E, 0x7F, 0xF7})
        .at(480, {64, 100})
        .end(0);
    const auto running = parseMidiFile(midiHeader(0, 1, 480) + lenient.chunk());
    ASSERT_TRUE(running);
    EXPECT_EQ(eventTimesMs(*running), (std::vector<int64_t>{0, 500, 500, 1000}));
    EXPECT_EQ(running->events[1].status, 0x90);
    EXPECT_EQ(running->events[1].data1, 62);
    EXPECT_EQ(running->events[2].sysex, QByteArray("\x7E\x7F", 2));
    EXPECT_EQ(running->events[3].status, 0x90);
    EXPECT_EQ(running->events[3].data1, 64);

    // A header promising five tracks with one in the file; format 0 with two.
    const QByteArray song = oneSecondSong();
    const auto promised = parseMidiFile(midiHeader(1, 5, 480) + song.mid(14));
    ASSERT_TRUE(promised);
    EXPECT_EQ(promised->events.size(), 5u);
    EXPECT_EQ(promised->lengthMicroseconds, 1000000);
    TrackBytes late;
    late.at(240, {0x91, 67, 80}).end(0);
    const auto formatZeroTwoTracks = parseMidiFile(midiHeader(0, 2, 480) + song.mid(14) + late.chunk());
    ASSERT_TRUE(formatZeroTwoTracks);
    EXPECT_EQ(eventTimesMs(*formatZeroTwoTracks), (std::vector<int64_t>{0, 0, 250, 500, 500, 1000}));
    EXPECT_EQ(formatZeroTwoTracks->events[2].status, 0x91);

    // A last track whose length runs past the end of the file: its events up
    // to the cut play, and so does the complete track before it.
    TrackBytes cut;
    cut.at(0, {0x92, 48, 90}).at(1440, {0x82, 48, 0}).at(480, {0x92, 50, 90}).end(0);
    const QByteArray cutFile = midiHeader(1, 2, 480) + song.mid(14) + cut.chunk();
    const auto cutShort = parseMidiFile(cutFile.left(cutFile.size() - 5));  // inside the last note-on
    ASSERT_TRUE(cutShort);
    EXPECT_EQ(eventTimesMs(*cutShort), (std::vector<int64_t>{0, 0, 0, 500, 500, 1000, 1500}));
    EXPECT_EQ(cutShort->lengthMicroseconds, 1500000) << "up to the last complete event";
    QByteArray overlong = song;
    overlong.replace(18, 4, bigEndianBytes(0x7FFFFFF0, 4));
    const auto overlongTrack = parseMidiFile(overlong);
    ASSERT_TRUE(overlongTrack);
    EXPECT_EQ(overlongTrack->lengthMicroseconds, 1000000);

    // RIFF-wrapped, with an odd-sized chunk (padded) before the data chunk; a
    // data chunk that claims more than the file holds gives what is there.
    const auto bare = parseMidiFile(song);
    ASSERT_TRUE(bare);
    const QByteArray chunks = riffChunk("LIST", "INFOabc") + riffChunk("data", song);
    const QByteArray rmid = "RIFF" + littleEndianBytes(static_cast<uint32_t>(4 + chunks.size())) + "RMID" + chunks;
    const auto wrapped = parseMidiFile(rmid);
    ASSERT_TRUE(wrapped);
    EXPECT_EQ(eventTimesMs(*wrapped), eventTimesMs(*bare));
    EXPECT_EQ(wrapped->lengthMicroseconds, bare->lengthMicroseconds);
    QByteArray lying = rmid;
    lying.replace(rmid.indexOf("data") + 4, 4, littleEndianBytes(0x40000000));
    const auto lyingData = parseMidiFile(lying);
    ASSERT_TRUE(lyingData);
    EXPECT_EQ(lyingData->events.size(), bare->events.size());
}

// Tiny files can describe centuries: one tick per quarter at the slowest
// tempo with the longest delta times, format 2 tracks adding up, SMPTE at
// 128 frames a second. Every time stays within the bounds, in order.
TEST(MidiFile, HostileTimesStayBoundedAndInOrder) {
    const uint32_t longest = 0x0FFFFFFF;
    TrackBytes slow;
    slow.tempo(0, 0xFFFFFF).at(longest, {0x90, 60, 1}).at(longest, {0x80, 60, 0}).tempo(longest, 1).at(longest, {0x90, 61, 1}).end(longest);
    TrackBytes quick;
    quick.tempo(0, 1).at(longest, {0x90, 62, 1}).tempo(longest, 0xFFFFFF).at(longest, {0x80, 62, 0}).end(longest);
    QByteArray formatTwo = midiHeader(2, 40, 1);
    for (int i = 0; i < 40; ++i) formatTwo += slow.chunk();
    const QByteArray files[] = {
        midiHeader(0, 1, 1) + slow.chunk(),
        midiHeader(1, 2, 1) + slow.chunk() + quick.chunk(),
        formatTwo,
        midiHeader(0, 1, 0x8001) + quick.chunk(),
    };
    for (const QByteArray& bytes : files) {
        const auto song = parseMidiFile(bytes);
        ASSERT_TRUE(song);
        ASSERT_FALSE(song->events.empty());
        int64_t previous = 0;
        for (const MidiEvent& e : song->events) {
            EXPECT_GE(e.atMicroseconds, previous);
            previous = e.atMicroseconds;
        }
        EXPECT_GE(song->lengthMicroseconds, previous);
        EXPECT_LE(song->lengthMicroseconds, kMaxMidiSongMicroseconds);
    }
    // The slow file's first note: 2^28-1 quarters of 16.8 s, about 142 years,
    // is held at the limit rather than wrapped around.
    EXPECT_EQ(parseMidiFile(files[0])->events[0].atMicroseconds, kMaxMidiSongMicroseconds);

    // The device takes such a song with a length that neither wraps nor
    // overflows when turned into frames, and can seek to its end.
    TempAppDir dir;
    dir.writeBytes("slow.mid", files[0]);
    auto media = createMediaControlForTests();
    ASSERT_EQ(media->sendString(QStringLiteral("open \"%1\" alias FILE").arg(dir.file("slow.mid"))), MediaOk);
    QString length;
    ASSERT_EQ(media->sendString(QStringLiteral("status FILE length"), &length), MediaOk);
    EXPECT_EQ(length.toLongLong(), kMaxMidiSongMicroseconds / 1000);
    ASSERT_EQ(media->sendString(QStringLiteral("seek FILE to end")), MediaOk);
    QString position;
    media->sendString(QStringLiteral("status FILE position"), &position);
    EXPECT_EQ(position, length);
}

// Beyond 8 MiB or 2 M events a file is no background music and is not read;
// just inside both limits it is.
TEST(MidiFile, FilesBeyondTheLimitsAreNotPlayed) {
    auto programChanges = [](size_t events, size_t padding) {
        QByteArray track;
        if (padding) track += QByteArray("\x00\xFF\x01", 3) + variableLength(static_cast<uint32_t>(padding)) + QByteArray(static_cast<qsizetype>(padding), 'x');
        track += QByteArray("\x00\xC0\x00", 3);
        for (size_t i = 1; i < events; ++i) track += QByteArray("\x00\x01", 2);  // running status
        return midiHeader(0, 1, 480) + "MTrk" + bigEndianBytes(static_cast<uint32_t>(track.size()), 4) + track;
    };
    const auto mostEvents = parseMidiFile(programChanges(kMaxMidiEvents, 0));
    ASSERT_TRUE(mostEvents);
    EXPECT_EQ(mostEvents->events.size(), kMaxMidiEvents);
    EXPECT_FALSE(parseMidiFile(programChanges(kMaxMidiEvents + 1, 0)));

    const QByteArray largest = programChanges(10, kMaxMidiFileBytes - 50);
    ASSERT_EQ(largest.size(), kMaxMidiFileBytes);
    EXPECT_TRUE(parseMidiFile(largest));
    EXPECT_FALSE(parseMidiFile(largest + QByteArray(1, '\0')));

    TempAppDir dir;
    dir.writeBytes("largest.mid", largest);
    dir.writeBytes("larger.mid", largest + QByteArray(1, '\0'));
    EXPECT_TRUE(readMidiFile(dir.file("largest.mid")));
    EXPECT_FALSE(readMidiFile(dir.file("larger.mid")));
}
