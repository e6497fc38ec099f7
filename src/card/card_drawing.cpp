// SPDX-License-Identifier: GPL-3.0-or-later
#include "card/card_drawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace {

// The places on the card, in millimetres from its top-left corner: for an
// upright picture (a face) the greeting stands in a column on the right; a
// picture wider than tall (a party's sheet) takes the whole width below the
// greeting written across the top.
struct Places {
    QRectF greetingArea, pictureBox, seal, zodiacReading, dateLine;
    bool vertical;
};
constexpr Places kUpright{{74, 8, 20, 84}, {6, 8, 64, 106}, {76, 95, 16, 16}, {72, 111.5, 24, 4.5}, {6, 119, 88, 9}, true};
constexpr Places kWide{{6, 8, 88, 24}, {6, 36, 88, 62}, {78, 101, 16, 16}, {74, 117.5, 24, 4.5}, {6, 104, 68, 10}, false};
constexpr QRectF kSenderLine1{8, 130.5, 84, 5};
constexpr QRectF kSenderLine2{8, 137, 84, 5};

const QColor kGreetingInk(168, 24, 32);
const QColor kSealRed(200, 36, 44);
const QColor kDateInk(34, 34, 34);
const QColor kSenderInk(68, 68, 68);
const QColor kFrameGrey(150, 150, 150);

// Millimetres of the card to the coordinates of rectangle card.
QRectF onCard(const QRectF& card, const QRectF& mm) {
    const qreal sx = card.width() / kPostcardMillimetres.width();
    const qreal sy = card.height() / kPostcardMillimetres.height();
    return QRectF(card.left() + mm.left() * sx, card.top() + mm.top() * sy, mm.width() * sx, mm.height() * sy);
}

// The card's font at a fixed reference size: text is measured at this size
// and scaled into its box, so it takes the same share of the card at every
// size (no hinting, which would snap it to the pixels of one size).
QFont cardFont() {
    QFont font;
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(200);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Text on one line as large as box allows (height times heightShare at
// most), placed horizontally by align and centred vertically.
void drawFitted(QPainter& painter, const QRectF& box, const QString& text, Qt::Alignment align, const QColor& ink,
                qreal heightShare = 1.0) {
    if (text.isEmpty() || box.isEmpty()) return;
    const QFont font = cardFont();
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text);
    const qreal height = metrics.ascent() + metrics.descent();
    if (width <= 0 || height <= 0) return;
    const qreal scale = std::min(box.height() * heightShare / height, box.width() / width);
    qreal x = box.left();
    if (align & Qt::AlignHCenter) x = box.center().x() - width * scale / 2;
    if (align & Qt::AlignRight) x = box.right() - width * scale;
    const qreal baseline = box.center().y() + (metrics.ascent() - metrics.descent()) * scale / 2;
    painter.save();
    painter.translate(x, baseline);
    painter.scale(scale, scale);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QPointF(0, 0), text);
    painter.restore();
}

QRectF centredFit(QSizeF picture, const QRectF& box) {
    if (picture.isEmpty() || box.isEmpty()) return {};
    const QSizeF fitted = picture.scaled(box.size(), Qt::KeepAspectRatio);
    return QRectF(box.center().x() - fitted.width() / 2, box.center().y() - fitted.height() / 2, fitted.width(),
                  fitted.height());
}

}  // namespace

const std::vector<CardGreeting>& cardGreetings() {
    static const std::vector<CardGreeting> greetings{
        {QStringLiteral("謹賀新年"), {QStringLiteral("謹賀新年")}},
        {QStringLiteral("あけましておめでとうございます"),
         {QStringLiteral("あけましておめでとう"), QStringLiteral("ございます")}},
        {QStringLiteral("賀正"), {QStringLiteral("賀正")}},
        {QStringLiteral("迎春"), {QStringLiteral("迎春")}},
    };
    return greetings;
}

CardLayout cardLayout(const QRectF& card, QSize pictureSize, int greeting) {
    const Places& places = pictureSize.width() > pictureSize.height() ? kWide : kUpright;
    CardLayout layout;
    layout.pictureBox = onCard(card, places.pictureBox);
    layout.picture = centredFit(QSizeF(pictureSize), layout.pictureBox);
    layout.seal = onCard(card, places.seal);
    layout.zodiacReading = onCard(card, places.zodiacReading);
    layout.dateLine = onCard(card, places.dateLine);
    layout.senderLines = {onCard(card, kSenderLine1), onCard(card, kSenderLine2)};

    // The greeting's lines side by side, each from the start of the group:
    // columns from the right edge of its area down, or rows from the top
    // across; the characters as large as the longest line and the number of
    // lines allow, the group centred in the area.
    const std::vector<CardGreeting>& greetings = cardGreetings();
    const CardGreeting& chosen = greetings[std::size_t(std::clamp(greeting, 0, int(greetings.size()) - 1))];
    qsizetype longest = 1;
    for (const QString& line : chosen.lines) longest = std::max(longest, line.size());
    const QRectF& area = places.greetingArea;
    const qreal lines = qreal(chosen.lines.size());
    const qreal across = places.vertical ? area.width() : area.height();
    const qreal along = places.vertical ? area.height() : area.width();
    const qreal cell = std::min(across / lines, along / qreal(longest));
    const qreal start = (along - cell * qreal(longest)) / 2;
    const qreal side = (across - cell * lines) / 2;
    for (qsizetype l = 0; l < chosen.lines.size(); ++l)
        for (qsizetype i = 0; i < chosen.lines[l].size(); ++i) {
            const QRectF at = places.vertical
                                  ? QRectF(area.right() - side - cell * qreal(l + 1), area.top() + start + cell * qreal(i), cell, cell)
                                  : QRectF(area.left() + start + cell * qreal(i), area.top() + side + cell * qreal(l), cell, cell);
            layout.greetingCells.push_back(onCard(card, at));
        }
    return layout;
}

QRectF postcardRectIn(const QRectF& area) { return centredFit(kPostcardMillimetres, area); }

void drawCard(QPainter& painter, const QRectF& card, const CardContent& content) {
    const CardLayout layout = cardLayout(card, content.picture.size(), content.greeting);
    const qreal mm = card.width() / kPostcardMillimetres.width();
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    painter.setClipRect(card);
    painter.fillRect(card, Qt::white);

    if (!layout.picture.isEmpty()) {
        painter.drawImage(layout.picture, content.picture);
        painter.setPen(QPen(kFrameGrey, 0.3 * mm));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(layout.picture);
    }

    const CardGreeting& greeting =
        cardGreetings()[std::size_t(std::clamp(content.greeting, 0, int(cardGreetings().size()) - 1))];
    const QString characters = greeting.lines.join(QString());
    for (qsizetype i = 0; i < characters.size() && i < qsizetype(layout.greetingCells.size()); ++i)
        drawFitted(painter, layout.greetingCells[std::size_t(i)], characters.mid(i, 1), Qt::AlignHCenter, kGreetingInk,
                   0.92);

    const ZodiacAnimal animal = zodiacAnimal(content.year);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSealRed);
    painter.drawEllipse(layout.seal);
    const qreal inset = layout.seal.width() * 0.2;
    drawFitted(painter, layout.seal.adjusted(inset, inset, -inset, -inset), animal.kanji, Qt::AlignHCenter, Qt::white);
    drawFitted(painter, layout.zodiacReading, animal.reading, Qt::AlignHCenter, kSealRed);

    drawFitted(painter, layout.dateLine, newYearDateText(content.year, content.yearStyle), Qt::AlignHCenter, kDateInk);
    for (std::size_t i = 0; i < content.senderLines.size(); ++i)
        drawFitted(painter, layout.senderLines[i], content.senderLines[i], Qt::AlignHCenter, kSenderInk);
    painter.restore();
}
