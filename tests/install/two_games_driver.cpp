// SPDX-License-Identifier: GPL-3.0-or-later
// A watcher for the unchanged game executable, loaded with LD_PRELOAD: it
// reports on stdout every message box the game shows ("driver: message box:
// <text>", then answers it) and the main window once it is shown ("driver:
// window shown"); POMURINA_DRIVER_STAY_MS after that it closes the window.
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <cstdio>

namespace {

void say(const QString& text) {
    std::printf("driver: %s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

void startWatching() {
    const int stay = qEnvironmentVariableIntValue("POMURINA_DRIVER_STAY_MS");
    auto* poll = new QTimer(qApp);
    auto* windowSeen = new bool(false);
    QObject::connect(poll, &QTimer::timeout, [=] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                say(QStringLiteral("message box: ") + box->text());
                if (QAbstractButton* b = box->buttons().value(0)) b->click();
                return;
            }
            if (w->objectName() == QLatin1String("Form1") && w->isVisible() && !*windowSeen) {
                *windowSeen = true;
                say(QStringLiteral("window shown"));
                QTimer::singleShot(stay, w, [w] { w->close(); });
            }
        }
    });
    poll->start(50);
}

void queueWatching() { QMetaObject::invokeMethod(qApp, startWatching, Qt::QueuedConnection); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(queueWatching)
