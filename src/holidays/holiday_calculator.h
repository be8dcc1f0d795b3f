#pragma once

// Japan's national holidays for a year, worked out from the national holiday
// law (in force from 1948-07-20) and its amendments, so that nobody has to
// type next year's holiday file by hand.
//
// Rules, by the years they applied:
// - fixed-date holidays with their years (天皇誕生日 4/29 to 1988, 12/23
//   1989-2018, none in 2019, 2/23 from 2020; みどりの日 4/29 1989-2006, 5/4
//   from 2007; 昭和の日 4/29 from 2007; 建国記念の日 from 1967; 敬老の日 and
//   体育の日 from 1966; 海の日 from 1996; 山の日 from 2016; スポーツの日 from
//   2020);
// - the Monday rules: 成人の日 and 体育の日/スポーツの日 on the 2nd Monday from
//   2000, 海の日 and 敬老の日 on the 3rd Monday from 2003;
// - 春分の日 and 秋分の日 by the usual astronomical approximation;
// - 振替休日: from 1973-04-12 a holiday on a Sunday gives the Monday off;
//   from 2007 the first following day that is not a holiday;
// - 国民の休日: from 1985-12-27 a day other than a Sunday that lies between
//   two holidays;
// - the one-off days fixed by their own laws, and the moves of 海の日,
//   スポーツの日 and 山の日 for the Olympic Games in 2020 and 2021.
//
// Checked: every year 1955-2027 matches, day for day, the list the Cabinet
// Office publishes (tests/data/holidays/syukujitsu.csv). 1948-1954 follow the
// same rules but are not checked against a published list. The equinox days
// are fixed officially only a year ahead (the latest published year is
// 2027); for later years they are predictions of the approximation, and a
// law change after 2027 is of course not foreseen.

#include "settings/expected.h"

#include <QDate>
#include <QString>

#include <vector>

namespace mekuri {

struct Holiday {
    QDate date;
    QString name;  // e.g. "元日", "振替休日", "国民の休日"

    bool operator==(const Holiday&) const = default;
};

inline constexpr int kFirstHolidayYear = 1948;
inline constexpr int kLastHolidayYear = 2099;

// Day of March of the vernal equinox in Japan, 1900-2099; 0 outside.
int springEquinoxDay(int year);
// Day of September of the autumnal equinox in Japan, 1900-2099; 0 outside.
int autumnEquinoxDay(int year);

// The national holidays and the days off the law adds (振替休日, 国民の休日)
// of year, in date order, each date once. Years outside 1948-2099 are refused
// with a message saying the range.
Expected<std::vector<Holiday>> calculateHolidays(int year);

}  // namespace mekuri
