#include "dates/date_serial.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace mekuri {
namespace {

// QDate's Julian day count is an independent calendar: serial 0 (1899-12-30)
// is Julian day 2415019.
constexpr qint64 kJulianDayOfSerialZero = 2415019;

TEST(DateSerial, AnchorsOfTheSerialCount) {
    struct Case {
        int year, month, day, serial;
    } const cases[] = {
        {1899, 12, 30, 0}, {1899, 12, 31, 1}, {1900, 1, 1, 2},        {1900, 3, 1, 61},
        {1970, 1, 1, 25569}, {2019, 5, 1, 43586}, {2087, 12, 31, 68667}, {1899, 12, 29, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.serial);
        EXPECT_EQ(DateSerial::fromCivil(c.year, c.month, c.day).days(), c.serial);
        EXPECT_EQ(DateSerial(c.serial).civil(), (CivilDate{c.year, c.month, c.day}));
    }
}

// Every day from year 1 to 9999 against QDate: civil fields, weekday, the
// way back, and that consecutive serials are consecutive days.
TEST(DateSerial, EveryDayAgreesWithQDate) {
    const int first = DateSerial::fromCivil(1, 1, 1).days();
    const int last = DateSerial::fromCivil(9999, 12, 31).days();
    int previousWeekday = DateSerial(first - 1).weekday();
    for (int s = first; s <= last; ++s) {
        const DateSerial serial(s);
        const QDate q = QDate::fromJulianDay(s + kJulianDayOfSerialZero);
        const CivilDate c = serial.civil();
        ASSERT_TRUE(c.ok()) << s;
        ASSERT_EQ(c, (CivilDate{q.year(), q.month(), q.day()})) << s;
        ASSERT_EQ(serial.weekday(), q.dayOfWeek() % 7) << s;
        ASSERT_EQ(serial.weekday(), (previousWeekday + 1) % 7) << s;
        ASSERT_EQ(DateSerial::fromCivil(c), serial) << s;
        ASSERT_EQ(DateSerial::fromQDate(q), serial) << s;
        ASSERT_EQ(serial.toQDate(), q) << s;
        previousWeekday = serial.weekday();
    }
}

TEST(DateSerial, WeekdayOfNegativeSerials) {
    // 1899-12-30 was a Saturday, so the days before run Friday, Thursday...
    EXPECT_EQ(DateSerial(0).weekday(), 6);
    EXPECT_EQ(DateSerial(-1).weekday(), 5);
    EXPECT_EQ(DateSerial(-6).weekday(), 0);
    EXPECT_EQ(DateSerial(-7).weekday(), 6);
}

TEST(DateSerial, ExistingDays) {
    struct Case {
        const char* name;
        CivilDate date;
        bool ok;
    } const cases[] = {
        {"leap day of a leap year", {2020, 2, 29}, true},
        {"leap day of a common year", {2019, 2, 29}, false},
        {"1900 is not a leap year", {1900, 2, 29}, false},
        {"2000 is a leap year", {2000, 2, 29}, true},
        {"30 February", {2020, 2, 30}, false},
        {"31 April", {2019, 4, 31}, false},
        {"31 December", {2019, 12, 31}, true},
        {"month 13", {2019, 13, 1}, false},
        {"month 0", {2019, 0, 1}, false},
        {"day 0", {2019, 5, 0}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.date.ok(), c.ok) << c.name;
}

TEST(DateSerial, OverflowingFieldsRollOver) {
    EXPECT_EQ(DateSerial::fromCivil(2019, 13, 1), DateSerial::fromCivil(2020, 1, 1));
    EXPECT_EQ(DateSerial::fromCivil(2019, 0, 1), DateSerial::fromCivil(2018, 12, 1));
    EXPECT_EQ(DateSerial::fromCivil(2019, 2, 29), DateSerial::fromCivil(2019, 3, 1));
}

TEST(DateSerial, InvalidQDateIsDayZero) { EXPECT_EQ(DateSerial::fromQDate(QDate()).days(), 0); }

TEST(DateSerial, ArithmeticAndOrder) {
    const DateSerial d = DateSerial::fromCivil(2020, 2, 28);
    EXPECT_EQ(d + 2, DateSerial::fromCivil(2020, 3, 1));
    EXPECT_EQ(d - 59, DateSerial::fromCivil(2019, 12, 31));
    EXPECT_EQ(DateSerial::fromCivil(2020, 3, 1) - d, 2);
    EXPECT_LT(d, d + 1);
}

TEST(DateSerial, SupportedRangeTest) {
    struct Case {
        double value;
        bool inRange;
    } const cases[] = {
        {1.0, false},     {1.999, false},  {2.0, true},     {2.5, true},
        {68667.0, true},  {68667.0001, false}, {68667.5, false}, {68668.0, false},
        {-2.0, false},    {std::numeric_limits<double>::quiet_NaN(), false},
        {std::numeric_limits<double>::infinity(), false},
    };
    for (const Case& c : cases) EXPECT_EQ(isInSupportedRange(c.value), c.inRange) << c.value;
    EXPECT_EQ(kFirstSupportedDate, DateSerial::fromCivil(1900, 1, 1));
    EXPECT_EQ(kLastSupportedDate, DateSerial::fromCivil(2087, 12, 31));
    EXPECT_FALSE(isInSupportedRange(DateSerial::fromCivil(1899, 12, 31)));
    EXPECT_FALSE(isInSupportedRange(DateSerial::fromCivil(2088, 1, 1)));
}

}  // namespace
}  // namespace mekuri
