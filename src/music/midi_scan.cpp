// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/midi_scan.h"

#include <QFile>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

bool isMidiFileName(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && QStringView(name).mid(dot) == QLatin1String(".mid");
}

namespace {

QString withSeparator(const QString& folder) {
    if (folder.endsWith(QLatin1Char('/'))) return folder;
    return folder + QLatin1Char('/');
}

}  // namespace

void scanMidiFolder(const QString& folder, QStringList& out, const std::function<void()>& letMessagesThrough) {
    // One open listing per folder level, kept on an explicit stack so that a
    // very deep tree cannot exhaust the call stack. The directory entries'
    // cached types avoid a stat per file, which keeps large trees quick.
    struct Level {
        fs::directory_iterator it;
        QString prefix;
    };
    std::vector<Level> stack;
    auto enter = [&](const QString& path) {
        if (letMessagesThrough) letMessagesThrough();
        std::error_code error;
        fs::directory_iterator it(fs::path(QFile::encodeName(path).toStdString()),
                                  fs::directory_options::skip_permission_denied, error);
        if (!error) stack.push_back({std::move(it), withSeparator(path)});
    };
    enter(folder);
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.it == fs::directory_iterator()) {
            stack.pop_back();
            continue;
        }
        const fs::directory_entry entry = *level.it;
        const QString name = QFile::decodeName(entry.path().filename().native().c_str());
        const QString path = level.prefix + name;
        std::error_code error;
        level.it.increment(error);
        if (error) level.it = fs::directory_iterator();  // an unreadable rest of a listing ends it
        std::error_code typeError;
        const bool link = entry.is_symlink(typeError);
        if (entry.is_directory(typeError)) {
            if (!link) enter(path);  // may reallocate the stack: level is not used after this
        } else if (isMidiFileName(name)) {
            out.append(path);
        }
    }
}
