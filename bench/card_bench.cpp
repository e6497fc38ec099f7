// SPDX-License-Identifier: GPL-3.0-or-later
// The New Year card: from a press on 「画像に保存…」 (or 「PDFに保存…」) in the
// card window to the file on disk, through the window (the file dialog
// answered at once), beside a plain program drawing a card of the same
// things and writing it synced with the same libraries. window_ms is how
// long the press holds the window's thread; the rest runs on the card's own.
#include "bench_support.h"

#include "card/card_window.h"
#include "floors.h"
#include "pictures/jpeg_codec.h"
#include "play/library_viewer.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

QImage benchFace() {
    QImage face(120, 150, QImage::Format_RGB32);
    face.fill(qRgb(250, 220, 190));
    QPainter painter(&face);
    painter.setBrush(QColor(60, 40, 30));
    painter.drawEllipse(30, 50, 16, 10);
    painter.drawEllipse(74, 50, 16, 10);
    painter.drawRect(45, 110, 30, 6);
    return face;
}

// The card's things drawn the plainest way: a white sheet, the face
// scaled, the greeting, a seal, the date and two lines.
void drawPlainCard(QPainter& painter, QSizeF size, const QImage& face) {
    const qreal mm = size.width() / 100;
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    painter.drawImage(QRectF(6 * mm, 8 * mm, 64 * mm, 80 * mm), face);
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(int(18 * mm));
    painter.setFont(font);
    painter.setPen(QColor(168, 24, 32));
    const QString greeting = QStringLiteral("謹賀新年");
    for (int i = 0; i < greeting.size(); ++i) painter.drawText(QPointF(75 * mm, (26 + 20 * i) * mm), greeting.mid(i, 1));
    painter.setBrush(QColor(200, 36, 44));
    painter.drawEllipse(QRectF(76 * mm, 95 * mm, 16 * mm, 16 * mm));
    font.setPixelSize(int(7 * mm));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(20 * mm, 126 * mm), QStringLiteral("2027年 元旦"));
    font.setPixelSize(int(4 * mm));
    painter.setFont(font);
    painter.drawText(QPointF(30 * mm, 135 * mm), QStringLiteral("福笑 太郎"));
    painter.drawText(QPointF(20 * mm, 141 * mm), QStringLiteral("東京都千代田区千代田1-1-1"));
}

void floorPicture(const QString& path, const QImage& face, bool jpeg) {
    QImage card(1181, 1748, QImage::Format_RGB32);
    {
        QPainter painter(&card);
        drawPlainCard(painter, card.size(), face);
    }
    QByteArray bytes;
    if (jpeg) {
        bytes = encodeJpeg(card);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        card.save(&buffer, "PNG");
    }
    floorWriteSynced(path, bytes);
    floorSyncFolder(QFileInfo(path).absolutePath());
}

void floorPdf(const QString& path, const QImage& face) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::Postcard));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(1200);
        QPainter painter(&writer);
        drawPlainCard(painter, QSizeF(writer.width(), writer.height()), face);
    }
    floorWriteSynced(path, bytes);
    floorSyncFolder(QFileInfo(path).absolutePath());
}

enum class CardFile { Png, Jpeg, Pdf };

void measureCardSave(benchmark::State& state, CardFile kind) {
    const QString app = benchCatalogue(10);
    QTemporaryDir out;
    const QString extension = kind == CardFile::Png ? QStringLiteral(".png") : kind == CardFile::Jpeg ? QStringLiteral(".jpg") : QStringLiteral(".pdf");
    const QString target = out.path() + QStringLiteral("/card") + extension;
    const QString floorTarget = out.path() + QStringLiteral("/floor") + extension;
    const QImage face = benchFace();
    QFile saved(app + QStringLiteral("Library/ベンチの顔.jpg"));
    QDir().mkpath(app + QStringLiteral("Library"));
    saved.open(QIODevice::WriteOnly);
    saved.write(encodeJpeg(face));
    saved.close();

    // The card's choices go into Play.ini; the shared catalogue is left without one.
    const QString playIni = app + QStringLiteral("data/Play.ini");
    const bool hadPlayIni = QFileInfo::exists(playIni);
    auto form = benchWindow(app, target);
    form->R1Click();
    const QList<QListWidgetItem*> entry = form->ListBox1->findItems(QStringLiteral("ベンチの顔"), Qt::MatchExactly);
    if (entry.isEmpty()) return state.SkipWithError("no saved face");
    form->ListBox1->setCurrentItem(entry.first());
    form->ListBox1Click();
    form->BitBtnNengazyoClick();
    CardWindow* card = form->cardWindow();
    if (!card) return state.SkipWithError("no card window");

    std::vector<double> window;
    bool missing = false;
    measureAgainstFloor(
        state,
        [&] {
            QElapsedTimer press;
            press.start();
            if (kind == CardFile::Pdf)
                card->pdfClick();
            else
                card->pictureClick();
            window.push_back(double(press.nsecsElapsed()) / 1e6);
            form->finishPendingWork();
            if (!QFileInfo::exists(target)) missing = true;
        },
        [&] {
            if (kind == CardFile::Pdf)
                floorPdf(floorTarget, face);
            else
                floorPicture(floorTarget, face, kind == CardFile::Jpeg);
        },
        [&] {
            QFile::remove(target);
            QFile::remove(floorTarget);
        });
    if (missing) state.SkipWithError("the card was not written");
    std::nth_element(window.begin(), window.begin() + long(window.size() / 2), window.end());
    if (!window.empty()) state.counters["window_ms"] = window[window.size() / 2];
    card->reject();
    QFile::remove(app + QStringLiteral("Library/ベンチの顔.jpg"));
    if (!hadPlayIni) QFile::remove(playIni);
}

void BM_CardPictureToDisk_Png(benchmark::State& state) { measureCardSave(state, CardFile::Png); }
void BM_CardPictureToDisk_Jpeg(benchmark::State& state) { measureCardSave(state, CardFile::Jpeg); }
void BM_CardPdfToDisk(benchmark::State& state) { measureCardSave(state, CardFile::Pdf); }

}  // namespace

BENCHMARK(BM_CardPictureToDisk_Png)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_CardPictureToDisk_Jpeg)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_CardPdfToDisk)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
