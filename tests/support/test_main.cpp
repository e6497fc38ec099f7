// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry: every test program runs with a QApplication on the offscreen
// platform, so widget tests need no display.
#include <QApplication>
#include <gtest/gtest.h>

namespace {

// The offscreen platform cannot grab the mouse and says so on every drag;
// Qt's routing of the test's mouse events gives the same effect, so that one
// line is noise. Everything else goes through.
QtMessageHandler defaultHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QStringLiteral("does not support grabbing the mouse"))) return;
    defaultHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    defaultHandler = qInstallMessageHandler(quietHandler);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ポムリナ"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
