// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calendar of a New Year card: which New Year it greets, how its date is
// written, and the zodiac animal of that year.
#include <QDate>
#include <QString>

// The New Year a card made on today greets: in January the one that has just
// begun (cards are still written and answered in its first days), in every
// other month the next one.
int comingNewYear(const QDate& today);

// The Japanese era of New Year's Day of year, with its number: "令和9年" for
// 2027, "平成31年" for 2019 (令和 began on 1 May 2019), "昭和64年" for 1989.
// No New Year's Day opened an era, so the number is never 1 (元年). Empty for
// a year before 1927.
QString eraYearOfNewYearsDay(int year);

// The animal of the twelve-year cycle (十二支): 子 for 2020, 未 for 2027.
struct ZodiacAnimal {
    QString kanji;    // 未
    QString reading;  // ひつじ
};
ZodiacAnimal zodiacAnimal(int year);

// How the card writes its date.
enum class YearStyle { Western, Era, Both };
constexpr int kYearStyleCount = 3;
// "2027年 元旦", "令和9年 元旦" or "2027年（令和9年） 元旦"; an era style for a year
// without an era writes the Western year.
QString newYearDateText(int year, YearStyle style);
