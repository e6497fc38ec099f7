// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/application_setup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

const QString kQtTextsName = QStringLiteral("qtJapaneseTexts");

}  // namespace

bool setUpApplication(QCoreApplication& app) {
    QCoreApplication::setApplicationName(QStringLiteral("ポムリナ"));
    // Dates, sizes and file types in the file dialogs, in the same language.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    if (app.findChild<QTranslator*>(kQtTextsName, Qt::FindDirectChildrenOnly)) return true;
    auto* qtTexts = new QTranslator(&app);
    qtTexts->setObjectName(kQtTextsName);
    if (!qtTexts->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qtTexts;
        return false;
    }
    QCoreApplication::installTranslator(qtTexts);
    return true;
}
