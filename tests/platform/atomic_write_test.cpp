// Whole-file replacement: the new content or, on any failure, the old one
// byte for byte, with the program's "cannot create" text.
#include "platform/app_error.h"
#include "platform/atomic_write.h"
#include "support/temp_app_dir.h"
#include "file_size_limit.h"
#include "support/app_error_of.h"

#include <QDir>
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
