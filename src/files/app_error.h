// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own error: raised by file, picture and ini operations and shown
// to the user in a message box by the handler that ran into it.
#include <QString>
#include <stdexcept>

class AppError : public std::runtime_error {
public:
    explicit AppError(const QString& message);
    const QString& message() const { return message_; }

private:
    QString message_;
};

// The texts of the program's error messages, with the path or number filled in.
QString fileOpenErrorText(const QString& path);      // "ファイル %s は開けません"
QString fileCreateErrorText(const QString& path);    // "ファイル %s を作成できません"
QString iniWriteErrorText(const QString& path);      // "%s に書き込めません"
QString jpegErrorText(int code);                     // "JPEG エラー #%d"

[[noreturn]] void throwFileOpenError(const QString& path);
[[noreturn]] void throwFileCreateError(const QString& path);
[[noreturn]] void throwIniWriteError(const QString& path);
[[noreturn]] void throwJpegError(int code);
