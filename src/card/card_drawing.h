// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture side of a New Year card (年賀状), drawn by one function at any
// size: the window's preview, the postcard picture, the PDF and the printed
// page are the same drawing. The card is a Japanese postcard, 100 x 148 mm
// portrait; every place is given in millimetres of it and scaled, text
// included, so a larger card is the smaller one magnified.
#include "card/new_year.h"

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class QPainter;

inline constexpr QSizeF kPostcardMillimetres{100.0, 148.0};

// A greeting as written on the card: its lines, columns of vertical writing
// read from the right beside an upright picture, rows across above a wide one.
struct CardGreeting {
    QString text;
    QStringList lines;
};
// 謹賀新年, あけましておめでとうございます, 賀正, 迎春, in this order.
const std::vector<CardGreeting>& cardGreetings();

struct CardContent {
    QImage picture;  // the saved face; a null picture leaves its place empty
    int greeting = 0;  // index into cardGreetings()
    int year = 2027;
    YearStyle yearStyle = YearStyle::Western;
    std::array<QString, 2> senderLines;  // name and address, either may be empty
};

// Where everything lies on a card drawn into a rectangle (its coordinates).
struct CardLayout {
    QRectF pictureBox;             // the room for the picture
    QRectF picture;                // the picture in it, aspect kept, centred; empty without one
    std::vector<QRectF> greetingCells;  // a square per character, in reading order
    QRectF seal;                   // the zodiac animal's round seal
    QRectF zodiacReading;          // its reading under the seal
    QRectF dateLine;               // "2027年 元旦"
    std::array<QRectF, 2> senderLines;
};
CardLayout cardLayout(const QRectF& card, QSize pictureSize, int greeting);

// The largest rectangle of the postcard's proportions centred in area.
QRectF postcardRectIn(const QRectF& area);

// Draws the whole card into card (painter coordinates), background included.
void drawCard(QPainter& painter, const QRectF& card, const CardContent& content);
