// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/bgm_settings.h"

#include "files/app_paths.h"
#include "files/file_reading.h"
#include "files/ini_file.h"
#include "files/shift_jis.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

namespace {

const QString kSection = QStringLiteral("BGM");
const QString kMusic = QStringLiteral("Music");
const QString kMusicName = QStringLiteral("MusicName");
const QString kMusicFolder = QStringLiteral("MusicFolda");

// Paths that the Shift-JIS file cannot hold as they are (characters outside
// CP932 such as emoji or Hangul, line breaks or other control characters,
// blanks at either end that a read would trim) are stored as this marker
// followed by their UTF-8 bytes percent-escaped, "/" kept readable:
//   utf-8:/home/user/%F0%9F%8E%B5/song.mid
// A plain path that happens to start with the marker is escaped the same way,
// so every stored value reads back as exactly the path written. Ordinary
// Japanese paths stay plain Shift-JIS, as other tools expect.
const QString kEscapedMarker = QStringLiteral("utf-8:");

bool needsEscaping(const QString& path) {
    if (path.startsWith(kEscapedMarker) || path != path.trimmed()) return true;
    for (QChar c : path)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return true;
    return !representableInShiftJis(path);
}

}  // namespace

QString encodeSettingsPath(const QString& path) {
    if (!needsEscaping(path)) return path;
    return kEscapedMarker + QString::fromLatin1(QUrl::toPercentEncoding(path, "/"));
}

QString decodeSettingsPath(const QString& stored) {
    if (!stored.startsWith(kEscapedMarker)) return stored;
    const QByteArray bytes = QByteArray::fromPercentEncoding(stored.mid(kEscapedMarker.size()).toLatin1());
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString path = utf8(bytes);
    // Not something this program wrote: keep the text as it stands.
    return utf8.hasError() ? stored : path;
}

QString bgmSettingsPath(const QString& appDir) {
    return resolveAppPath(appDir, QStringLiteral("Data\\BGM.ini"));
}

bool bgmSettingsExist(const QString& appDir) {
    return probePath(bgmSettingsPath(appDir)) == PathKind::File;
}

BgmSettings readBgmSettings(const QString& appDir) {
    const IniFile ini(bgmSettingsPath(appDir));
    BgmSettings settings;
    settings.musicOn = ini.readInteger(kSection, kMusic, 0) != 0;
    settings.musicName = decodeSettingsPath(ini.readString(kSection, kMusicName, QString()));
    settings.musicFolder = decodeSettingsPath(ini.readString(kSection, kMusicFolder, QString()));
    return settings;
}

void writeBgmSettings(const QString& appDir, bool onChecked, const QString& musicFile,
                      const QString& folderOrEmpty) {
    const QString path = bgmSettingsPath(appDir);
    // The settings would otherwise be lost with a missing data folder.
    QDir().mkpath(QFileInfo(path).absolutePath());
    IniFile ini(path);
    ini.writeString(kSection, kMusic, onChecked ? QStringLiteral("1") : QStringLiteral("0"));
    ini.writeString(kSection, kMusicName, encodeSettingsPath(musicFile));
    ini.writeString(kSection, kMusicFolder, encodeSettingsPath(folderOrEmpty));
    ini.save();
}
