// SPDX-License-Identifier: GPL-3.0-or-later
// The journal's text: what a change writes reads back as itself in either
// version, and nothing else reads at all: no cut, no changed byte, no rename
// the game does not make, no name twice.
#include "catalogue/catalogue_files.h"
#include "catalogue/catalogue_journal.h"

#include <gtest/gtest.h>

namespace {

// The journal of deleting face d of count faces, every picture there.
CatalogueJournal deletion(int d, int count) {
    CatalogueJournal j;
    j.settings = QStringLiteral("FaceData.ini");
    j.settingsBefore = settingsDigest("before");
    j.settingsAfter = settingsDigest("after");
    for (int i = d; i < count; ++i)
        for (int kind = 0; kind < 6; ++kind) {
            if (i == d) {
                j.out.push_back({facePictureName(i, kind), ChangeFiles::parked(i, kind)});
            } else {
                j.out.push_back({facePictureName(i, kind), ChangeFiles::shifted(i - 1, kind)});
                j.in.push_back({ChangeFiles::shifted(i - 1, kind), facePictureName(i - 1, kind)});
            }
        }
    return j;
}

CatalogueJournal registration(int n, bool strays) {
    CatalogueJournal j;
    j.phase = 2;
    j.settings = QStringLiteral("FaceData.ini");
    j.settingsBefore = settingsDigest("");
    j.settingsAfter = settingsDigest("[Faces]\r\nCount=4\r\n");
    for (int kind : {1, 2, 3, 4, 5, 0}) {
        if (strays) j.out.push_back({facePictureName(n, kind), ChangeFiles::parked(n, kind)});
        j.in.push_back({ChangeFiles::added(n, kind), facePictureName(n, kind)});
    }
    return j;
}

bool parses(const QByteArray& text) {
    CatalogueJournal j;
    return parseJournal(text, &j);
}

QByteArray oldFormat(const char* lines) { return QByteArray("pomurina-catalogue-change 1\n") + lines; }

}  // namespace

// Both versions, registration and deletion, read back as written; the
// largest catalogue's largest journal fits under the size cap.
TEST(CatalogueJournal, WhatAChangeWritesReadsBackAsItself) {
    for (CatalogueJournal j : {deletion(1, 5), deletion(0, 3), registration(3, false), registration(7, true)}) {
        for (int version : {2, 1}) {
            j.version = version;
            if (version == 1) j.settingsBefore = j.settingsAfter = QByteArray();
            for (int phase : {1, 2}) {
                j.phase = phase;
                CatalogueJournal back;
                ASSERT_TRUE(parseJournal(journalText(j), &back)) << journalText(j).toStdString();
                EXPECT_EQ(back, j);
            }
        }
    }
    const CatalogueJournal largest = deletion(0, kMaxFaceCount);
    const QByteArray text = journalText(largest);
    EXPECT_GT(text.size(), 4'900'000);
    EXPECT_LE(text.size(), maxJournalBytes());
    EXPECT_LT(maxJournalBytes(), 6 * 1024 * 1024);
    CatalogueJournal back;
    ASSERT_TRUE(parseJournal(text, &back));
    EXPECT_EQ(back.out.size(), 60'000u);
}

// A journal of this version cut anywhere, or with any one byte changed, is
// refused: the checksum line comes last and covers every byte before it.
TEST(CatalogueJournal, EveryCutAndEveryChangedByteIsRefused) {
    const QByteArray text = journalText(deletion(2, 4));
    for (qsizetype length = 0; length < text.size(); ++length) EXPECT_FALSE(parses(text.left(length))) << length;
    for (qsizetype at = 0; at < text.size(); ++at) {
        QByteArray changed = text;
        changed[at] = char(changed[at] ^ 0x04);
        EXPECT_FALSE(parses(changed)) << at;
    }
    EXPECT_FALSE(parses(text + "\n"));
    EXPECT_FALSE(parses(text + text));
}

// Lines in the old format that parse as lines but are no change the game
// makes; and old-format journals cut short, which once crashed the parser.
TEST(CatalogueJournal, RenamesTheGameNeverMakesAreRefused) {
    const char* refused[] = {
        "phase 1\nend\n",
        "phase 1\n",
        "phase 2\nsettings FaceData.ini\n",
        "phase 3\nsettings FaceData.ini\nend\n",
        "phase 1\nsettings BGM.ini\nend\n",
        "phase 1\nsettings FaceData.ini\nend\nend\n",
        "phase 1\nsettings FaceData.ini\nend",
        "phase 1\nsettings  FaceData.ini\nend\n",
        // Pairs the game never writes.
        "phase 2\nsettings FaceData.ini\nin .change-shifted-1_0 face2_0.jpg\nend\n",
        "phase 2\nsettings FaceData.ini\nin .change-shifted-1_0 face1_0.jpg\nend\n",
        "phase 1\nsettings FaceData.ini\nout face1_0.jpg .change-parked-1_1\nend\n",
        "phase 1\nsettings FaceData.ini\nout face1_0.jpg .change-shifted-1_0\nend\n",
        "phase 1\nsettings FaceData.ini\nout face1_0.jpg .change-added-1_0\nend\n",
        "phase 2\nsettings FaceData.ini\nin .change-parked-1_0 face1_0.jpg\nend\n",
        "phase 2\nsettings FaceData.ini\nin .change-added-1_0 ../face1_0.jpg\nend\n",
        "phase 2\nsettings FaceData.ini\nin .change-added-01_0 face01_0.jpg\nend\n",
        "phase 2\nsettings FaceData.ini\nin .change-added-10000_0 face10000_0.jpg\nend\n",
        "phase 2\nsettings FaceData.ini\nin .change-added-1_6 face1_6.jpg\nend\n",
        // The same name twice, in any spelling.
        "phase 2\nsettings FaceData.ini\nin .change-added-4_0 face4_0.jpg\nin .change-added-4_0 face4_0.jpg\nend\n",
        "phase 1\nsettings FaceData.ini\nout face3_0.jpg .change-parked-3_0\nout FACE3_0.JPG .change-parked-3_0\nend\n",
        // Outs after ins; steps of two changes in one.
        "phase 2\nsettings FaceData.ini\nin .change-added-4_0 face4_0.jpg\nout face4_0.jpg .change-parked-4_0\nend\n",
        "phase 2\nsettings FaceData.ini\nout face3_0.jpg .change-parked-3_0\nin .change-added-4_0 face4_0.jpg\nend\n",
        "phase 2\nsettings FaceData.ini\nin .change-added-4_0 face4_0.jpg\nin .change-added-5_0 face5_0.jpg\nend\n",
        "phase 1\nsettings FaceData.ini\nout face1_0.jpg .change-parked-1_0\nout face2_0.jpg .change-parked-2_0\nend\n",
        "phase 1\nsettings FaceData.ini\nout face2_0.jpg .change-parked-2_0\nout face2_1.jpg .change-shifted-1_1\n"
        "in .change-shifted-1_1 face1_1.jpg\nend\n",
        // A picture shifted out that never comes back in, or the other way.
        "phase 1\nsettings FaceData.ini\nout face2_0.jpg .change-shifted-1_0\nend\n",
    };
    for (const char* lines : refused) EXPECT_FALSE(parses(oldFormat(lines))) << lines;
    EXPECT_TRUE(parses(oldFormat("phase 1\nsettings facedata.ini\nout Face2_0.JPG .change-shifted-1_0\n"
                                 "in .change-shifted-1_0 face1_0.jpg\nend\n")));
    EXPECT_FALSE(parses("pomurina-catalogue-change 3\nphase 1\nsettings FaceData.ini\nend\n"));
}
