// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_files.h"
#include "files/shift_jis.h"
#include "pictures/outline.h"
#include "sample_faces.h"
#include "support/temp_app_dir.h"

#include <QFile>
#include <QtEndian>
#include <cstdlib>
#include <set>
#include <gtest/gtest.h>

namespace {

// Mean difference per channel between picture a and the region of b whose
// top-left corner is at (x, y); pixels beyond b count as fully different.
double meanDifference(const QImage& a, const QImage& b, int x, int y) {
    long long sum = 0;
    for (int py = 0; py < a.height(); ++py)
        for (int px = 0; px < a.width(); ++px) {
            if (!b.valid(x + px, y + py)) {
                sum += 3 * 255;
                continue;
            }
            const QRgb p = a.pixel(px, py), q = b.pixel(x + px, y + py);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return double(sum) / (3.0 * a.width() * a.height());
}

// Share of the pixels of a that differ from the region of b at (x, y).
double differingShare(const QImage& a, const QImage& b, int x, int y) {
    int differing = 0;
    for (int py = 0; py < a.height(); ++py)
        for (int px = 0; px < a.width(); ++px)
            if (a.pixel(px, py) != b.pixel(x + px, y + py)) ++differing;
    return double(differing) / (a.width() * a.height());
}

}  // namespace

// The answers are right: a part put at its answer shows the face that was
// there before the painting, exactly when the face kept its size and better
// than anywhere a few pixels off when it went through the shrink; and the
// painting really hid the part. At least one face takes the shrink path.
TEST(SampleCatalogue, EveryPartAtItsAnswerRebuildsTheWholeFace) {
    ASSERT_GE(sampleFaceCount(), 8);
    int shrunk = 0;
    for (int face = 0; face < sampleFaceCount(); ++face) {
        SCOPED_TRACE(face);
        const SampleFace drawn = drawSampleFace(face);
        EXPECT_EQ(std::max(drawn.face.width(), drawn.face.height()), 300);
        const NewFacePictures pictures = authorSampleFace(drawn);
        const QImage& whole = pictures.pictures[0];
        const QImage& painted = pictures.pictures[5];
        ASSERT_EQ(whole.size(), painted.size());
        const bool kept = whole.size() == drawn.face.size();
        shrunk += kept ? 0 : 1;
        for (int slot = 1; slot <= 4; ++slot) {
            SCOPED_TRACE(slot);
            const QImage& part = pictures.pictures[slot];
            EXPECT_LE(part.width(), 85);
            EXPECT_LE(part.height(), 85);
            const int x = answerX(pictures.answer, slot), y = answerY(pictures.answer, slot);
            ASSERT_TRUE(whole.rect().contains(QRect(QPoint(x, y), part.size())));
            if (kept) {
                EXPECT_EQ(differingShare(part, whole, x, y), 0.0);
            }
            const double atAnswer = meanDifference(part, whole, x, y);
            for (QPoint off : {QPoint(3, 0), QPoint(-3, 0), QPoint(0, 3), QPoint(0, -3)})
                EXPECT_LT(atAnswer, meanDifference(part, whole, x + off.x(), y + off.y()));
            EXPECT_GT(differingShare(part, painted, x, y), 0.05);
        }
    }
    EXPECT_GE(shrunk, 1) << "no sample face goes through the 85-pixel shrink";
}

// What the generator leaves on disk is that catalogue: every face's six
// pictures decode to what was registered (within JPEG loss), with its answers.
TEST(SampleCatalogue, IsWrittenAsRegisteredFaces) {
    TempAppDir app;
    writeSampleCatalogue(app.path());
    ASSERT_EQ(readFaceCount(app.path()), sampleFaceCount());
    const std::vector<FaceAnswer> answers = readFaceAnswers(app.path(), sampleFaceCount());
    for (int face = 0; face < sampleFaceCount(); ++face) {
        SCOPED_TRACE(face);
        const NewFacePictures registered = authorSampleFace(drawSampleFace(face));
        EXPECT_EQ(answers[face], registered.answer);
        for (int kind = 0; kind < 6; ++kind) {
            SCOPED_TRACE(kind);
            const QImage back = readFacePicture(app.path(), face, kind);
            ASSERT_EQ(back.size(), registered.pictures[kind].size());
            EXPECT_LT(meanDifference(back, registered.pictures[kind], 0, 0), 6.0);
        }
    }
    EXPECT_THROW(writeSampleCatalogue(app.path()), std::exception) << "wrote over an existing catalogue";
}

// The faces are drawn differently: each kind of part comes in many shapes
// and sizes across the catalogue, not one shape recoloured.
TEST(SampleCatalogue, PartsVaryInShapeFromFaceToFace) {
    for (int slot = 0; slot < 4; ++slot) {
        std::set<std::pair<int, int>> sizes;
        for (int i = 0; i < sampleFaceCount(); ++i) {
            const OutlineBox box = outlineBox(drawSampleFace(i).outlines[slot]);
            sizes.insert({box.width(), box.height()});
        }
        EXPECT_GE(sizes.size(), 6u) << "slot " << slot + 1;
    }
}

// Only the see-through colour's own pixels carry it: no edge pixel is blended
// halfway into it, so the title shows no fringe when drawn see-through.
TEST(SampleTitlePictures, TitleBackgroundIsCleanlySeeThrough) {
    const QImage title = drawTitlePicture();
    ASSERT_EQ(title.size(), QSize(495, 196));
    const QRgb seeThrough = title.pixel(0, title.height() - 1);
    int clear = 0;
    for (int y = 0; y < title.height(); ++y)
        for (int x = 0; x < title.width(); ++x) {
            const QRgb p = title.pixel(x, y);
            if (p == seeThrough) {
                ++clear;
                continue;
            }
            const int distance = std::abs(qRed(p) - qRed(seeThrough)) + std::abs(qGreen(p) - qGreen(seeThrough)) +
                                 std::abs(qBlue(p) - qBlue(seeThrough));
            ASSERT_GT(distance, 120) << "blended pixel at " << x << "," << y;
        }
    EXPECT_GT(clear, 0);
    EXPECT_LT(clear, title.width() * title.height() / 4);  // the name and its plate fill the picture
    EXPECT_EQ(drawLogoPicture().size(), QSize(368, 56));
}

TEST(SampleTitlePictures, BitmapsAreWrittenWithTwentyFourBitsAPixel) {
    TempAppDir dir;
    writeBitmap24(drawLogoPicture(), dir.file(QStringLiteral("logo.bmp")));
    const QByteArray bmp = dir.readBytes(QStringLiteral("logo.bmp"));
    ASSERT_GE(bmp.size(), 54);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(qFromLittleEndian<qint32>(bmp.constData() + 18), 368);
    EXPECT_EQ(qFromLittleEndian<qint32>(bmp.constData() + 22), 56);
    EXPECT_EQ(qFromLittleEndian<quint16>(bmp.constData() + 28), 24);
}

// The help text reaches the disk in Shift-JIS with CR LF, unchanged in content.
TEST(SampleHelpText, IsConvertedToShiftJisWithWindowsLineEnds) {
    TempAppDir dir;
    const QString text = QStringLiteral("ポムリナ\n顔の追加と削除\ndata/FaceData.ini\n");
    dir.writeBytes(QStringLiteral("help.txt"), text.toUtf8());
    writeHelpText(dir.file(QStringLiteral("help.txt")), dir.file(QStringLiteral("作品について.txt")));
    const QByteArray bytes = dir.readBytes(QStringLiteral("作品について.txt"));
    EXPECT_EQ(fromShiftJis(bytes), QStringLiteral("ポムリナ\r\n顔の追加と削除\r\ndata/FaceData.ini\r\n"));
    EXPECT_EQ(bytes.left(2), QByteArray("\x83\x7c"));  // "ポ" in Shift-JIS

    dir.writeBytes(QStringLiteral("bad.txt"), QStringLiteral("顔 \U0001F600\n").toUtf8());
    EXPECT_THROW(writeHelpText(dir.file(QStringLiteral("bad.txt")), dir.file(QStringLiteral("bad_out.txt"))),
                 std::exception);
}

// The help text the game ships tells of every menu and of every file the
// game keeps, and where the installed game keeps them.
TEST(SampleHelpText, TellsOfTheMenusAndOfEveryFileWhereverTheGameKeepsIt) {
    TempAppDir dir;
    writeHelpText(QStringLiteral(POMURINA_HELP_TEXT), dir.file(QStringLiteral("作品について.txt")));
    const QString help = fromShiftJis(dir.readBytes(QStringLiteral("作品について.txt")));
    for (const char* told : {"目隠しで遊ぶ", "自己ベストを記録する", "自動で囲む", "年賀状", "宛名の面は印刷しません", "みんなで遊ぶ", "みんなの記録", "libdlib-data", "顔の削除", "BGM",
                             "~/.local/share/pomurina/", "POMURINA_HOME", "data/", "Library/", "Data/BGM.ini",
                             "Data/Play.ini", "Data/Scores.ini", "Data/Parties.ini", "Data/QtProject.conf", ".pomurina.lock"})
        EXPECT_TRUE(help.contains(QString::fromUtf8(told))) << told;
    EXPECT_FALSE(help.contains(QStringLiteral("すべてプログラムと同じフォルダ")))
        << "the installed game keeps its files in the player's folder";
}
