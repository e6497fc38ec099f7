#include "platform/qt_user_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

QString applicationTitle() { return QStringLiteral("ポムリナ"); }

QString withLineBreaks(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString qtNameFilter(const QString& windowsFilter) {
    QStringList out;
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i];
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns << p;
            if (p.toUpper() != p) patterns << p.toUpper();
        }
        // A description ending in "(...)" would be read by Qt as the patterns.
        if (desc.endsWith(QLatin1Char(')'))) {
            const int open = desc.lastIndexOf(QLatin1Char('('));
            if (open >= 0) desc = desc.left(open).trimmed();
        }
        out << QStringLiteral("%1 (%2)").arg(desc, patterns.join(QLatin1Char(' ')));
    }
    return out.join(QStringLiteral(";;"));
}

bool QtUserDialogs::confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), withLineBreaks(text), QMessageBox::NoButton, owner_);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtUserDialogs::notice(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), withLineBreaks(text), QMessageBox::NoButton, owner_);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

void QtUserDialogs::showError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, applicationTitle(), withLineBreaks(text), QMessageBox::NoButton, owner_);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

QString QtUserDialogs::openFile(const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(owner_, title, QString(), qtNameFilter(filter));
}

QString QtUserDialogs::chooseFolder(const QString& prompt, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(owner_, withLineBreaks(prompt).replace(QLatin1Char('\n'), QLatin1Char(' ')),
                                             startFolder);
}
