// SPDX-License-Identifier: GPL-3.0-or-later
// The first start's copy into a player's folder reads every file with the
// checked reader: a read that fails or ends early, or a listing of the
// installed catalogue that fails, is reported, and the copy it concerns is
// absent rather than partial; the next start then makes it whole.
#include "files/app_error.h"
#include "support/file_faults.h"
#include "fake_install.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QString kSource = QStringLiteral("usr/share/pomurina/");
const QString kPlayer = QStringLiteral("home/.local/share/pomurina/");

}  // namespace

// The title, the help text and a catalogue picture each read in part (an
// early end, then EIO): the error names the file; no truncated copy of it
// exists, and no part of a catalogue; the next start copies all of it whole.
TEST(AppHomeSeeding, AReadCutShortLeavesNoCopyAndIsReported) {
    for (const QString& name : {QStringLiteral("title.bmp"), QStringLiteral("作品について.txt"), QStringLiteral("data/face1_4.jpg")}) {
        for (const int error : {0, EIO}) {
            SCOPED_TRACE(name.toStdString() + " " + std::to_string(error));
            FakeInstall install;
            AppHome home;
            {
                FileFaults faults(FileFaults::readCutShort(QLatin1Char('/') + name.section(QLatin1Char('/'), -1), 2, error));
                home = openAppHome(install.setting());
            }
            EXPECT_EQ(home.error, fileOpenErrorText(install.share() + name));
            EXPECT_FALSE(QFileInfo::exists(install.player() + name));
            if (name.startsWith(QLatin1String("data/"))) {
                EXPECT_FALSE(QFileInfo::exists(install.player() + QStringLiteral("data")));
            }
            const AppHome next = openAppHome(install.setting());
            EXPECT_TRUE(next.error.isEmpty()) << next.error.toStdString();
            EXPECT_EQ(install.root.readBytes(kPlayer + name), install.root.readBytes(kSource + name));
        }
    }
}

// The installed catalogue cannot be listed: that is a failure, not an empty
// catalogue, and nothing of it is copied. A picture the completion compares
// cannot be read: a failure too, and nothing is added to the player's folder.
TEST(AppHomeSeeding, AFailedListingOrComparisonIsAFailureNotAnEmptyCatalogue) {
    {
        FakeInstall install;
        AppHome home;
        {
            FileFaults faults(FileFaults::failing(FileCall::ListFolder, QStringLiteral("share/pomurina/data"), EIO));
            home = openAppHome(install.setting());
        }
        EXPECT_EQ(home.error, fileOpenErrorText(install.share() + QStringLiteral("data")));
        EXPECT_FALSE(QFileInfo::exists(install.player() + QStringLiteral("data")));
        EXPECT_EQ(openAppHome(install.setting()).error, QString());
        EXPECT_EQ(install.root.readBytes(kPlayer + "data/face2_5.jpg"), install.root.readBytes(kSource + "data/face2_5.jpg"));
    }
    {
        FakeInstall install;
        install.root.writeBytes(kPlayer + "data/face0_0.jpg", install.root.readBytes(kSource + "data/face0_0.jpg"));
        AppHome home;
        {
            FileFaults faults(FileFaults::failing(FileCall::Open, QStringLiteral("share/pomurina/data/face0_0.jpg"), EIO));
            home = openAppHome(install.setting());
        }
        EXPECT_EQ(home.error, fileOpenErrorText(install.share() + QStringLiteral("data/face0_0.jpg")));
        EXPECT_FALSE(QFileInfo::exists(install.player() + QStringLiteral("data/FaceData.ini")));
        EXPECT_FALSE(QFileInfo::exists(install.player() + QStringLiteral("data/face0_1.jpg")));
    }
}
