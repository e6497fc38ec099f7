// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What Poppler's pdfinfo and pdffonts (poppler-utils, installed by
// tools/setup) say of a PDF file.
#include <QProcess>
#include <cmath>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

inline QString popplerReport(const char* tool, const QString& pdf) {
    QProcess process;
    process.start(QString::fromLatin1(tool), {pdf});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        ADD_FAILURE() << tool << " " << pdf.toStdString() << " failed: " << process.errorString().toStdString()
                      << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// One page of 100 x 148 mm: 283.465 x 419.528 points, or within a point
// when roughly is set (Qt writes the pages it prints in whole points).
inline bool isOnePostcardPage(const QString& pdf, bool roughly = false) {
    const QString info = popplerReport("pdfinfo", pdf);
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    const double width = size.captured(1).toDouble(), height = size.captured(2).toDouble();
    const double tolerance = roughly ? 1.0 : 0.01;
    return info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))) && std::abs(width - 283.465) < tolerance &&
           std::abs(height - 419.528) < tolerance;
}

// Every font of the PDF is IPA Gothic, embedded with its Unicode map
// (pdffonts' "emb" and "uni" say yes; Qt embeds a subset, but does not
// mark its name as one, so "sub" says no); at least one.
inline bool embedsOnlyIpaGothic(const QString& pdf) {
    const QStringList lines = popplerReport("pdffonts", pdf).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() < 3) return false;
    for (const QString& font : lines.mid(2))
        if (!font.contains(QStringLiteral("IPAGothic")) ||
            !font.contains(QRegularExpression(QStringLiteral(" yes +(yes|no) +yes +\\d"))))
            return false;
    return true;
}
