// Paths under the application folder found without regard to letter case, and
// new files created with the program's own spelling.
#include "platform/app_paths.h"
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

TEST(AppPaths, AnExactSpellingWinsOverOtherCases) {
    TempAppDir dir;
    dir.writeBytes("data/a.txt", "");
    dir.writeBytes("Data/b.txt", "");
    EXPECT_EQ(resolveAppPath(dir.path(), "Data\\B.TXT"), dir.path() + "Data/b.txt");
    EXPECT_EQ(resolveAppPath(dir.path(), "data\\A.TXT"), dir.path() + "data/a.txt");
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
