// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Checks of a New Year card: two drawings compared, and what Poppler's
// pdfinfo and pdffonts (poppler-utils, installed by tools/setup) say of a PDF.
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>
#include <gtest/gtest.h>

// The share of pixels whose grey differs by more than a quarter of the range
// (the edges of letters drawn at two sizes differ that much, little else).
inline double shareDiffering(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) differing += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 64;
    return double(differing) / (a.width() * a.height());
}

inline QString popplerReport(const char* tool, const QString& pdf) {
    QProcess process;
    process.start(QString::fromLatin1(tool), {pdf});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        ADD_FAILURE() << tool << " " << pdf.toStdString() << " failed: " << process.errorString().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// One page of 100 x 148 mm: 283.465 x 419.528 points, within a point when
// roughly (Qt writes the pages it prints in whole points).
inline bool isOnePostcardPage(const QString& pdf, bool roughly = false) {
    const QString info = popplerReport("pdfinfo", pdf);
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    const double tolerance = roughly ? 1.0 : 0.01;
    return info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))) &&
           std::abs(size.captured(1).toDouble() - 283.465) < tolerance && std::abs(size.captured(2).toDouble() - 419.528) < tolerance;
}

// Every font of the PDF, at least one, is IPA Gothic embedded with its Unicode
// map (Qt embeds a subset but does not name it one, so "sub" may say no).
inline bool embedsOnlyIpaGothic(const QString& pdf) {
    const QStringList fonts = popplerReport("pdffonts", pdf).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    for (const QString& font : fonts)
        if (!font.contains(QRegularExpression(QStringLiteral("^IPAGothic .* yes +(yes|no) +yes +\\d")))) return false;
    return !fonts.isEmpty();
}
