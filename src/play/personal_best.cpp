// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/personal_best.h"

#include "files/app_error.h"
#include "files/app_paths.h"
#include "files/ini_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

QString scoresPath(const QString& appDir) { return resolveAppPath(appDir, QStringLiteral("Data\\Scores.ini")); }

QString faceIdentity(const QByteArray& wholeFacePicture) {
    return QString::fromLatin1(QCryptographicHash::hash(wholeFacePicture, QCryptographicHash::Sha1).toHex());
}

namespace {

std::optional<std::int64_t> parseTotal(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok, 10);
    if (!ok) return std::nullopt;
    return v;
}

}  // namespace

BestRecord recordBest(const QString& appDir, const QString& identity, bool blindfolded, std::int64_t total,
                      const QString& player) {
    const QString section = identity;
    QString key = blindfolded ? QStringLiteral("BestBlind") : QStringLiteral("Best");
    if (!player.isEmpty()) key += QLatin1Char(':') + player;
    const QString path = scoresPath(appDir);
    BestRecord record;
    try {
        QDir().mkpath(QFileInfo(path).absolutePath());
        IniFile ini(path);
        record.previous = parseTotal(ini.readString(section, key, QString()));
        record.improved = !record.previous || total > *record.previous;
        if (record.improved) {
            ini.writeString(section, key, QString::number(total));
            ini.save();
        }
    } catch (const AppError& e) {
        record.writeError = e.message();
    }
    return record;
}

QString bestCaption(const BestRecord& record, bool blindfolded) {
    if (record.improved && !record.writeError.isEmpty()) return QStringLiteral("点数を記録できませんでした");
    const QString best = blindfolded ? QStringLiteral("目隠しの自己ベスト") : QStringLiteral("自己ベスト");
    if (record.improved) return best + QStringLiteral("更新！");
    // A file that could not be read tells nothing: no best, and no line.
    if (!record.previous) return QString();
    return best + QStringLiteral(" %1").arg(*record.previous);
}
