// SPDX-License-Identifier: GPL-3.0-or-later
#include "authoring/part_finder.h"

#include "authoring/authoring_look.h"
#include "board/board.h"
#include "board/caption_label.h"
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

// The word beside the button: Label1's lettering, a size smaller so that the
// longest fits in one line between the button and the window's edge.
constexpr int kNoteGap = 8;
constexpr int kNotePoints = 11;

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
    : board_(board), dialogs_(dialogs), modelPath_(kFaceModelPath), note_(new CaptionLabel(board.ClientArea)) {
    note_->setObjectName(QStringLiteral("LblZido"));
    note_->setFont(board_.Label1->font());
    note_->setFontPoints(kNotePoints);
    note_->setFontColour(board_.Label1->fontColour());
    note_->setAutoSizeToText(true);
    note_->hide();
    keepTimer_.setSingleShot(true);
    keepTimer_.setInterval(std::chrono::minutes(1));
    QObject::connect(&keepTimer_, &QTimer::timeout, [this] {
        if (!active_) releaseModel();
    });
}

PartFinder::~PartFinder() {
    if (searching_) QGuiApplication::restoreOverrideCursor();
    releaseOffThread(std::move(model_));
}

void PartFinder::setModelPath(const QString& path) {
    if (path == modelPath_) return;
    modelPath_ = path;
    loading_.reset();  // its model would be of the other file
    loadError_.reset();
    releaseModel();
}

void PartFinder::prepare() {
    keepTimer_.stop();
    if (model_ || loading_ || !faceModelInstalled(modelPath_)) return;
    startLoad();
}

void PartFinder::startLoad() {
    ++loadsStarted_;
    loadError_.reset();
    loading_ = std::make_unique<QFutureWatcher<FaceModelLoad>>();
    QObject::connect(loading_.get(), &QFutureWatcher<FaceModelLoad>::finished, loading_.get(),
                     [this] { modelLoaded(); });
    loading_->setFuture(QtConcurrent::run(loadFaceModel, modelPath_));
}

void PartFinder::begin() {
    ++session_;
    active_ = true;
    board_.BitBtnZido->show();
    if (!faceModelInstalled(modelPath_)) {
        board_.BitBtnZido->setText(kFindCaption);
        board_.BitBtnZido->setEnabled(false);
        board_.BitBtnZido->setToolTip(kNotInstalledTip);
        return;
    }
    // A load that failed is tried again by the next authoring.
    if (!loadError_) prepare();
    keepTimer_.stop();
    showModelState();
}

void PartFinder::modelLoaded() {
    const FaceModelLoad outcome = loading_->result();
    // Deleted once its signal is over.
    loading_.release()->deleteLater();
    try {
        model_ = outcome.take();
    } catch (const AppError& e) {
        loadError_ = e.message();
    }
    if (active_)
        showModelState();
    else if (model_)
        keepTimer_.start();
}

// The button as the model stands: ready, loading, or failed (said once).
void PartFinder::showModelState() {
    QPushButton* button = board_.BitBtnZido;
    button->setToolTip(QString());
    button->setText(model_ || !loading_ ? kFindCaption : kLoadingCaption);
    button->setEnabled(model_ && !searching_);
    if (loadError_) {
        button->setToolTip(kModelBrokenTip);
        const QString message = *loadError_;
        loadError_.reset();
        dialogs_.showError(message);
    }
}

void PartFinder::end() {
    ++session_;
    active_ = false;
    searchWork_.reset();
    if (searching_) {
        searching_ = false;
        QGuiApplication::restoreOverrideCursor();
    }
    clearOffer();
    board_.BitBtnZido->hide();
    if (model_) keepTimer_.start();
}

void PartFinder::releaseModel() {
    keepTimer_.stop();
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
    if (search.faces.empty()) showNote(AuthoringTexts::FacesNotFound);
    if (search.faces.size() < 2) return;
    showNote(AuthoringTexts::OtherFaces);
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
    note_->hide();
}

void PartFinder::showNote(const QString& text) {
    note_->setCaption(text);
    const QRect button = board_.BitBtnZido->geometry();
    note_->move(button.right() + 1 + kNoteGap, button.center().y() - note_->height() / 2);
    note_->show();
}

void PartFinder::dropNoFaceNote() {
    if (note_->caption() == AuthoringTexts::FacesNotFound) note_->hide();
}
