// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/form2.h"

#include "board/image_control.h"
#include "board/ui_fonts.h"
#include "desktop/user_dialogs.h"

#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

namespace {

const QColor kTeal(0, 128, 128);
const QColor kLime(0, 255, 0);
const QColor kWhite(255, 255, 255);

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect place, const QFont& font,
                  const QColor& colour) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(place);
    label->setFont(font);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    return label;
}

}  // namespace

TForm2::TForm2(QWidget* owner, const QImage& logo, DesktopShell& shell, std::function<void()> closed)
    : QDialog(owner), shell_(shell), closed_(std::move(closed)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(AboutTexts::Caption);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(298, 127);
    setFont(uiFontPixels(12));
    QPalette p = palette();
    p.setColor(QPalette::Window, kTeal);
    setPalette(p);
    setAutoFillBackground(true);
    // Moves over the bare form arrive without a button held.
    setMouseTracking(true);

    Label1 = makeLabel(this, "Label1", AboutTexts::Version, {8, 16, 227, 24}, uiFontPixels(24, true, true),
                       Qt::yellow);

    ImageRogo = new ImageControl(this);
    ImageRogo->setObjectName(QStringLiteral("ImageRogo"));
    ImageRogo->setGeometry(96, 50, 191, 40);
    ImageRogo->setStretch(true);
    ImageRogo->setProportional(true);
    ImageRogo->setPicture(logo);

    QFont addressFont = uiFontPixels(16);
    addressFont.setUnderline(true);
    Label2 = makeLabel(this, "Label2", AboutTexts::AuthorAddress, {56, 100, 237, 16}, addressFont, kLime);
    Label2->setMouseTracking(true);
    Label2->installEventFilter(this);

    // Moves over the title and the logo belong to them, not to the bare form.
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(ImageRogo), static_cast<QWidget*>(Label2)})
        w->setAttribute(Qt::WA_NoMousePropagation);
}

void TForm2::Label2MouseMove() { setAddressColour(kWhite); }

void TForm2::FormMouseMove() { setAddressColour(kLime); }

void TForm2::Label2Click() { shell_.open(AboutTexts::AuthorAddress); }

void TForm2::FormClose() {
    if (closed_) closed_();
}

void TForm2::done(int result) {
    QDialog::done(result);
    FormClose();
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TForm2::mouseMoveEvent(QMouseEvent* event) {
    FormMouseMove();
    QDialog::mouseMoveEvent(event);
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Label2) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        Label2MouseMove();
        return true;
    case QEvent::MouseButtonPress:
        addressPressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        return true;
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(event);
        const bool click = addressPressed_ && me->button() == Qt::LeftButton &&
                           Label2->rect().contains(me->position().toPoint());
        if (me->button() == Qt::LeftButton) addressPressed_ = false;
        if (click) Label2Click();
        return true;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void TForm2::setAddressColour(const QColor& colour) {
    QPalette p = Label2->palette();
    p.setColor(QPalette::WindowText, colour);
    Label2->setPalette(p);
}
