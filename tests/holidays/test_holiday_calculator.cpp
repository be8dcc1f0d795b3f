#include "holidays/holiday_calculator.h"
#include "holidays/holiday_csv.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace mekuri {
namespace {

// "m/d name" lines, the form the tables below are written in.
QStringList describe(const std::vector<Holiday>& holidays) {
    QStringList out;
    for (const Holiday& h : holidays)
        out << QStringLiteral("%1/%2 %3").arg(h.date.month()).arg(h.date.day()).arg(h.name);
    return out;
}

std::vector<Holiday> holidaysOf(int year) {
    Expected<std::vector<Holiday>> result = calculateHolidays(year);
    EXPECT_TRUE(result.ok()) << result.error().toStdString();
    return result.ok() ? result.value() : std::vector<Holiday>{};
}

// The Cabinet Office list names the days off without their reason and
// shortens the one-off ceremonies.
QString publishedName(const Holiday& h) {
    struct Rename {
        int year;  // 0: every year
        const char* ours;
        const char* published;
    };
    static const Rename renames[] = {
        {0, "振替休日", "休日"},
        {0, "国民の休日", "休日"},
        {0, "皇太子明仁親王の結婚の儀", "結婚の儀"},
        {0, "皇太子徳仁親王の結婚の儀", "結婚の儀"},
        {0, "昭和天皇の大喪の礼", "大喪の礼"},
        {2019, "天皇の即位の日", "休日（祝日扱い）"},
        {2019, "即位礼正殿の儀", "休日（祝日扱い）"},
        {2019, "体育の日", "体育の日（スポーツの日）"},
    };
    for (const Rename& r : renames) {
        if ((r.year == 0 || r.year == h.date.year()) && h.name == QString::fromUtf8(r.ours))
            return QString::fromUtf8(r.published);
    }
    return h.name;
}

TEST(HolidayCalculator, MatchesTheCabinetOfficeListForEveryPublishedYear) {
    Expected<HolidayCsv> csv = readHolidayCsv(test::testDataDir() + QStringLiteral("/holidays/syukujitsu.csv"));
    ASSERT_TRUE(csv.ok()) << csv.error().toStdString();
    ASSERT_EQ(csv->years().first(), 1955);
    ASSERT_EQ(csv->years().last(), 2027);
    for (int year = 1955; year <= 2027; ++year) {
        SCOPED_TRACE(year);
        Expected<std::vector<Holiday>> published = holidaysOfYear(*csv, year);
        ASSERT_TRUE(published.ok()) << published.error().toStdString();
        std::vector<Holiday> ours = holidaysOf(year);
        for (Holiday& h : ours) h.name = publishedName(h);
        EXPECT_EQ(describe(ours).join(u'\n').toStdString(), describe(*published).join(u'\n').toStdString());
    }
}

struct YearCase {
    const char* label;
    int year;
    const char* holidays;  // "m/d name" separated by ";"
};

class HolidayYear : public ::testing::TestWithParam<YearCase> {};

TEST_P(HolidayYear, HasThePublishedHolidays) {
    const YearCase& c = GetParam();
    const QStringList expected = QString::fromUtf8(c.holidays).split(u';');
    EXPECT_EQ(describe(holidaysOf(c.year)).join(u'\n').toStdString(), expected.join(u'\n').toStdString());
}

// The years in which a rule starts, ends or is bent; names as the law gives them.
const YearCase kYears[] = {
    {"law_in_force_from_20_July_1948", 1948, "9/23 秋分の日;11/3 文化の日;11/23 勤労感謝の日"},
    {"substitute_holidays_only_from_12_April_1973", 1973,
     "1/1 元日;1/15 成人の日;2/11 建国記念の日;3/21 春分の日;4/29 天皇誕生日;4/30 振替休日;"
     "5/3 憲法記念日;5/5 こどもの日;9/15 敬老の日;9/23 秋分の日;9/24 振替休日;10/10 体育の日;"
     "11/3 文化の日;11/23 勤労感謝の日"},
    {"last_year_before_the_citizens_holiday", 1985,
     "1/1 元日;1/15 成人の日;2/11 建国記念の日;3/21 春分の日;4/29 天皇誕生日;5/3 憲法記念日;"
     "5/5 こどもの日;5/6 振替休日;9/15 敬老の日;9/16 振替休日;9/23 秋分の日;10/10 体育の日;"
     "11/3 文化の日;11/4 振替休日;11/23 勤労感謝の日"},
    {"first_citizens_holiday_on_4_May", 1988,
     "1/1 元日;1/15 成人の日;2/11 建国記念の日;3/20 春分の日;3/21 振替休日;4/29 天皇誕生日;"
     "5/3 憲法記念日;5/4 国民の休日;5/5 こどもの日;9/15 敬老の日;9/23 秋分の日;10/10 体育の日;"
     "11/3 文化の日;11/23 勤労感謝の日"},
    {"heisei_begins", 1989,
     "1/1 元日;1/2 振替休日;1/15 成人の日;1/16 振替休日;2/11 建国記念の日;2/24 昭和天皇の大喪の礼;"
     "3/21 春分の日;4/29 みどりの日;5/3 憲法記念日;5/4 国民の休日;5/5 こどもの日;9/15 敬老の日;"
     "9/23 秋分の日;10/10 体育の日;11/3 文化の日;11/23 勤労感謝の日;12/23 天皇誕生日"},
    {"second_monday_rule_from_2000", 2000,
     "1/1 元日;1/10 成人の日;2/11 建国記念の日;3/20 春分の日;4/29 みどりの日;5/3 憲法記念日;"
     "5/4 国民の休日;5/5 こどもの日;7/20 海の日;9/15 敬老の日;9/23 秋分の日;10/9 体育の日;"
     "11/3 文化の日;11/23 勤労感謝の日;12/23 天皇誕生日"},
    {"third_monday_rule_from_2003_and_no_citizens_holiday_on_a_sunday", 2003,
     "1/1 元日;1/13 成人の日;2/11 建国記念の日;3/21 春分の日;4/29 みどりの日;5/3 憲法記念日;"
     "5/5 こどもの日;7/21 海の日;9/15 敬老の日;9/23 秋分の日;10/13 体育の日;11/3 文化の日;"
     "11/23 勤労感謝の日;11/24 振替休日;12/23 天皇誕生日"},
    {"showa_day_and_greenery_day_on_4_May_from_2007", 2007,
     "1/1 元日;1/8 成人の日;2/11 建国記念の日;2/12 振替休日;3/21 春分の日;4/29 昭和の日;"
     "4/30 振替休日;5/3 憲法記念日;5/4 みどりの日;5/5 こどもの日;7/16 海の日;9/17 敬老の日;"
     "9/23 秋分の日;9/24 振替休日;10/8 体育の日;11/3 文化の日;11/23 勤労感謝の日;12/23 天皇誕生日;"
     "12/24 振替休日"},
    {"substitute_skips_to_the_next_free_day", 2008,
     "1/1 元日;1/14 成人の日;2/11 建国記念の日;3/20 春分の日;4/29 昭和の日;5/3 憲法記念日;"
     "5/4 みどりの日;5/5 こどもの日;5/6 振替休日;7/21 海の日;9/15 敬老の日;9/23 秋分の日;"
     "10/13 体育の日;11/3 文化の日;11/23 勤労感謝の日;11/24 振替休日;12/23 天皇誕生日"},
    {"mountain_day_from_2016", 2016,
     "1/1 元日;1/11 成人の日;2/11 建国記念の日;3/20 春分の日;3/21 振替休日;4/29 昭和の日;"
     "5/3 憲法記念日;5/4 みどりの日;5/5 こどもの日;7/18 海の日;8/11 山の日;9/19 敬老の日;"
     "9/22 秋分の日;10/10 体育の日;11/3 文化の日;11/23 勤労感謝の日;12/23 天皇誕生日"},
    {"enthronement_year_without_emperors_birthday", 2019,
     "1/1 元日;1/14 成人の日;2/11 建国記念の日;3/21 春分の日;4/29 昭和の日;4/30 国民の休日;"
     "5/1 天皇の即位の日;5/2 国民の休日;5/3 憲法記念日;5/4 みどりの日;5/5 こどもの日;5/6 振替休日;"
     "7/15 海の日;8/11 山の日;8/12 振替休日;9/16 敬老の日;9/23 秋分の日;10/14 体育の日;"
     "10/22 即位礼正殿の儀;11/3 文化の日;11/4 振替休日;11/23 勤労感謝の日"},
    {"olympic_moves_2020", 2020,
     "1/1 元日;1/13 成人の日;2/11 建国記念の日;2/23 天皇誕生日;2/24 振替休日;3/20 春分の日;"
     "4/29 昭和の日;5/3 憲法記念日;5/4 みどりの日;5/5 こどもの日;5/6 振替休日;7/23 海の日;"
     "7/24 スポーツの日;8/10 山の日;9/21 敬老の日;9/22 秋分の日;11/3 文化の日;11/23 勤労感謝の日"},
    {"olympic_moves_2021", 2021,
     "1/1 元日;1/11 成人の日;2/11 建国記念の日;2/23 天皇誕生日;3/20 春分の日;4/29 昭和の日;"
     "5/3 憲法記念日;5/4 みどりの日;5/5 こどもの日;7/22 海の日;7/23 スポーツの日;8/8 山の日;"
     "8/9 振替休日;9/20 敬老の日;9/23 秋分の日;11/3 文化の日;11/23 勤労感謝の日"},
    {"latest_published_year", 2027,
     "1/1 元日;1/11 成人の日;2/11 建国記念の日;2/23 天皇誕生日;3/21 春分の日;3/22 振替休日;"
     "4/29 昭和の日;5/3 憲法記念日;5/4 みどりの日;5/5 こどもの日;7/19 海の日;8/11 山の日;"
     "9/20 敬老の日;9/23 秋分の日;10/11 スポーツの日;11/3 文化の日;11/23 勤労感謝の日"},
};

INSTANTIATE_TEST_SUITE_P(RuleChanges, HolidayYear, ::testing::ValuesIn(kYears),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(HolidayCalculator, EquinoxDaysFrom2000To2030) {
    // 2000-2027 as published; 2028-2030 as predicted from the equinox times.
    const int spring[] = {20, 20, 21, 21, 20, 20, 21, 21, 20, 20, 21, 21, 20, 20, 21, 21,
                          20, 20, 21, 21, 20, 20, 21, 21, 20, 20, 20, 21, 20, 20, 20};
    const int autumn[] = {23, 23, 23, 23, 23, 23, 23, 23, 23, 23, 23, 23, 22, 23, 23, 23,
                          22, 23, 23, 23, 22, 23, 23, 23, 22, 23, 23, 23, 22, 23, 23};
    for (int i = 0; i <= 30; ++i) {
        const int year = 2000 + i;
        EXPECT_EQ(springEquinoxDay(year), spring[i]) << year;
        EXPECT_EQ(autumnEquinoxDay(year), autumn[i]) << year;
    }
}

TEST(HolidayCalculator, EquinoxOutsideTheApproximationIsZero) {
    for (int year : {1899, 2100}) {
        EXPECT_EQ(springEquinoxDay(year), 0) << year;
        EXPECT_EQ(autumnEquinoxDay(year), 0) << year;
    }
    // The ends of the range still give days in the equinox window.
    for (int year : {1900, 2099}) {
        EXPECT_GE(springEquinoxDay(year), 19) << year;
        EXPECT_LE(springEquinoxDay(year), 22) << year;
        EXPECT_GE(autumnEquinoxDay(year), 21) << year;
        EXPECT_LE(autumnEquinoxDay(year), 24) << year;
    }
}

TEST(HolidayCalculator, FutureSilverWeeksFollowFromTheRules) {
    // 敬老の日 on Monday, 秋分の日 on Wednesday: the Tuesday between is off.
    struct Case {
        int year;
        const char* september;
    } cases[] = {
        {2032, "9/20 敬老の日;9/21 国民の休日;9/22 秋分の日"},
        {2037, "9/21 敬老の日;9/22 国民の休日;9/23 秋分の日"},
    };
    for (const Case& c : cases) {
        QStringList september;
        for (const QString& line : describe(holidaysOf(c.year))) {
            if (line.startsWith(QStringLiteral("9/"))) september << line;
        }
        EXPECT_EQ(september.join(u';').toStdString(), std::string(c.september)) << c.year;
    }
}

TEST(HolidayCalculator, RefusesYearsOutsideTheLaw) {
    for (int year : {1947, 2100, 0, -5}) {
        Expected<std::vector<Holiday>> result = calculateHolidays(year);
        ASSERT_FALSE(result.ok()) << year;
        EXPECT_TRUE(result.error().contains(QStringLiteral("1948"))) << result.error().toStdString();
        EXPECT_TRUE(result.error().contains(QStringLiteral("2099"))) << result.error().toStdString();
    }
    EXPECT_FALSE(holidaysOf(2099).empty());
}

TEST(HolidayCalculator, EveryYearIsInDateOrderWithinTheYear) {
    for (int year = kFirstHolidayYear; year <= kLastHolidayYear; ++year) {
        const std::vector<Holiday> holidays = holidaysOf(year);
        ASSERT_FALSE(holidays.empty()) << year;
        for (size_t i = 0; i < holidays.size(); ++i) {
            EXPECT_EQ(holidays[i].date.year(), year);
            EXPECT_FALSE(holidays[i].name.isEmpty());
            if (i > 0) {
                EXPECT_LT(holidays[i - 1].date, holidays[i].date) << year;
            }
        }
    }
}

}  // namespace
}  // namespace mekuri
