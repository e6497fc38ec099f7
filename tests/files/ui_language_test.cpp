// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ui_language.h"

#include "support/temp_app_dir.h"

#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

UiLanguage languageOf(const std::map<std::string, QByteArray>& environment) {
    return systemUiLanguage([&](const char* name) {
        const auto found = environment.find(name);
        return found == environment.end() ? QByteArray() : found->second;
    });
}

}  // namespace

TEST(UiLanguage, JapaneseForJapaneseAndForNoLanguageEnglishForEveryOther) {
    const struct {
        std::map<std::string, QByteArray> environment;
        UiLanguage expected;
    } cases[] = {
        {{}, UiLanguage::Japanese},
        {{{"LANG", "C"}}, UiLanguage::Japanese},
        {{{"LANG", "POSIX"}}, UiLanguage::Japanese},
        {{{"LANG", "C.UTF-8"}}, UiLanguage::Japanese},
        {{{"LANG", "ja_JP.UTF-8"}}, UiLanguage::Japanese},
        {{{"LANG", "en_US.UTF-8"}}, UiLanguage::English},
        {{{"LANG", "de_DE.UTF-8"}}, UiLanguage::English},
        {{{"LANG", "zh_CN.UTF-8"}}, UiLanguage::English},
        // The categories in the C library's order, LC_ALL first.
        {{{"LANG", "en_US.UTF-8"}, {"LC_MESSAGES", "ja_JP.UTF-8"}}, UiLanguage::Japanese},
        {{{"LANG", "ja_JP.UTF-8"}, {"LC_ALL", "en_GB.UTF-8"}}, UiLanguage::English},
        {{{"LANG", "ja_JP.UTF-8"}, {"LC_ALL", "C"}}, UiLanguage::Japanese},
        // LANGUAGE's first wish counts, but not under the C locale.
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "ja:en"}}, UiLanguage::Japanese},
        {{{"LANG", "ja_JP.UTF-8"}, {"LANGUAGE", "fr:ja"}}, UiLanguage::English},
        {{{"LANG", "C"}, {"LANGUAGE", "en"}}, UiLanguage::Japanese},
    };
    for (const auto& c : cases) {
        QStringList seen;
        for (const auto& [name, value] : c.environment) seen << QString::fromStdString(name) + "=" + value;
        EXPECT_EQ(languageOf(c.environment), c.expected) << seen.join(' ').toStdString();
    }
    EXPECT_EQ(uiLanguageOf(LanguageChoice::Automatic, UiLanguage::English), UiLanguage::English);
    EXPECT_EQ(uiLanguageOf(LanguageChoice::Japanese, UiLanguage::English), UiLanguage::Japanese);
    EXPECT_EQ(uiLanguageOf(LanguageChoice::English, UiLanguage::Japanese), UiLanguage::English);
}

TEST(UiLanguage, TheChoiceIsKeptInPlayIniBesideTheOtherChoices) {
    TempAppDir dir;
    EXPECT_EQ(readLanguageChoice(dir.path()), LanguageChoice::Automatic) << "no Play.ini";
    dir.writeBytes(QStringLiteral("data/Play.ini"), "[Play]\r\nBlindfold=1\r\nLanguage=english\r\n");
    EXPECT_EQ(readLanguageChoice(dir.path()), LanguageChoice::English) << "any letter case";
    for (const LanguageChoice choice : {LanguageChoice::Japanese, LanguageChoice::Automatic, LanguageChoice::English}) {
        writeLanguageChoice(dir.path(), choice);
        EXPECT_EQ(readLanguageChoice(dir.path()), choice);
    }
    EXPECT_TRUE(dir.readBytes(QStringLiteral("data/Play.ini")).contains("Blindfold=1")) << "the other choices stay";
    dir.writeBytes(QStringLiteral("data/Play.ini"), "[Play]\r\nLanguage=Klingon\r\n");
    EXPECT_EQ(readLanguageChoice(dir.path()), LanguageChoice::Automatic);
}
