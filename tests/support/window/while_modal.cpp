// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window/while_modal.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

void whileModal(const std::function<void()>& trigger, const std::function<void(QWidget&)>& act) {
    bool ran = false;
    QPointer<QTimer> poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || ran) return;
        ran = true;
        poll->stop();
        QPointer<QWidget> shown = modal;
        act(*modal);
        if (shown && shown->isVisible()) shown->close();
    });
    poll->start(20);
    trigger();
    delete poll;
    EXPECT_TRUE(ran) << "no modal window came up";
}
