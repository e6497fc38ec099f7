// SPDX-License-Identifier: GPL-3.0-or-later
#include "card/new_year.h"

#include <array>

int comingNewYear(const QDate& today) { return today.month() == 1 ? today.year() : today.year() + 1; }

QString eraYearOfNewYearsDay(int year) {
    // The first New Year's Day of each era, newest first.
    struct Era {
        const char16_t* name;
        int firstNewYear;  // the year whose 1 January lies in it first
        int numberThen;    // its number on that day
    };
    static constexpr std::array<Era, 3> kEras{{
        {u"令和", 2020, 2},  // from 1 May 2019
        {u"平成", 1990, 2},  // from 8 January 1989
        {u"昭和", 1927, 2},  // from 25 December 1926
    }};
    for (const Era& era : kEras)
        if (year >= era.firstNewYear)
            return QString::fromUtf16(era.name) + QString::number(year - era.firstNewYear + era.numberThen) +
                   QStringLiteral("年");
    return {};
}

ZodiacAnimal zodiacAnimal(int year) {
    static const std::array<ZodiacAnimal, 12> kAnimals{{
        {QStringLiteral("子"), QStringLiteral("ねずみ")},
        {QStringLiteral("丑"), QStringLiteral("うし")},
        {QStringLiteral("寅"), QStringLiteral("とら")},
        {QStringLiteral("卯"), QStringLiteral("うさぎ")},
        {QStringLiteral("辰"), QStringLiteral("たつ")},
        {QStringLiteral("巳"), QStringLiteral("へび")},
        {QStringLiteral("午"), QStringLiteral("うま")},
        {QStringLiteral("未"), QStringLiteral("ひつじ")},
        {QStringLiteral("申"), QStringLiteral("さる")},
        {QStringLiteral("酉"), QStringLiteral("とり")},
        {QStringLiteral("戌"), QStringLiteral("いぬ")},
        {QStringLiteral("亥"), QStringLiteral("いのしし")},
    }};
    // 4 AD was a year of the rat; the remainder is kept positive for any year.
    return kAnimals[std::size_t(((year - 4) % 12 + 12) % 12)];
}

QString newYearDateText(int year, YearStyle style) {
    const QString western = QString::number(year) + QStringLiteral("年");
    const QString era = eraYearOfNewYearsDay(year);
    QString written = western;
    if (!era.isEmpty() && style == YearStyle::Era) written = era;
    if (!era.isEmpty() && style == YearStyle::Both) written = western + QStringLiteral("（") + era + QStringLiteral("）");
    return written + QStringLiteral(" 元旦");
}
