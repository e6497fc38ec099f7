// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fake install in a temporary folder for the start-up tests:
// <root>/usr/games/pomurina with its read-only copy in <root>/usr/share/pomurina/
// (three faces, title, logo and help text), and a player's data folder
// under <root>/home/.
#include "files/app_home.h"
#include "support/temp_app_dir.h"

#include <QDir>
#include <QSet>

struct FakeInstall {
    TempAppDir root;
    QSet<QString> readOnly;  // folders the writability seam refuses

    FakeInstall() {
        root.writeBytes("usr/share/pomurina/data/FaceData.ini", "[faces]\r\ncount=3\r\n");
        for (int face = 0; face < 3; ++face)
            for (int k = 0; k < 6; ++k)
                root.writeBytes(QStringLiteral("usr/share/pomurina/data/face%1_%2.jpg").arg(face).arg(k),
                                QByteArray("jpeg ") + QByteArray::number(face * 10 + k));
        root.writeBytes("usr/share/pomurina/title.bmp", "title");
        root.writeBytes("usr/share/pomurina/logo.bmp", "logo");
        root.writeBytes("usr/share/pomurina/作品について.txt", "help");
        QDir().mkpath(root.file("usr/games"));
    }
    // Paths only: TempAppDir::file() would create the folders.
    QString share() const { return root.path() + "usr/share/pomurina/"; }
    QString player() const { return root.path() + "home/.local/share/pomurina/"; }
    AppHomeSetting setting(const QString& exe = {}) const {
        AppHomeSetting s;
        s.executablePath = exe.isEmpty() ? root.file("usr/games/pomurina") : exe;
        s.userDataFolder = root.file("home/.local/share/pomurina");
        s.isWritable = [this](const QString& folder) { return !readOnly.contains(QDir::cleanPath(folder)); };
        return s;
    }
};
