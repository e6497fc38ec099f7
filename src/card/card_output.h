// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The card as a postcard picture, as a PDF and on paper, each drawn by
// drawCard at its own size. Files are written whole through the durable
// write: a failed write leaves no part of a file.
#include "card/card_drawing.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QPrinter;

// 100 x 148 mm at 300 dpi.
inline constexpr QSize kCardPicturePixels{1181, 1748};
inline constexpr int kCardDotsPerInch = 300;

// The card at kCardPicturePixels, marked as 300 dpi.
QImage cardPicture(const CardContent& content);

// The name a picture or a PDF is written under: the chosen name when it ends
// in .png, .jpg or .jpeg (any case), or .pdf, else with ".png" or ".pdf" added.
QString cardPicturePath(const QString& chosen);
QString cardPdfPath(const QString& chosen);
// Whether a picture path is written as JPEG (.jpg, .jpeg) rather than PNG.
bool isJpegPath(const QString& path);

// The picture's file: PNG, or JPEG at quality 90, both saying 300 dpi.
QByteArray cardPictureFile(const CardContent& content, bool jpeg);
// One page of 100 x 148 mm, the card's font embedded.
QByteArray cardPdfFile(const CardContent& content);
// Write the file at path; throw "ファイル %s を作成できません" when it cannot be
// written (the path's folder missing or not writable, a full disk).
void saveCardPicture(const QString& path, const CardContent& content);
void saveCardPdf(const QString& path, const CardContent& content);

// The postcard page: 100 x 148 mm portrait, the whole sheet drawn on, no
// margins of the program's own (the printer's own margins are its own).
void setUpPostcardPrinter(QPrinter& printer);
// Prints one page: the card at its true size, centred on a larger sheet,
// fitted to a smaller one. Throws "ファイル %s を作成できません" for printing
// into a file that cannot be made, "%s で印刷できません" (the printer's name)
// when the printer fails.
void printCard(QPrinter& printer, const CardContent& content);
QString printErrorText(const QString& printerName);
