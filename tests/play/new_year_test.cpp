// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar of a New Year card: the year it greets, its era and its animal.
#include "play/new_year.h"

#include <QSet>
#include <gtest/gtest.h>

TEST(NewYearCard, TheComingNewYearTurnsOverAtTheEndOfJanuary) {
    EXPECT_EQ(comingNewYear(QDate(2026, 12, 1)), 2027);
    EXPECT_EQ(comingNewYear(QDate(2026, 12, 31)), 2027);
    EXPECT_EQ(comingNewYear(QDate(2027, 1, 1)), 2027);
    EXPECT_EQ(comingNewYear(QDate(2027, 1, 31)), 2027);
    EXPECT_EQ(comingNewYear(QDate(2027, 2, 1)), 2028);
    EXPECT_EQ(comingNewYear(QDate(2026, 6, 15)), 2027);
}

// New Year's Day of 2019 was still 平成: 令和 began on 1 May.
TEST(NewYearCard, TheEraIsThatOfNewYearsDayAndNeverItsFirstYear) {
    EXPECT_EQ(eraYearOfNewYearsDay(2027), QStringLiteral("令和9年"));
    EXPECT_EQ(eraYearOfNewYearsDay(2020), QStringLiteral("令和2年"));
    EXPECT_EQ(eraYearOfNewYearsDay(2019), QStringLiteral("平成31年"));
    EXPECT_EQ(eraYearOfNewYearsDay(1990), QStringLiteral("平成2年"));
    EXPECT_EQ(eraYearOfNewYearsDay(1989), QStringLiteral("昭和64年"));
    EXPECT_EQ(eraYearOfNewYearsDay(1927), QStringLiteral("昭和2年"));
    EXPECT_EQ(eraYearOfNewYearsDay(1926), QString());

    EXPECT_EQ(newYearDateText(2027, YearStyle::Western), QStringLiteral("2027年 元旦"));
    EXPECT_EQ(newYearDateText(2027, YearStyle::Era), QStringLiteral("令和9年 元旦"));
    EXPECT_EQ(newYearDateText(2027, YearStyle::Both), QStringLiteral("2027年（令和9年） 元旦"));
    EXPECT_EQ(newYearDateText(1900, YearStyle::Era), QStringLiteral("1900年 元旦"));
}

TEST(NewYearCard, TheZodiacRunsInTwelveYearsFromTheRat) {
    EXPECT_EQ(zodiacAnimal(2027).kanji, QStringLiteral("未"));
    EXPECT_EQ(zodiacAnimal(2027).reading, QStringLiteral("ひつじ"));
    EXPECT_EQ(zodiacAnimal(2020).kanji, QStringLiteral("子"));
    EXPECT_EQ(zodiacAnimal(2026).kanji, QStringLiteral("午"));
    EXPECT_EQ(zodiacAnimal(2031).kanji, QStringLiteral("亥"));
    EXPECT_EQ(zodiacAnimal(2032).kanji, QStringLiteral("子"));
    EXPECT_EQ(zodiacAnimal(1).kanji, QStringLiteral("酉"));
    QSet<QString> cycle;
    for (int year = 2020; year < 2032; ++year) cycle.insert(zodiacAnimal(year).kanji);
    EXPECT_EQ(cycle.size(), 12);
}
