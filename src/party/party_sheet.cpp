// SPDX-License-Identifier: GPL-3.0-or-later
#include "party/party_sheet.h"

#include "board/ui_fonts.h"
#include "party/party_sheet_grid.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

const QColor kPaper(255, 255, 255);
const QColor kWinner(255, 255, 160);
const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
const QColor kDeepRed(190, 0, 0);
const QColor kEmptyBox(220, 220, 220);

constexpr int kMargin = 8;
constexpr int kTitleHeight = 28;
constexpr int kStandingsWidth = 204;
constexpr int kLineHeight = 16;
constexpr int kTextLines = 3;  // name, score, and a new best

QLabel* textLabel(QWidget* parent, const QString& text, const QFont& font, const QColor& colour, QRect at,
                  Qt::Alignment alignment = Qt::AlignCenter) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    label->setAlignment(alignment);
    label->setGeometry(at);
    label->show();
    return label;
}

void fill(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

}  // namespace

PartySheet::PartySheet(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PartySheet"));
    fill(this, kPaper);
    hide();
}

void PartySheet::clear() {
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        child->hide();
        child->deleteLater();
        child->setParent(nullptr);
    }
}

void PartySheet::showResults(const Party& party, const std::vector<QImage>& pictures, const QString& date) {
    clear();
    textLabel(this, QStringLiteral("みんなで遊んだ結果　%1").arg(date), uiFontPixels(16, true), kGreen,
              QRect(kMargin, 4, width() - 2 * kMargin, kTitleHeight - 4), Qt::AlignLeft | Qt::AlignVCenter)
        ->setObjectName(QStringLiteral("PartySheetTitle"));

    const QRect cells(kMargin, kTitleHeight, width() - kStandingsWidth - 3 * kMargin, height() - kTitleHeight - kMargin);
    const SheetGrid grid = sheetGrid(party.playerCount(), party.rounds(), cells.size());
    const std::vector<int> places = party.places();
    const int firstRound = grid.allRounds ? 0 : party.rounds() - 1;
    int k = 0;
    for (int r = firstRound; r < party.rounds(); ++r)
        for (int p = 0; p < party.playerCount(); ++p, ++k) {
            const QPoint corner = cells.topLeft() + QPoint(k % grid.columns * grid.cell.width(),
                                                           k / grid.columns * grid.cell.height());
            const size_t turn = size_t(r * party.playerCount() + p);
            addCell(party, r, p, turn < pictures.size() ? pictures[turn] : QImage(), QRect(corner, grid.cell),
                    places[size_t(p)] == 1);
        }
    addStandings(party, QRect(width() - kStandingsWidth - kMargin, kTitleHeight, kStandingsWidth, cells.height()));
}

void PartySheet::addCell(const Party& party, int round, int player, const QImage& picture, QRect cell, bool winner) {
    const QString name = party.players()[size_t(player)].name;
    const std::optional<PartyTurn>& turn = party.turn(round, player);
    const QString score = turn ? QStringLiteral("%1点").arg(turn->score) : QString();
    auto* box = new QLabel(this);
    box->setObjectName(QStringLiteral("PartyPicture%1_%2").arg(round + 1).arg(player + 1));
    box->setAccessibleName(QStringLiteral("第%1回 %2さん %3").arg(QString::number(round + 1), name, score));
    box->setAlignment(Qt::AlignCenter);
    const QRect pictureArea(cell.x() + 3, cell.y() + 3, cell.width() - 6, cell.height() - kTextLines * kLineHeight - 6);
    box->setGeometry(pictureArea);
    if (winner) fill(box, kWinner);
    if (picture.isNull()) {
        fill(box, kEmptyBox);
    } else {
        box->setPixmap(QPixmap::fromImage(
            picture.scaled(pictureArea.size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    box->show();
    QRect line(cell.x(), pictureArea.bottom() + 1, cell.width(), kLineHeight);
    textLabel(this, name, uiFontPixels(12, true), kGreen, line);
    textLabel(this, score, uiFontPixels(12, true), kRed, line.translated(0, kLineHeight));
    if (turn && turn->newBest)
        textLabel(this, QStringLiteral("自己ベスト更新！"), uiFontPixels(11, true), kDeepRed,
                  line.translated(0, 2 * kLineHeight));
}

void PartySheet::addStandings(const Party& party, QRect area) {
    const std::vector<int> places = party.places();
    constexpr int kRow = 26;
    QRect row(area.x(), area.y(), area.width(), kRow - 2);
    for (int p : playersByPlace(party)) {
        const bool winner = places[size_t(p)] == 1;
        auto* line = new QWidget(this);
        line->setGeometry(row);
        if (winner) fill(line, kWinner);
        line->show();
        const QFont font = uiFontPixels(winner ? 16 : 14, true);
        const QColor colour = winner ? kRed : kGreen;
        const int h = row.height();
        textLabel(line, QStringLiteral("%1位").arg(places[size_t(p)]), font, colour, QRect(2, 0, 40, h),
                  Qt::AlignLeft | Qt::AlignVCenter);
        textLabel(line, party.players()[size_t(p)].name, font, colour, QRect(44, 0, 96, h),
                  Qt::AlignLeft | Qt::AlignVCenter);
        textLabel(line, QStringLiteral("%1点").arg(party.total(p)), font, colour, QRect(140, 0, area.width() - 142, h),
                  Qt::AlignRight | Qt::AlignVCenter);
        row.translate(0, kRow);
    }
}

QImage PartySheet::picture() { return grab().toImage().convertToFormat(QImage::Format_RGB32); }
