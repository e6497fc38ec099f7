// SPDX-License-Identifier: GPL-3.0-or-later
// CP932 conversion: the bytes Windows would write, and a lossless path for
// files that hold bytes outside the code page.
#include "files/shift_jis.h"

#include <gtest/gtest.h>
#include <random>

TEST(ShiftJis, JapaneseTextHasTheWindowsBytes) {
    const QByteArray bytes("\x83\x7c\x83\x80\x83\x8a\x83\x69\x95\x5c\x83\x5c");
    EXPECT_EQ(toShiftJis(QStringLiteral("ポムリナ表ソ")), bytes);
    EXPECT_EQ(fromShiftJis(bytes), QStringLiteral("ポムリナ表ソ"));
    EXPECT_EQ(fromShiftJis("face0_1.jpg"), "face0_1.jpg");
    EXPECT_EQ(toShiftJis(QStringLiteral("作品について.txt")), QByteArray("\x8d\xec\x95\x69\x82\xc9\x82\xc2\x82\xa2\x82\xc4.txt"));
}

TEST(ShiftJis, CharactersOutsideTheCodePageAreFlagged) {
    EXPECT_TRUE(representableInShiftJis(QStringLiteral("ポムリナ abc 123 ～")));
    EXPECT_FALSE(representableInShiftJis(QStringLiteral("smile😀")));
    EXPECT_FALSE(representableInShiftJis(QStringLiteral("café")));
    EXPECT_EQ(toShiftJis(QStringLiteral("a😀b")), QByteArray("a?b"));
    EXPECT_EQ(fromShiftJis("a\x81"), QStringLiteral("a\uFFFD"));
}

TEST(ShiftJis, StrayBytesRoundTripExactly) {
    std::mt19937 source(7);
    for (int round = 0; round < 50; ++round) {
        QByteArray bytes(1 + source() % 200, '\0');
        for (char& b : bytes) b = char(source() & 0xff);
        EXPECT_EQ(toShiftJisKeepingStrayBytes(fromShiftJisKeepingStrayBytes(bytes)), bytes);
    }
    EXPECT_EQ(fromShiftJisKeepingStrayBytes("\x83\x7c"), QStringLiteral("ポ"));
}
