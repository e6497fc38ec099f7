// SPDX-License-Identifier: GPL-3.0-or-later
#include "authoring/part_finder.h"

#include "board/board.h"
#include "board/image_control.h"
#include "desktop/user_dialogs.h"
#include "detection/face_model.h"
#include "pictures/stretch.h"

#include <QFutureWatcher>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QtConcurrent/QtConcurrentRun>
#include <exception>

namespace {

const QString kFindCaption = QStringLiteral("自動で囲む");
const QString kLoadingCaption = QStringLiteral("準備中…");
const QString kNotInstalledTip =
    QStringLiteral("自動で囲むには、パッケージ %1 をインストールしてください。").arg(kFaceModelPackage);
const QString kModelBrokenTip = QStringLiteral("顔のモデルを読めませんでした。");

// The offered faces: small squares in a row below the buttons.
constexpr int kOfferedSide = 40;
constexpr int kOfferedGap = 4;
constexpr int kOfferedLeft = 128;
constexpr int kOfferedTop = 480;
constexpr int kMostOffered = 6;
const QColor kChosenFrame(255, 214, 64);

QImage offeredPicture(const QImage& photo, const QRect& box, bool chosen) {
    const QImage crop = photo.copy(box.intersected(photo.rect()));
    QImage square(kOfferedSide, kOfferedSide, QImage::Format_RGB32);
    square.fill(Qt::white);
    stretchDraw(square, QRect(QPoint(0, 0), proportionalSize(crop.size(), square.size())), crop);
    if (chosen) {
        QPainter p(&square);
        p.setPen(QPen(kChosenFrame, 3));
        p.drawRect(QRectF(1.5, 1.5, kOfferedSide - 3, kOfferedSide - 3));
    }
    return square;
}

// Lets the model go on a worker thread: freeing its many blocks takes
// longer than a frame.
void releaseOffThread(std::shared_ptr<const FaceModel> model) {
    if (model) (void)QtConcurrent::run([m = std::move(model)]() mutable { m.reset(); });
}

}  // namespace

struct PartFinder::Searched {
    FaceSearch search;
    bool failed = false;
};

PartFinder::PartFinder(Board& board, UserDialogs& dialogs)
    : board_(board), dialogs_(dialogs), modelPath_(kFaceModelPath) {}

PartFinder::~PartFinder() {
    if (searching_) QGuiApplication::restoreOverrideCursor();
    releaseOffThread(std::move(model_));
}

void PartFinder::begin() {
    ++session_;
    active_ = true;
    QPushButton* button = board_.BitBtnZido;
    button->show();
    if (!faceModelInstalled(modelPath_)) {
        button->setText(kFindCaption);
        button->setEnabled(false);
        button->setToolTip(kNotInstalledTip);
        return;
    }
    button->setToolTip(QString());
    if (model_) {
        button->setText(kFindCaption);
        button->setEnabled(true);
        return;
    }
    button->setText(kLoadingCaption);
    button->setEnabled(false);
    loading_ = std::make_unique<QFutureWatcher<FaceModelLoad>>();
    const int session = session_;
    QObject::connect(loading_.get(), &QFutureWatcher<FaceModelLoad>::finished, loading_.get(), [this, session] {
        if (session == session_) modelLoaded();
    });
    loading_->setFuture(QtConcurrent::run(loadFaceModel, modelPath_));
}

void PartFinder::modelLoaded() {
    const FaceModelLoad outcome = loading_->result();
    loading_.reset();
    QPushButton* button = board_.BitBtnZido;
    button->setText(kFindCaption);
    if (!active_) return;
    try {
        model_ = outcome.take();
        button->setEnabled(true);
    } catch (const AppError& e) {
        button->setEnabled(false);
        button->setToolTip(kModelBrokenTip);
        dialogs_.showError(e.message());
    }
}

void PartFinder::end() {
    ++session_;
    active_ = false;
    loading_.reset();
    searchWork_.reset();
    if (searching_) {
        searching_ = false;
        QGuiApplication::restoreOverrideCursor();
    }
    clearOffer();
    board_.BitBtnZido->hide();
    releaseOffThread(std::move(model_));
}

void PartFinder::search(const QImage& photo) {
    if (!model_ || searching_) return;
    searching_ = true;
    board_.BitBtnZido->setEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    searchWork_ = std::make_unique<QFutureWatcher<Searched>>();
    const int session = session_;
    QObject::connect(searchWork_.get(), &QFutureWatcher<Searched>::finished, searchWork_.get(), [this, session] {
        if (session == session_) searchDone();
    });
    searchWork_->setFuture(QtConcurrent::run([model = model_, photo] {
        Searched done;
        try {
            done.search = findFaces(*model, photo);
        } catch (const std::exception&) {
            done.failed = true;  // dlib out of memory on a huge photo: no face found
        }
        return done;
    }));
}

void PartFinder::searchDone() {
    const Searched done = searchWork_->result();
    searchWork_.reset();
    searching_ = false;
    QGuiApplication::restoreOverrideCursor();
    board_.BitBtnZido->setEnabled(true);
    if (onSearched) onSearched(done.search);
}

void PartFinder::offerFaces(const FaceSearch& search, const QImage& photo, int chosen) {
    clearOffer();
    if (search.faces.size() < 2) return;
    const int shown = std::min<int>(int(search.faces.size()), kMostOffered);
    for (int i = 0; i < shown; ++i) {
        auto* face = new ImageControl(board_.ClientArea);
        face->setObjectName(QStringLiteral("ImgKouho%1").arg(i));
        face->setGeometry(kOfferedLeft + i * (kOfferedSide + kOfferedGap), kOfferedTop, kOfferedSide, kOfferedSide);
        face->setPicture(offeredPicture(photo, search.faces[size_t(i)].box, i == chosen));
        face->setTag(i);
        face->onClick = [this](ImageControl* sender) {
            if (onChosen) onChosen(sender->tag());
        };
        face->show();
        offered_.push_back(face);
    }
}

void PartFinder::clearOffer() {
    for (ImageControl* face : offered_) {
        face->hide();
        face->deleteLater();
    }
    offered_.clear();
}
