// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures the face search is tried on: the two public-domain portraits
// kept in photos/ (POMURINA_TEST_PHOTOS), and a drawing with no face in it.
#include <QImage>
#include <QPainter>
#include <QString>
#include <gtest/gtest.h>

inline QImage testPhoto(const char* name) {
    const QImage photo(QStringLiteral(POMURINA_TEST_PHOTOS "/") + QLatin1String(name));
    EXPECT_FALSE(photo.isNull()) << name;
    return photo.convertToFormat(QImage::Format_RGB32);
}

// A coffee cup on its saucer, drawn: cup-like shapes, but no face.
inline QImage coffeeCupPicture() {
    QImage cup(640, 480, QImage::Format_RGB32);
    cup.fill(qRgb(230, 215, 190));
    QPainter painter(&cup);
    painter.setPen(QPen(QColor(90, 60, 40), 6));
    painter.setBrush(QColor(250, 250, 250));
    painter.drawEllipse(QRect(170, 330, 300, 70));
    painter.drawEllipse(QRect(390, 230, 70, 80));
    painter.drawRoundedRect(QRect(230, 200, 180, 160), 30, 30);
    return cup;
}
