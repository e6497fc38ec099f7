// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/qt_desktop_shell.h"

#include <QDesktopServices>
#include <QUrl>

void QtDesktopShell::open(const QString& target) {
    // Failures are not the program's concern: the desktop reports them if at all.
    const QUrl url = target.contains(QStringLiteral("://")) ? QUrl(target) : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
}
