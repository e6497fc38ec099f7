// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue's names spelled as resolveAppPath spells them, from the
// sweep's entries (every entry but the pictures spelled as the game spells
// them) and one look at a picture's own name.
#include "catalogue/catalogue_change.h"
#include "catalogue/catalogue_journal.h"
#include "catalogue/catalogue_names.h"
#include "files/app_paths.h"
#include "support/temp_app_dir.h"

#include <QDir>
#include <gtest/gtest.h>

TEST(CatalogueNames, SpellLikeResolveAppPathFromTheEntriesOtherThanPictures) {
    TempAppDir dir;
    const QString app = dir.path();
    for (const char* name : {"data/face0_0.jpg", "data/FACE1_0.JPG", "data/Face1_0.jpg", "data/facedata.ini",
                             "data/face4_1.jpg", "data/FACE4_1.JPG", "data/face05_0.jpg", "data/.change-added-9_0"})
        dir.writeBytes(name, "");
    const QStringList others = recoverCatalogueChange(app + "data").value();
    EXPECT_EQ(others, (QStringList{"FACE1_0.JPG", "FACE4_1.JPG", "Face1_0.jpg", "face05_0.jpg", "facedata.ini"}))
        << "a leftover swept, the pictures spelled as the game spells them left out";
    const CatalogueNames names(app + "data", others);
    for (const QString wanted : {"face0_0.jpg", "face1_0.jpg", "face2_0.jpg", "FaceData.ini", "face4_1.jpg", "face5_0.jpg"})
        EXPECT_EQ(names.path(names.find(wanted)), resolveAppPath(app, "data/" + wanted)) << wanted.toStdString();
    EXPECT_EQ(names.find("face1_0.jpg").name, "FACE1_0.JPG") << "the first match in code-point order";
    EXPECT_EQ(names.find("face4_1.jpg").name, "face4_1.jpg") << "the game's own spelling wins";
    const CatalogueEntry missing = names.find("face2_0.jpg");
    EXPECT_EQ(missing.name, "face2_0.jpg");
    EXPECT_EQ(missing.kind, EntryKind::Missing);
    EXPECT_EQ(names.find("FaceData.ini").kind, EntryKind::File);

    // From one listing, the same answers; a folder in a picture's place is no picture.
    ASSERT_TRUE(QDir().mkpath(app + "data/face2_3.jpg"));
    CatalogueNames listed(app + "data", others);
    listed.listPictures(0, 6);
    for (int face = 0; face < 6; ++face)
        for (int kind = 0; kind < 6; ++kind) {
            const CatalogueEntry one = names.find(facePictureName(face, kind)), many = listed.picture(face, kind);
            EXPECT_EQ(many.name, one.name) << face << "_" << kind;
            EXPECT_EQ(many.kind, one.kind) << face << "_" << kind;
        }
    EXPECT_EQ(listed.picture(2, 3).kind, EntryKind::Other);
    EXPECT_EQ(listed.picture(1, 0).name, "FACE1_0.JPG");
}
