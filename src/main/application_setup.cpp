// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/application_setup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

const QString kQtTextsName = QStringLiteral("qtJapaneseTexts");
const QString kGameTextsName = QStringLiteral("gameEnglishTexts");
UiLanguage installed = UiLanguage::Japanese;

// Loads a translator into app under name; false (and nothing installed) when
// the file cannot be loaded.
bool install(QCoreApplication& app, const QString& name, const QString& file, const QString& folder) {
    auto* texts = new QTranslator(&app);
    texts->setObjectName(name);
    if (!texts->load(file, folder)) {
        delete texts;
        return false;
    }
    QCoreApplication::installTranslator(texts);
    return true;
}

void uninstall(QCoreApplication& app, const QString& name) {
    if (auto* texts = app.findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(texts);
        delete texts;
    }
}

}  // namespace

bool setUpApplication(QCoreApplication& app, UiLanguage language) {
    QCoreApplication::setApplicationName(QStringLiteral("ポムリナ"));
    const QString wanted = language == UiLanguage::Japanese ? kQtTextsName : kGameTextsName;
    if (installed == language && app.findChild<QTranslator*>(wanted, Qt::FindDirectChildrenOnly)) return true;
    uninstall(app, kQtTextsName);
    uninstall(app, kGameTextsName);
    installed = language;
    if (language == UiLanguage::Japanese) {
        // Dates, sizes and file types in the file dialogs, in the same language.
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        return install(app, kQtTextsName, QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return install(app, kGameTextsName, QStringLiteral("pomurina_en"), QStringLiteral(":/i18n"));
}

UiLanguage installedUiLanguage() { return installed; }
