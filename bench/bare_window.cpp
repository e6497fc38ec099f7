// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the game's first paint: a bare window of the game's size with
// a menu bar and nothing else, started the way the game is. With
// POMURINA_STRETCH_LOG set it notes its first paint as the game does
// (bench/real_window.sh runs it beside the game with BARE=<this program>).
#include "main/stretch_watchdog.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::unique_ptr<StretchWatchdog> watchdog = stretchLogFromEnvironment();
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("メニュー"));
    auto* client = new QWidget;
    client->setFixedSize(722, 524);
    window.setCentralWidget(client);
    window.show();
    return app.exec();
}
