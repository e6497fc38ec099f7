// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file replacement: the new content or, on any failure, the old one
// byte for byte, with the program's "cannot create" text.
#include "file_size_limit.h"
#include "files/app_error.h"
#include "files/atomic_write.h"
#include "files/file_ops.h"
#include "support/app_error_of.h"
#include "support/temp_app_dir.h"

#include <QDir>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

QString writeError(const QString& path, const QByteArray& bytes) {
    return appErrorOf([&] { writeFileAtomically(path, bytes); });
}

}  // namespace

TEST(AtomicWrite, AFailureLeavesTheOldFileAndNoLeftovers) {
    TempAppDir dir;
    const QByteArray old = "old content\r\n";
    dir.writeBytes("data/face0_0.jpg", old);
    const QString path = dir.file("data/face0_0.jpg");
    {
        FileSizeLimit limit(4096);
        EXPECT_EQ(writeError(path, QByteArray(64 * 1024, 'n')), fileCreateErrorText(path));
        EXPECT_FALSE(tryWriteFileAtomically(path, QByteArray(64 * 1024, 'n')));
    }
    EXPECT_EQ(dir.readBytes("data/face0_0.jpg"), old);
    EXPECT_EQ(QDir(dir.path() + "data").entryList(QDir::Files | QDir::Hidden),
              QStringList{"face0_0.jpg"});

    writeFileAtomically(path, "new");
    EXPECT_EQ(dir.readBytes("data/face0_0.jpg"), QByteArray("new"));
    const QString nowhere = dir.path() + "Library/face.jpg";
    EXPECT_EQ(writeError(nowhere, "x"), fileCreateErrorText(nowhere));
}

// Every step of a write can fail: before the rename the old file stays byte
// for byte with no temporary file left; a failed sync of the file (which a
// buffered commit would not notice) is a failed write; a failed sync of the
// folder after the rename is reported too.
TEST(AtomicWrite, EveryFailingStepIsReportedAndBeforeTheRenameKeepsTheOldFile) {
    TempAppDir dir;
    const QByteArray old = "[faces]\r\ncount=3\r\n";
    dir.writeBytes("data/FaceData.ini", old);
    const QString path = dir.file("data/FaceData.ini");
    const QByteArray replacement(10000, 'n');
    QStringList steps;
    for (int failAt = 1;; ++failAt) {
        SCOPED_TRACE(failAt);
        int seen = 0;
        FileStep failed{};
        const FileStepHook previous = setFileStepHook([&](FileStep step, const QString&) {
            if (++seen != failAt) return 0;
            failed = step;
            return failAt % 2 ? EIO : ENOSPC;
        });
        const bool written = tryWriteFileAtomically(path, replacement);
        setFileStepHook(previous);
        if (seen < failAt) {
            EXPECT_TRUE(written);
            EXPECT_EQ(dir.readBytes("data/FaceData.ini"), replacement);
            break;
        }
        EXPECT_FALSE(written);
        if (failed == FileStep::SyncFolder) {
            EXPECT_EQ(dir.readBytes("data/FaceData.ini"), replacement);
            dir.writeBytes("data/FaceData.ini", old);
        } else {
            EXPECT_EQ(dir.readBytes("data/FaceData.ini"), old);
        }
        steps << QString::number(int(failed));
        EXPECT_EQ(QDir(dir.path() + "data").entryList(QDir::Files | QDir::Hidden), QStringList{"FaceData.ini"});
    }
    // Create, write, sync the file, close, rename, sync the folder.
    EXPECT_EQ(steps.join(','), QStringLiteral("0,1,2,3,4,6"));
}
