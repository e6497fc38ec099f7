// SPDX-License-Identifier: GPL-3.0-or-later
#include "authoring/photo_input.h"

#include "pictures/picture_format.h"

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

QStringList localFiles(const QMimeData& data) {
    QStringList files;
    if (!data.hasUrls()) return files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}

QStringList pictureTypes(const QMimeData& data) {
    QStringList types;
    for (const QString& type : data.formats())
        if (type.startsWith(QLatin1String("image/"))) types << type;
    return types;
}

}  // namespace

std::optional<PhotoSource> photoSourceOf(const QMimeData& data) {
    PhotoSource source;
    source.files = localFiles(data);
    if (!source.files.isEmpty()) return source;
    for (const QString& type : pictureTypes(data)) {
        const QByteArray bytes = data.data(type);
        if (pictureFormatOf(QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), kPictureFormatHeadBytes))) !=
            PictureFormat::Unknown) {
            source.data = bytes;
            return source;
        }
    }
    if (data.hasImage()) {
        source.picture = qvariant_cast<QImage>(data.imageData());
        if (!source.picture.isNull()) return source;
    }
    return std::nullopt;
}

bool mayOfferPhoto(const QMimeData& data) {
    return !localFiles(data).isEmpty() || !pictureTypes(data).isEmpty() || data.hasImage();
}

PhotoInput::PhotoInput(QWidget& window, QAction& paste, std::function<bool()> welcome,
                       std::function<void(const PhotoSource&)> open)
    : QObject(&window), welcome_(std::move(welcome)), open_(std::move(open)) {
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    paste.setShortcut(QKeySequence::Paste);
    window.addAction(&paste);
    connect(&paste, &QAction::triggered, this, [this] { this->paste(); });
}

void PhotoInput::paste() {
    if (!welcome_()) return;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data) return;
    if (const std::optional<PhotoSource> source = photoSourceOf(*data)) open_(*source);
}

namespace {

// A photograph is only ever copied: a drop taken as a move (Shift in a file
// manager) would have the file manager remove the player's photograph.
bool takeAsCopy(QDropEvent& event) {
    if (!(event.possibleActions() & Qt::CopyAction)) return false;
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}

}  // namespace

bool PhotoInput::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!welcome_() || !drag->mimeData() || !mayOfferPhoto(*drag->mimeData()) || !takeAsCopy(*drag))
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::optional<PhotoSource> source =
            welcome_() && drop->mimeData() ? photoSourceOf(*drop->mimeData()) : std::nullopt;
        if (!source || !takeAsCopy(*drop)) {
            drop->ignore();
            return true;
        }
        open_(*source);
        return true;
    }
    default: return QObject::eventFilter(watched, event);
    }
}
