// SPDX-License-Identifier: GPL-3.0-or-later
// Paths under the application folder found without regard to letter case, and
// new files created with the program's own spelling.
#include "files/app_error.h"
#include "files/app_paths.h"
#include "support/app_error_of.h"
#include "support/file_faults.h"
#include "support/temp_app_dir.h"

#include <gtest/gtest.h>

TEST(AppPaths, AppDirIsTheExecutablesFolderWithOneSlash) {
    EXPECT_EQ(appDirOf("/opt/pomurina/game/pomurina"), "/opt/pomurina/game/");
    EXPECT_EQ(appDirOf("/opt//pomurina/./pomurina"), "/opt/pomurina/");
    EXPECT_EQ(appDirOf("/pomurina"), "/");
}

TEST(AppPaths, ExistingEntriesAreFoundWhateverTheLetterCase) {
    TempAppDir dir;
    dir.writeBytes("Data/facedata.ini", "");
    dir.writeBytes("Data/BGM.ini", "");
    dir.writeBytes("library/Smile.jpg", "");
    const QString app = dir.path();
    EXPECT_EQ(resolveAppPath(app, "data\\FaceData.ini"), app + "Data/facedata.ini");
    EXPECT_EQ(resolveAppPath(app, "Data\\bgm.INI"), app + "Data/BGM.ini");
    EXPECT_EQ(resolveAppPath(app, "LIBRARY/smile.jpg"), app + "library/Smile.jpg");
    EXPECT_EQ(resolveAppPath(app, "Library"), app + "library");
    EXPECT_EQ(resolveAppPath(app, "Library\\"), app + "library/");
    EXPECT_EQ(resolveAppPath(app, ""), app);
}

// Several spellings of one name: whatever case the caller uses, one entry is
// chosen, the same every time. The program's own names mean their canonical
// spelling ("Data" is the folder "data"); other names prefer the exact one;
// without either, the first in code-point order, not in the listing's order.
TEST(AppPaths, SeveralSpellingsOfOneNameAlwaysResolveToTheSameEntry) {
    TempAppDir dir;
    const QString app = dir.path();
    dir.writeBytes("data/FaceData.ini", "");
    dir.writeBytes("data/facedata.ini", "");
    dir.writeBytes("Data/BGM.ini", "");
    dir.writeBytes("data/bgm.ini", "");
    dir.writeBytes("data/face0_0.jpg", "");
    dir.writeBytes("data/Face0_0.jpg", "");
    for (const char* asked : {"data\\FaceData.ini", "data\\facedata.ini", "Data\\FACEDATA.INI"})
        EXPECT_EQ(resolveAppPath(app, asked), app + "data/FaceData.ini") << asked;
    for (const char* asked : {"Data\\BGM.ini", "data\\bgm.ini"})
        EXPECT_EQ(resolveAppPath(app, asked), app + "data/bgm.ini") << asked;
    EXPECT_EQ(resolveAppPath(app, "Data\\face0_0.jpg"), app + "data/face0_0.jpg");
    EXPECT_EQ(resolveAppPath(app, "data\\Face0_0.jpg"), app + "data/Face0_0.jpg");

    // Creation order must not matter.
    for (const QStringList& order : {QStringList{"Facedata.ini", "FACEDATA.INI"}, QStringList{"FACEDATA.INI", "Facedata.ini"}}) {
        TempAppDir other;
        for (const QString& name : order) other.writeBytes("DATA/" + name, "");
        EXPECT_EQ(resolveAppPath(other.path(), "data\\FaceData.ini"), other.path() + "DATA/FACEDATA.INI");
    }
}

// An existence test or a listing that fails for another reason than "no such
// file" is reported, never taken for "absent" (which would create a second
// settings file beside the real one).
TEST(AppPaths, AFailedLookupIsAnErrorNotAnAbsentFile) {
    TempAppDir dir;
    const QString app = dir.path();
    dir.writeBytes("data/facedata.ini", "[faces]\r\ncount=4\r\n");
    {
        FileFaults faults(FileFaults::failing(FileCall::ListFolder, "data/", EIO));
        EXPECT_EQ(appErrorOf([&] { resolveAppPath(app, "data\\FaceData.ini"); }), fileOpenErrorText(app + "data/"));
    }
    {
        FileFaults faults(FileFaults::failing(FileCall::Probe, "data/FaceData.ini", EACCES));
        EXPECT_EQ(appErrorOf([&] { resolveAppPath(app, "data\\FaceData.ini"); }),
                  fileOpenErrorText(app + "data/FaceData.ini"));
    }
    {
        FileFaults faults(FileFaults::failing(FileCall::Probe, "data", EIO));
        EXPECT_EQ(appErrorOf([&] { resolveAppPath(app, "data\\FaceData.ini"); }), fileOpenErrorText(app + "data"));
    }
    // "No such file" from the exact spelling just leads to the listing.
    EXPECT_EQ(resolveAppPath(app, "data\\FaceData.ini"), app + "data/facedata.ini");
}

TEST(AppPaths, MissingEntriesTakeTheProgramsSpellingOrTheOneGiven) {
    TempAppDir dir;
    const QString app = dir.path();
    EXPECT_EQ(resolveAppPath(app, "DATA\\facedata.ini"), app + "data/FaceData.ini");
    EXPECT_EQ(resolveAppPath(app, "Data\\bgm.ini"), app + "data/BGM.ini");
    EXPECT_EQ(resolveAppPath(app, "library\\MyFace.jpg"), app + "Library/MyFace.jpg");
    dir.writeBytes("Data/x", "");
    EXPECT_EQ(resolveAppPath(app, "data\\facedata.ini"), app + "Data/FaceData.ini");
    EXPECT_EQ(resolveAppPath(app, "data\\Face0_0.JPG"), app + "Data/Face0_0.JPG");
}
