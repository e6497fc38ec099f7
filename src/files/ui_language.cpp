// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ui_language.h"

#include "files/app_error.h"
#include "files/app_paths.h"
#include "files/ini_file.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

namespace {

const QString kSection = QStringLiteral("Play");
const QString kKey = QStringLiteral("Language");
const QString kJapanese = QStringLiteral("Japanese");
const QString kEnglish = QStringLiteral("English");
const QString kAutomatic = QStringLiteral("Automatic");

bool isUnsetLocale(const QByteArray& locale) {
    return locale.isEmpty() || locale == "C" || locale == "POSIX" || locale.startsWith("C.");
}

}  // namespace

UiLanguage systemUiLanguage(const std::function<QByteArray(const char*)>& env) {
    QByteArray locale = env("LC_ALL");
    if (locale.isEmpty()) locale = env("LC_MESSAGES");
    if (locale.isEmpty()) locale = env("LANG");
    if (isUnsetLocale(locale)) return UiLanguage::Japanese;
    // LANGUAGE lists the languages wanted, most wanted first.
    const QByteArray wanted = env("LANGUAGE").split(':').value(0);
    const QByteArray language = wanted.isEmpty() ? locale : wanted;
    return language.startsWith("ja") ? UiLanguage::Japanese : UiLanguage::English;
}

UiLanguage systemUiLanguage() {
    return systemUiLanguage([](const char* name) { return qgetenv(name); });
}

UiLanguage uiLanguageOf(LanguageChoice choice, UiLanguage system) {
    switch (choice) {
    case LanguageChoice::Japanese: return UiLanguage::Japanese;
    case LanguageChoice::English: return UiLanguage::English;
    case LanguageChoice::Automatic: break;
    }
    return system;
}

LanguageChoice readLanguageChoice(const QString& appDir) {
    try {
        const IniFile ini(playSettingsPath(appDir));
        const QString value = ini.readString(kSection, kKey, QString());
        if (value.compare(kJapanese, Qt::CaseInsensitive) == 0) return LanguageChoice::Japanese;
        if (value.compare(kEnglish, Qt::CaseInsensitive) == 0) return LanguageChoice::English;
    } catch (const AppError&) {
    }
    return LanguageChoice::Automatic;
}

void writeLanguageChoice(const QString& appDir, LanguageChoice choice) {
    const QString path = playSettingsPath(appDir);
    QDir().mkpath(QFileInfo(path).absolutePath());
    IniFile ini(path);
    switch (choice) {
    case LanguageChoice::Automatic: ini.writeString(kSection, kKey, kAutomatic); break;
    case LanguageChoice::Japanese: ini.writeString(kSection, kKey, kJapanese); break;
    case LanguageChoice::English: ini.writeString(kSection, kKey, kEnglish); break;
    }
    ini.save();
}
