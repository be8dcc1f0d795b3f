#include "dates/date_serial.h"

namespace mekuri {

namespace {

// 1970-01-01, the epoch of the civil algorithms, is serial 25569.
constexpr int kUnixEpochSerial = 25569;

// Days since 1970-01-01 of a civil date.
constexpr long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);             // [0, 399]
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;  // [0, 365]
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;            // [0, 146096]
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

// The civil date of a count of days since 1970-01-01.
constexpr CivilDate civilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);                // [0, 146096]
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);  // [0, 365]
    const unsigned mp = (5 * doy + 2) / 153;                       // [0, 11]
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;               // [1, 31]
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;                  // [1, 12]
    return CivilDate{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

static_assert(daysFromCivil(1899, 12, 30) == -kUnixEpochSerial);
static_assert(civilFromDays(68667 - kUnixEpochSerial) == CivilDate{2087, 12, 31});

}  // namespace

bool isLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool CivilDate::ok() const { return day >= 1 && day <= daysInMonth(year, month); }

DateSerial DateSerial::fromCivil(int year, int month, int day) {
    // Months outside 1..12 roll over into the neighbouring years.
    long long m0 = static_cast<long long>(month) - 1;
    const long long carry = (m0 >= 0 ? m0 : m0 - 11) / 12;  // floor(m0 / 12)
    m0 -= carry * 12;                                        // [0, 11]
    const long long y = year + carry;
    const long long days = daysFromCivil(y, static_cast<unsigned>(m0 + 1), 1) + (day - 1);
    return DateSerial(static_cast<int>(days + kUnixEpochSerial));
}

DateSerial DateSerial::fromQDate(const QDate& date) {
    if (!date.isValid()) return DateSerial();
    return fromCivil(date.year(), date.month(), date.day());
}

DateSerial DateSerial::today() { return fromQDate(QDate::currentDate()); }

CivilDate DateSerial::civil() const { return civilFromDays(static_cast<long long>(m_days) - kUnixEpochSerial); }

int DateSerial::weekday() const {
    // Day 0, 1899-12-30, was a Saturday.
    const int r = (m_days + 6) % 7;  // [-6, 6]
    return r < 0 ? r + 7 : r;
}

QDate DateSerial::toQDate() const {
    const CivilDate c = civil();
    return QDate(c.year, c.month, c.day);
}

bool isInSupportedRange(double value) {
    return value >= kFirstSupportedDate.days() && value <= kLastSupportedDate.days();
}

}  // namespace mekuri
