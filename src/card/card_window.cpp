// SPDX-License-Identifier: GPL-3.0-or-later
#include "card/card_window.h"

#include "board/ui_fonts.h"
#include "card/card_output.h"
#include "card/card_preview.h"
#include "catalogue/library.h"
#include "desktop/qt_user_dialogs.h"
#include "desktop/user_dialogs.h"
#include "files/app_error.h"
#include "files/file_reading.h"
#include "pictures/picture_file.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString kPictureFilter = QStringLiteral("PNG 画像|*.png|JPEG 画像|*.jpg;*.jpeg");
const QString kPdfFilter = QStringLiteral("PDF|*.pdf");
const QString kPrintSideNote = QStringLiteral("絵柄の面だけを印刷します。\n宛名の面は印刷しません。");
constexpr int kSenderLineLength = 60;

// Asked before a card replaces a file that is there (any file the player
// chose, not a face of the library).
QString overwriteQuestion(const QString& path) {
    return QStringLiteral("ファイル %1 はすでにあります。上書きしますか？").arg(QDir::toNativeSeparators(path));
}
constexpr int kFirstYear = 1927;
constexpr int kLastYear = 2199;

template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

CardWindow::CardWindow(QWidget* owner, const QString& appDir, UserDialogs& dialogs)
    : QDialog(owner), appDir_(appDir), dialogs_(dialogs) {
    setObjectName(QStringLiteral("CardWindow"));
    setWindowTitle(QStringLiteral("年賀状"));
    setWindowModality(Qt::WindowModal);
    setFont(uiFontPixels(14));
    createControls();
}

// A write still running is waited for (BackgroundWork); its outcome is not
// shown any more.
CardWindow::~CardWindow() = default;

void CardWindow::createControls() {
    Preview = named(new CardPreview(this), "CardPreview");
    Preview->setFixedSize(312, 456);
    Status = named(new QLabel(this), "CardStatus");
    Status->setWordWrap(true);
    Status->setTextFormat(Qt::PlainText);
    Status->setFixedWidth(312);
    QPalette statusInk = Status->palette();
    statusInk.setColor(QPalette::WindowText, QColor(200, 0, 0));
    Status->setPalette(statusInk);

    FaceChoice = named(new QComboBox(this), "CardFace");
    GreetingChoice = named(new QComboBox(this), "CardGreeting");
    for (const CardGreeting& greeting : cardGreetings()) GreetingChoice->addItem(greeting.text);
    YearChoice = named(new QSpinBox(this), "CardYear");
    YearChoice->setRange(kFirstYear, kLastYear);
    YearChoice->setSuffix(QStringLiteral("年"));
    YearStyleChoice = named(new QComboBox(this), "CardYearStyle");
    SenderLines = {named(new QLineEdit(this), "CardSender1"), named(new QLineEdit(this), "CardSender2")};
    SenderLines[0]->setPlaceholderText(QStringLiteral("名前"));
    SenderLines[1]->setPlaceholderText(QStringLiteral("住所"));
    for (QLineEdit* line : SenderLines) line->setMaxLength(kSenderLineLength);

    PrintButton = named(new QPushButton(QStringLiteral("印刷…"), this), "CardPrint");
    PdfButton = named(new QPushButton(QStringLiteral("PDFに保存…"), this), "CardPdf");
    PictureButton = named(new QPushButton(QStringLiteral("画像に保存…"), this), "CardPicture");
    CloseButton = named(new QPushButton(QStringLiteral("閉じる"), this), "CardClose");
    for (QPushButton* button : {PrintButton, PdfButton, PictureButton, CloseButton}) button->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("顔"), FaceChoice);
    form->addRow(QStringLiteral("あいさつ"), GreetingChoice);
    form->addRow(QStringLiteral("年"), YearChoice);
    form->addRow(QStringLiteral("年の書き方"), YearStyleChoice);
    form->addRow(QStringLiteral("差出人"), SenderLines[0]);
    form->addRow(QString(), SenderLines[1]);
    auto* note = named(new QLabel(kPrintSideNote, this), "CardPrintSideNote");
    note->setTextFormat(Qt::PlainText);

    auto* choices = new QVBoxLayout;
    choices->addLayout(form);
    choices->addWidget(note);
    choices->addStretch();
    for (QPushButton* button : {PrintButton, PdfButton, PictureButton}) choices->addWidget(button);
    choices->addSpacing(12);
    choices->addWidget(CloseButton);

    auto* left = new QVBoxLayout;
    left->addWidget(Preview);
    left->addWidget(Status);
    left->addStretch();
    auto* whole = new QHBoxLayout(this);
    whole->addLayout(left);
    whole->addLayout(choices);
    whole->setSizeConstraint(QLayout::SetFixedSize);

    connect(FaceChoice, &QComboBox::currentIndexChanged, this, [this] { if (!updating_) faceChosen(); });
    connect(GreetingChoice, &QComboBox::currentIndexChanged, this, [this] { choicesChanged(); });
    connect(YearChoice, &QSpinBox::valueChanged, this, [this] {
        fillYearStyles();
        choicesChanged();
    });
    connect(YearStyleChoice, &QComboBox::currentIndexChanged, this, [this] { choicesChanged(); });
    for (QLineEdit* line : SenderLines) connect(line, &QLineEdit::textChanged, this, [this] { choicesChanged(); });
    connect(PrintButton, &QPushButton::clicked, this, [this] { printClick(); });
    connect(PdfButton, &QPushButton::clicked, this, [this] { pdfClick(); });
    connect(PictureButton, &QPushButton::clicked, this, [this] { pictureClick(); });
    connect(CloseButton, &QPushButton::clicked, this, [this] { reject(); });
    fillYearStyles();
}

void CardWindow::openOn(const QStringList& names, const QString& name, int year) {
    updating_ = true;
    if (!settingsRead_) {
        settingsRead_ = true;
        try {
            stored_ = readCardSettings(appDir_);
        } catch (const AppError& e) {
            dialogs_.showError(e.message());
        }
        folder_ = stored_.folder;
        GreetingChoice->setCurrentIndex(stored_.greeting);
        YearStyleChoice->setCurrentIndex(int(stored_.yearStyle));
        for (std::size_t i = 0; i < SenderLines.size(); ++i) SenderLines[i]->setText(stored_.senderLines[i]);
    }
    YearChoice->setValue(year);
    fillYearStyles();
    FaceChoice->clear();
    FaceChoice->addItems(names);
    FaceChoice->setCurrentIndex(int(names.indexOf(name)));
    updating_ = false;
    show();
    raise();
    activateWindow();
    faceChosen();
}

void CardWindow::finishPendingWork() { writing_.finish(); }

void CardWindow::faceChosen() {
    content_.picture = QImage();
    Status->clear();
    const QString name = FaceChoice->currentText();
    if (!name.isEmpty()) {
        try {
            content_.picture = loadPictureFile(savedFacePath(appDir_, name), kLibraryPictureMaxPixels);
        } catch (const AppError& e) {
            Status->setText(e.message());
            choicesChanged();
            dialogs_.showError(e.message());
            return;
        }
    }
    choicesChanged();
}

void CardWindow::choicesChanged() {
    if (updating_) return;
    content_.greeting = GreetingChoice->currentIndex();
    content_.year = YearChoice->value();
    content_.yearStyle = YearStyle(std::max(0, YearStyleChoice->currentIndex()));
    for (std::size_t i = 0; i < SenderLines.size(); ++i) content_.senderLines[i] = SenderLines[i]->text();
    Preview->setContent(content_);
    updateButtons();
}

void CardWindow::fillYearStyles() {
    const bool wasUpdating = updating_;
    updating_ = true;
    const int chosen = YearStyleChoice->count() > 0 ? YearStyleChoice->currentIndex() : int(stored_.yearStyle);
    YearStyleChoice->clear();
    for (int style = 0; style < kYearStyleCount; ++style)
        YearStyleChoice->addItem(newYearDateText(YearChoice->value(), YearStyle(style)));
    YearStyleChoice->setCurrentIndex(std::clamp(chosen, 0, kYearStyleCount - 1));
    updating_ = wasUpdating;
}

void CardWindow::updateButtons() {
    const bool ready = !content_.picture.isNull() && !writing_.running();
    for (QPushButton* button : {PrintButton, PdfButton, PictureButton}) button->setEnabled(ready);
}

void CardWindow::printClick() {
    guarded([&] {
        QPrinter printer(QPrinter::HighResolution);
        setUpPostcardPrinter(printer);
        if (!dialogs_.choosePrinter(printer)) return;
        printCard(printer, content_);
        rememberChoices();
    });
}

void CardWindow::pdfClick() {
    guarded([&] {
        const QString path = chooseFile(QStringLiteral("PDFに保存"), kPdfFilter, QStringLiteral(".pdf"), cardPdfPath);
        if (path.isEmpty()) return;
        writeInBackground(path, [path, content = content_] { saveCardPdf(path, content); });
    });
}

void CardWindow::pictureClick() {
    guarded([&] {
        const QString path =
            chooseFile(QStringLiteral("画像に保存"), kPictureFilter, QStringLiteral(".png"), cardPicturePath);
        if (path.isEmpty()) return;
        writeInBackground(path, [path, content = content_] { saveCardPicture(path, content); });
    });
}

QString CardWindow::chooseFile(const QString& title, const QString& filter, const QString& extension,
                               const std::function<QString(const QString&)>& withExtension) {
    const QString folder = !folder_.isEmpty() && QFileInfo(folder_).isDir() ? folder_ : desktopOrHomeFolder();
    const QString proposed = folder + QLatin1Char('/') + FaceChoice->currentText() + QStringLiteral("_年賀状") + extension;
    const QString chosen = dialogs_.saveFile(title, filter, proposed);
    if (chosen.isEmpty()) return {};
    const QString path = withExtension(chosen);
    if (probePath(path) == PathKind::File && !dialogs_.confirm(overwriteQuestion(path))) return {};
    return path;
}

void CardWindow::writeInBackground(const QString& path, std::function<void()> write) {
    setCursor(Qt::BusyCursor);
    writing_.start(std::move(write), [this, path](std::exception_ptr failure) {
        unsetCursor();
        updateButtons();
        if (!failure) {
            folder_ = QFileInfo(path).absolutePath();
            guarded([&] { rememberChoices(); });
            return;
        }
        try {
            std::rethrow_exception(failure);
        } catch (const AppError& e) {
            dialogs_.showError(e.message());
        } catch (const std::exception&) {
            dialogs_.showError(fileCreateErrorText(path));
        }
    });
    updateButtons();
}

CardSettings CardWindow::currentSettings() const {
    CardSettings settings;
    settings.greeting = content_.greeting;
    settings.yearStyle = content_.yearStyle;
    settings.senderLines = content_.senderLines;
    settings.folder = folder_;
    return settings;
}

void CardWindow::rememberChoices() {
    const CardSettings settings = currentSettings();
    if (settings == stored_) return;
    writeCardSettings(appDir_, settings);
    stored_ = settings;
}

void CardWindow::done(int result) {
    guarded([&] { rememberChoices(); });
    QDialog::done(result);
}

void CardWindow::guarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const AppError& e) {
        dialogs_.showError(e.message());
    }
}
