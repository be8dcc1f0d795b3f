#include "holidays/holiday_calculator.h"

#include <map>

namespace mekuri {

namespace {

const QDate kLawInForce(1948, 7, 20);
const QDate kSubstituteFrom(1973, 4, 12);
const QDate kSubstituteNextFreeDayFrom(2007, 1, 1);
const QDate kCitizensHolidayFrom(1985, 12, 27);

// The n-th Monday (n >= 1) of month.
QDate nthMonday(int year, int month, int n) {
    const QDate first(year, month, 1);
    const int toMonday = (8 - first.dayOfWeek()) % 7;  // [0, 6]
    return first.addDays(toMonday + 7 * (n - 1));
}

// The national holidays proper (祝日) of year, the one-off days included:
// the days the substitute and in-between rules work from.
std::map<QDate, QString> statutoryHolidays(int y) {
    std::map<QDate, QString> days;
    auto add = [&](int month, int day, const QString& name) {
        const QDate date(y, month, day);
        if (date >= kLawInForce) days[date] = name;
    };
    auto addDate = [&](const QDate& date, const QString& name) {
        if (date >= kLawInForce) days[date] = name;
    };

    add(1, 1, QStringLiteral("元日"));
    if (y <= 1999) add(1, 15, QStringLiteral("成人の日"));
    else addDate(nthMonday(y, 1, 2), QStringLiteral("成人の日"));
    if (y >= 1967) add(2, 11, QStringLiteral("建国記念の日"));
    if (y <= 1988) add(4, 29, QStringLiteral("天皇誕生日"));
    else if (y <= 2018) add(12, 23, QStringLiteral("天皇誕生日"));
    else if (y >= 2020) add(2, 23, QStringLiteral("天皇誕生日"));
    add(3, springEquinoxDay(y), QStringLiteral("春分の日"));
    if (y >= 1989 && y <= 2006) add(4, 29, QStringLiteral("みどりの日"));
    if (y >= 2007) {
        add(4, 29, QStringLiteral("昭和の日"));
        add(5, 4, QStringLiteral("みどりの日"));
    }
    add(5, 3, QStringLiteral("憲法記念日"));
    add(5, 5, QStringLiteral("こどもの日"));

    const QString umi = QStringLiteral("海の日");
    if (y == 2020) add(7, 23, umi);
    else if (y == 2021) add(7, 22, umi);
    else if (y >= 2003) addDate(nthMonday(y, 7, 3), umi);
    else if (y >= 1996) add(7, 20, umi);

    const QString yama = QStringLiteral("山の日");
    if (y == 2020) add(8, 10, yama);
    else if (y == 2021) add(8, 8, yama);
    else if (y >= 2016) add(8, 11, yama);

    if (y >= 2003) addDate(nthMonday(y, 9, 3), QStringLiteral("敬老の日"));
    else if (y >= 1966) add(9, 15, QStringLiteral("敬老の日"));
    add(9, autumnEquinoxDay(y), QStringLiteral("秋分の日"));

    const QString sports = QStringLiteral("スポーツの日");
    if (y == 2020) add(7, 24, sports);
    else if (y == 2021) add(7, 23, sports);
    else if (y >= 2022) addDate(nthMonday(y, 10, 2), sports);
    else if (y >= 2000) addDate(nthMonday(y, 10, 2), QStringLiteral("体育の日"));
    else if (y >= 1966) add(10, 10, QStringLiteral("体育の日"));

    add(11, 3, QStringLiteral("文化の日"));
    add(11, 23, QStringLiteral("勤労感謝の日"));

    // Days made holidays by laws of their own.
    struct OneOff {
        int year, month, day;
        QString name;
    };
    const OneOff oneOffs[] = {
        {1959, 4, 10, QStringLiteral("皇太子明仁親王の結婚の儀")},
        {1989, 2, 24, QStringLiteral("昭和天皇の大喪の礼")},
        {1990, 11, 12, QStringLiteral("即位礼正殿の儀")},
        {1993, 6, 9, QStringLiteral("皇太子徳仁親王の結婚の儀")},
        {2019, 5, 1, QStringLiteral("天皇の即位の日")},
        {2019, 10, 22, QStringLiteral("即位礼正殿の儀")},
    };
    for (const OneOff& o : oneOffs) {
        if (o.year == y) add(o.month, o.day, o.name);
    }
    return days;
}

}  // namespace

int springEquinoxDay(int year) {
    // Integer division truncates toward zero, as the approximation's int() does.
    if (year >= 1900 && year <= 1979)
        return int(20.8357 + 0.242194 * (year - 1980) - (year - 1983) / 4);  // [19, 22]
    if (year >= 1980 && year <= 2099)
        return int(20.8431 + 0.242194 * (year - 1980) - (year - 1980) / 4);  // [19, 22]
    return 0;
}

int autumnEquinoxDay(int year) {
    if (year >= 1900 && year <= 1979)
        return int(23.2588 + 0.242194 * (year - 1980) - (year - 1983) / 4);  // [22, 24]
    if (year >= 1980 && year <= 2099)
        return int(23.2488 + 0.242194 * (year - 1980) - (year - 1980) / 4);  // [21, 24]
    return 0;
}

Expected<std::vector<Holiday>> calculateHolidays(int year) {
    if (year < kFirstHolidayYear || year > kLastHolidayYear) {
        return Error{QStringLiteral("休日を作成できる年は %1年から%2年までです。")
                         .arg(kFirstHolidayYear)
                         .arg(kLastHolidayYear)};
    }
    const std::map<QDate, QString> statutory = statutoryHolidays(year);
    std::map<QDate, QString> all = statutory;
    auto isStatutory = [&](const QDate& d) { return statutory.count(d) != 0; };

    for (const auto& [date, name] : statutory) {
        if (date.dayOfWeek() != Qt::Sunday || date < kSubstituteFrom) continue;
        QDate off = date.addDays(1);
        if (date >= kSubstituteNextFreeDayFrom) {
            while (isStatutory(off)) off = off.addDays(1);
        } else if (isStatutory(off)) {
            continue;  // the old rule gave the Monday only
        }
        all[off] = QStringLiteral("振替休日");
    }

    // A working day squeezed between two holidays becomes a day off too.
    for (const auto& [date, name] : statutory) {
        const QDate between = date.addDays(1);
        if (between < kCitizensHolidayFrom || between.dayOfWeek() == Qt::Sunday) continue;
        if (all.count(between) == 0 && isStatutory(between.addDays(1)))
            all[between] = QStringLiteral("国民の休日");
    }

    std::vector<Holiday> out;
    out.reserve(all.size());
    for (const auto& [date, name] : all) {
        if (date.year() == year) out.push_back({date, name});
    }
    return out;
}

}  // namespace mekuri
