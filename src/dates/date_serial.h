#pragma once

// DateSerial: a date as a count of days since 1899-12-30 (day 0), the one
// date type of the program's arithmetic. Whole days only; a time of day,
// where one turns up as a double value, is cut off before it gets here.
//
// The civil conversions are the proleptic Gregorian algorithms of Howard
// Hinnant's "chrono-Compatible Low-Level Date Algorithms", valid for every
// int day count whose year fits an int.

#include <QDate>

#include <compare>

namespace mekuri {

// A year/month/day triple; ok() when it names a day that exists.
struct CivilDate {
    int year = 0;
    int month = 0;  // 1..12 when ok()
    int day = 0;    // 1..31 when ok()

    bool ok() const;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

bool isLeapYear(int year);
// 28..31 for month 1..12, 0 for any other month.
int daysInMonth(int year, int month);

class DateSerial {
public:
    constexpr DateSerial() = default;
    constexpr explicit DateSerial(int days) : m_days(days) {}

    // The serial of a civil date; the date must be ok() (otherwise the
    // result is the day the overflowing fields roll over to).
    static DateSerial fromCivil(int year, int month, int day);
    static DateSerial fromCivil(const CivilDate& date) { return fromCivil(date.year, date.month, date.day); }
    // An invalid QDate gives day 0.
    static DateSerial fromQDate(const QDate& date);
    static DateSerial today();

    constexpr int days() const { return m_days; }
    CivilDate civil() const;
    int year() const { return civil().year; }
    int month() const { return civil().month; }
    int day() const { return civil().day; }
    // 0 Sunday ... 6 Saturday.
    int weekday() const;
    QDate toQDate() const;

    constexpr DateSerial operator+(int days) const { return DateSerial(m_days + days); }
    constexpr DateSerial operator-(int days) const { return DateSerial(m_days - days); }
    constexpr int operator-(DateSerial other) const { return m_days - other.m_days; }
    friend constexpr auto operator<=>(DateSerial, DateSerial) = default;

private:
    int m_days = 0;
};

// The dates the program navigates to: 1900-01-01 (2) to 2087-12-31 (68667),
// the main calendar's MinDate and MaxDate.
inline constexpr DateSerial kFirstSupportedDate{2};
inline constexpr DateSerial kLastSupportedDate{68667};

// The range test on a serial value that may carry a time of day: any moment
// after midnight starting 2087-12-31 is already out of range.
bool isInSupportedRange(double value);
inline bool isInSupportedRange(DateSerial date) { return isInSupportedRange(double(date.days())); }

}  // namespace mekuri
