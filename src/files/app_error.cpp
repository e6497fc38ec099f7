// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/app_error.h"

#include <QDir>

AppError::AppError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

QString fileOpenErrorText(const QString& path) {
    return QStringLiteral("ファイル %1 は開けません").arg(QDir::toNativeSeparators(path));
}
QString fileCreateErrorText(const QString& path) {
    return QStringLiteral("ファイル %1 を作成できません").arg(QDir::toNativeSeparators(path));
}
QString iniWriteErrorText(const QString& path) {
    return QStringLiteral("%1 に書き込めません").arg(QDir::toNativeSeparators(path));
}
QString jpegErrorText(int code) { return QStringLiteral("JPEG エラー #%1").arg(code); }

void throwFileOpenError(const QString& path) { throw AppError(fileOpenErrorText(path)); }
void throwFileCreateError(const QString& path) { throw AppError(fileCreateErrorText(path)); }
void throwIniWriteError(const QString& path) { throw AppError(iniWriteErrorText(path)); }
void throwJpegError(int code) { throw AppError(jpegErrorText(code)); }
