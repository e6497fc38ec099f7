// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar of a New Year card: the year it greets, its era and its animal.
#include "card/new_year.h"

#include <QSet>
#include <gtest/gtest.h>

// The coming New Year turns over at the end of January; New Year's Day of
// 2019 was still 平成 (令和 began on 1 May), and no era is ever in its first
// year on a New Year's Day.
TEST(NewYearCard, TheComingNewYearItsEraAndItsAnimal) {
    for (const auto& [date, year] : {std::pair{QDate(2026, 6, 15), 2027}, {QDate(2026, 12, 31), 2027},
                                     {QDate(2027, 1, 1), 2027}, {QDate(2027, 1, 31), 2027}, {QDate(2027, 2, 1), 2028}})
        EXPECT_EQ(comingNewYear(date), year) << date.toString(Qt::ISODate).toStdString();
    for (const auto& [year, era] : {std::pair{2027, "令和9年"}, {2020, "令和2年"}, {2019, "平成31年"}, {1990, "平成2年"},
                                    {1989, "昭和64年"}, {1927, "昭和2年"}, {1926, ""}})
        EXPECT_EQ(eraYearOfNewYearsDay(year), QString::fromUtf8(era)) << year;
    EXPECT_EQ(newYearDateText(2027, YearStyle::Western), QStringLiteral("2027年 元旦"));
    EXPECT_EQ(newYearDateText(2027, YearStyle::Era), QStringLiteral("令和9年 元旦"));
    EXPECT_EQ(newYearDateText(2027, YearStyle::Both), QStringLiteral("2027年（令和9年） 元旦"));
    EXPECT_EQ(newYearDateText(1900, YearStyle::Era), QStringLiteral("1900年 元旦"));

    EXPECT_EQ(zodiacAnimal(2027).reading, QStringLiteral("ひつじ"));
    for (const auto& [year, kanji] : {std::pair{2027, "未"}, {2020, "子"}, {2026, "午"}, {2031, "亥"}, {2032, "子"}, {1, "酉"}})
        EXPECT_EQ(zodiacAnimal(year).kanji, QString::fromUtf8(kanji)) << year;
    QSet<QString> cycle;
    for (int year = 2020; year < 2032; ++year) cycle.insert(zodiacAnimal(year).kanji);
    EXPECT_EQ(cycle.size(), 12);
}
