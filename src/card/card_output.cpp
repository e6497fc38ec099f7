// SPDX-License-Identifier: GPL-3.0-or-later
#include "card/card_output.h"

#include "files/app_error.h"
#include "files/atomic_write.h"
#include "pictures/jpeg_codec.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <cmath>

namespace {

constexpr qreal kMillimetresPerInch = 25.4;
constexpr int kPdfDotsPerInch = 1200;

bool hasSuffix(const QString& path, std::initializer_list<const char*> suffixes) {
    const QString suffix = QFileInfo(path).suffix();
    for (const char* s : suffixes)
        if (suffix.compare(QLatin1String(s), Qt::CaseInsensitive) == 0) return true;
    return false;
}

QSizeF postcardPixels(qreal dotsPerInch) {
    return kPostcardMillimetres * (dotsPerInch / kMillimetresPerInch);
}

// libjpeg writes a JFIF header without a resolution; a print program reads
// 300 dpi from it (units 1: dots per inch) and prints 100 x 148 mm.
void markJfifDotsPerInch(QByteArray& jpeg, int dotsPerInch) {
    if (jpeg.size() < 18 || !jpeg.startsWith("\xff\xd8\xff\xe0") || jpeg.mid(6, 5) != QByteArray("JFIF\0", 5)) return;
    jpeg[13] = 1;
    jpeg[14] = jpeg[16] = char(dotsPerInch >> 8);
    jpeg[15] = jpeg[17] = char(dotsPerInch & 0xff);
}

// Qt gives a PDF page whole points, 284 x 419 for the postcard's 283.46 x
// 419.53, and flips its drawing about the top at 419. The page's box is
// rewritten in place to the postcard's exact size, its top where Qt's is,
// in as many bytes, so the file's offsets stay right.
void setExactMediaBox(QByteArray& pdf, QSizeF points) {
    static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 (\\d+)\\.000000 (\\d+)\\.000000\\]"));
    const QString text = QString::fromLatin1(pdf);
    const QRegularExpressionMatch match = box.match(text);
    if (!match.hasMatch() || box.match(text, match.capturedEnd()).hasMatch()) return;
    const int top = match.captured(2).toInt();
    QString bottom = QString::number(top - points.height(), 'f', 6);
    bottom.replace(QRegularExpression(QStringLiteral("^(-?)0\\.")), QStringLiteral("\\1."));
    QString exact = QStringLiteral("/MediaBox [0 %1 %2 %3").arg(bottom, QString::number(points.width(), 'f', 6)).arg(top);
    if (exact.size() + 1 > match.capturedLength()) return;
    exact = exact.leftJustified(match.capturedLength() - 1) + QLatin1Char(']');
    pdf.replace(match.capturedStart(), match.capturedLength(), exact.toLatin1());
}

}  // namespace

QImage cardPicture(const CardContent& content) {
    QImage picture(kCardPicturePixels, QImage::Format_RGB32);
    const int dotsPerMetre = qRound(kCardDotsPerInch / kMillimetresPerInch * 1000);
    picture.setDotsPerMeterX(dotsPerMetre);
    picture.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&picture);
    drawCard(painter, QRectF(picture.rect()), content);
    return picture;
}

bool isJpegPath(const QString& path) { return hasSuffix(path, {"jpg", "jpeg"}); }

QString cardPicturePath(const QString& chosen) {
    return hasSuffix(chosen, {"png", "jpg", "jpeg"}) ? chosen : chosen + QStringLiteral(".png");
}

QString cardPdfPath(const QString& chosen) { return hasSuffix(chosen, {"pdf"}) ? chosen : chosen + QStringLiteral(".pdf"); }

QByteArray cardPictureFile(const CardContent& content, bool jpeg) {
    const QImage picture = cardPicture(content);
    if (jpeg) {
        QByteArray bytes = encodeJpeg(picture);
        markJfifDotsPerInch(bytes, kCardDotsPerInch);
        return bytes;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(picture)) return {};
    return bytes;
}

QByteArray cardPdfFile(const CardContent& content) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        // Qt's Postcard is the Japanese one, 100 x 148 mm.
        writer.setPageSize(QPageSize(QPageSize::Postcard));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(kPdfDotsPerInch);
        writer.setCreator(QStringLiteral("ポムリナ"));
        writer.setTitle(QStringLiteral("年賀状 ") + QString::number(content.year));
        QPainter painter(&writer);
        drawCard(painter, QRectF(QPointF(0, 0), postcardPixels(kPdfDotsPerInch)), content);
    }
    setExactMediaBox(bytes, postcardPixels(72));
    return bytes;
}

void saveCardPicture(const QString& path, const CardContent& content) {
    const QByteArray bytes = cardPictureFile(content, isJpegPath(path));
    if (bytes.isEmpty()) throwFileCreateError(path);
    writeFileAtomically(path, bytes);
}

void saveCardPdf(const QString& path, const CardContent& content) {
    const QByteArray bytes = cardPdfFile(content);
    if (bytes.isEmpty()) throwFileCreateError(path);
    writeFileAtomically(path, bytes);
}

void setUpPostcardPrinter(QPrinter& printer) {
    printer.setPageSize(QPageSize(QPageSize::Postcard));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer.setDocName(QStringLiteral("年賀状"));
}

QString printErrorText(const QString& printerName) { return printerName + QStringLiteral(" で印刷できません"); }

void printCard(QPrinter& printer, const CardContent& content) {
    const auto fail = [&printer] {
        if (!printer.outputFileName().isEmpty()) throwFileCreateError(printer.outputFileName());
        throw AppError(printErrorText(printer.printerName()));
    };
    QPainter painter;
    if (!painter.begin(&printer)) fail();
    // With the whole sheet drawn on, the painter's origin is the sheet's
    // corner. A postcard sheet (within a millimetre: drivers round) is
    // covered edge to edge.
    const QSizeF sheet = printer.paperRect(QPrinter::DevicePixel).size();
    const QSizeF card = postcardPixels(printer.resolution());
    const QSizeF slack = QSizeF(1, 1) * (printer.resolution() / kMillimetresPerInch);
    QRectF onSheet(QPointF((sheet.width() - card.width()) / 2, (sheet.height() - card.height()) / 2), card);
    if (std::abs(sheet.width() - card.width()) <= slack.width() && std::abs(sheet.height() - card.height()) <= slack.height())
        onSheet = QRectF(QPointF(0, 0), sheet);
    else if (card.width() > sheet.width() || card.height() > sheet.height())
        onSheet = postcardRectIn(QRectF(QPointF(0, 0), sheet));
    drawCard(painter, onSheet, content);
    if (!painter.end() || printer.printerState() == QPrinter::Error) fail();
}
