#pragma once

// EraTable: the Japanese imperial eras the program names, oldest first, with
// the first days of the published era calendar. An era lasts until the day
// before the next entry's first day; the last one is open-ended.
//
// Year numbering: an era's first day lies in its year 1, and the era year
// goes up by one on each 1 January (so the year within an era is the Western
// year minus the Western year of the era's first day, plus 1).

#include "dates/date_serial.h"

#include <QStringView>

#include <array>

namespace mekuri {

struct Era {
    QStringView EraName;  // two kanji, as the gg token prints it
    char EraLetter;       // the ASCII capital that stands for the era in typed input
    DateSerial EraFirstDay;
};

// 明治 M 1868-10-23, 大正 T 1912-07-30, 昭和 S 1926-12-25, 平成 H 1989-01-08,
// 令和 R 2019-05-01.
const std::array<Era, 5>& EraTable();

// The last era whose first day is not after date. Dates before the first
// era's first day (none of them in the supported range) get the first era.
const Era& eraOf(DateSerial date);
// The year of date within eraOf(date); 1 or more from the first era's first day on.
int eraYearOf(DateSerial date);

// The Western year of year eraYear of era (which may lie past the era's end).
int westernYearOfEra(const Era& era, int eraYear);
// The era of an ASCII letter, either case; nullptr for any other character.
const Era* eraByLetter(QChar letter);
// The era of an exact name; nullptr for any other text.
const Era* eraByName(QStringView name);

// The 昭和 and 平成 year numbers of a Western year, also for years after the
// eras' ends (1989 is 昭和 64, 2019 is 平成 31).
constexpr int ShowaYearOf(int year) { return year - 1925; }
constexpr int HeiseiYearOf(int year) { return year - 1988; }

}  // namespace mekuri
