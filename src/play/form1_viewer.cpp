// The saved-faces viewer: the list of the library and one face at a time.
#include "main/form1.h"

#include "board/caption_label.h"
#include "board/image_control.h"
#include "pictures/picture_file.h"
#include "board/scroll_box.h"
#include "play/library.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

namespace {

const QString kViewerPrompt = QStringLiteral(
    "見たい顔の名前をクリックしてください。\r「キャンセル」ボタンを押すと顔の選択画面に戻ります。");

// Turns the list's mouse and keyboard selection into one call per choice:
// a click on an entry (the selected one too) or a selection moved with the
// keys. A press that moves the selection is reported at its release, once.
class LibraryListChoices : public QObject {
public:
    LibraryListChoices(QListWidget* list, std::function<void()> chosen)
        : QObject(list), list_(list), chosen_(std::move(chosen)) {
        list->viewport()->installEventFilter(this);
        connect(list, &QListWidget::itemSelectionChanged, this, [this] {
            if (pressed_)
                movedDuringPress_ = true;
            else
                chosen_();
        });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            pressed_ = true;
            movedDuringPress_ = false;
            break;
        case QEvent::MouseButtonRelease: {
            if (!pressed_) break;
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->buttons() != Qt::NoButton) break;  // other buttons still down
            pressed_ = false;
            const QListWidgetItem* item = list_->itemAt(e->position().toPoint());
            const bool clickedSelected = e->button() == Qt::LeftButton && item && item->isSelected();
            if (movedDuringPress_ || clickedSelected) chosen_();
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    QListWidget* list_;
    std::function<void()> chosen_;
    bool pressed_ = false;
    bool movedDuringPress_ = false;
};

// Library/<name>.jpg as listed; the listing takes the extension in any case.
QString savedFacePath(const QString& folder, const QString& name) {
    const QString fileName = name + QStringLiteral(".jpg");
    const QString exact = folder + QLatin1Char('/') + fileName;
    if (QFileInfo::exists(exact)) return exact;
    for (const QString& entry : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (entry.size() == fileName.size() && entry.startsWith(name) &&
            entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return folder + QLatin1Char('/') + entry;
    return exact;
}

}  // namespace

void TForm1::connectLibraryList() {
    new LibraryListChoices(ListBox1, [this] { ListBox1Click(); });
}

void TForm1::R1Click() {
    guarded([&] {
        F1->setEnabled(false);
        R1->setEnabled(false);
        ScrollBox1->hide();
        ImgFace1->clearPicture();
        ImgFace1->setAutoSize(true);
        ImgFace1->setStretch(false);
        ImgFace1->setProportional(false);
        ImgFace1->move(8, 120);
        ImgFace1->show();
        ListBox1->show();
        Label1->setCaption(kViewerPrompt);
        BitBtnCancel->setText(Texts::Cancel);
        BitBtnCancel->show();
        BitBtnCancel->setEnabled(true);
    });
}

void TForm1::ListBox1Click() {
    guarded([&] {
        const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
        if (selected.isEmpty()) return;
        // Decoded first: a face that cannot be read leaves the one shown.
        const QImage picture =
            loadPictureFile(savedFacePath(libraryFolder(AppDir), selected.first()->text()), kLibraryPictureMaxPixels);
        ImgFace1->setAutoSize(true);
        ImgFace1->move(8, 120);
        ImgFace1->setPicture(picture);
    });
}
