#include "holidays/holiday_csv.h"

#include "holidays/holiday_file_writer.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mekuri {
namespace {

QString fixture(const char* name) { return test::testDataDir() + QStringLiteral("/holidays/") + QString::fromUtf8(name); }

const QByteArray kHeader = test::cp932(QStringLiteral("国民の祝日・休日月日,国民の祝日・休日名称"));

std::string describe(const std::vector<Holiday>& holidays) {
    QStringList out;
    for (const Holiday& h : holidays) out << h.date.toString(QStringLiteral("yyyy/M/d ")) + h.name;
    return out.join(u';').toStdString();
}

TEST(HolidayCsv, TwoYearsAreSeparatedAndEitherCanBeChosen) {
    Expected<HolidayCsv> csv = readHolidayCsv(fixture("syukujitsu_2026_2027.csv"));
    ASSERT_TRUE(csv.ok()) << csv.error().toStdString();
    EXPECT_EQ(csv->years(), (QList<int>{2026, 2027}));

    Expected<std::vector<Holiday>> y2026 = holidaysOfYear(*csv, 2026);
    ASSERT_TRUE(y2026.ok());
    EXPECT_EQ(y2026->size(), 18u);
    EXPECT_EQ(y2026->front(), (Holiday{QDate(2026, 1, 1), QStringLiteral("元日")}));
    EXPECT_EQ(y2026->back(), (Holiday{QDate(2026, 11, 23), QStringLiteral("勤労感謝の日")}));

    // The chosen year gives the same table as the calculator's year.
    Expected<std::vector<Holiday>> y2027 = holidaysOfYear(*csv, 2027);
    ASSERT_TRUE(y2027.ok());
    Expected<HolidayTable> fromCsv = holidayTableOf(2027, *y2027);
    Expected<HolidayTable> fromRules = holidayTableOf(2027, calculateHolidays(2027).value());
    ASSERT_TRUE(fromCsv.ok() && fromRules.ok());
    EXPECT_EQ(fromCsv->rows, fromRules->rows);
    EXPECT_EQ(fromCsv->slotCount, 10);
}

TEST(HolidayCsv, YearNotPresentIsRefusedNamingTheYearsThatAre) {
    Expected<HolidayCsv> csv = readHolidayCsv(fixture("syukujitsu_2026_2027.csv"));
    ASSERT_TRUE(csv.ok());
    Expected<std::vector<Holiday>> missing = holidaysOfYear(*csv, 2028);
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error().contains(QStringLiteral("2028年の休日がありません"))) << missing.error().toStdString();
    EXPECT_TRUE(missing.error().contains(QStringLiteral("2026年から2027年"))) << missing.error().toStdString();
}

TEST(HolidayCsv, MalformedFixtureNamesItsLine) {
    Expected<HolidayCsv> csv = readHolidayCsv(fixture("syukujitsu_malformed.csv"));
    ASSERT_FALSE(csv.ok());
    EXPECT_TRUE(csv.error().contains(QStringLiteral("5行目"))) << csv.error().toStdString();
    EXPECT_TRUE(csv.error().contains(QStringLiteral("2027/2/29"))) << csv.error().toStdString();
}

TEST(HolidayCsv, ThePublishedListReadsWhole) {
    Expected<HolidayCsv> csv = readHolidayCsv(fixture("syukujitsu.csv"));
    ASSERT_TRUE(csv.ok()) << csv.error().toStdString();
    EXPECT_EQ(csv->years().size(), 2027 - 1955 + 1);
    size_t total = 0;
    for (const auto& entry : csv->byYear) total += entry.second.size();
    EXPECT_EQ(total, 1067u);  // one line per holiday after the header
    const std::vector<Holiday> y1959 = holidaysOfYear(*csv, 1959).value();
    EXPECT_NE(std::find(y1959.begin(), y1959.end(), Holiday{QDate(1959, 4, 10), QStringLiteral("結婚の儀")}),
              y1959.end());
}

TEST(HolidayCsv, ToleratesWhatEditorsDoToTheFile) {
    const std::string expected = "2027/1/1 元日;2027/1/11 成人の日";
    struct Case {
        const char* label;
        QByteArray bytes;
    } cases[] = {
        {"CR LF", kHeader + "\r\n2027/1/1," + test::cp932(QStringLiteral("元日\r\n2027/1/11,成人の日\r\n"))},
        {"LF, no final break", kHeader + "\n2027/1/1," + test::cp932(QStringLiteral("元日\n2027/1/11,成人の日"))},
        {"trailing empty lines", kHeader + "\r\n2027/1/1," + test::cp932(QStringLiteral("元日\r\n2027/1/11,成人の日\r\n\r\n\r\n"))},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + QStringLiteral("国民の祝日・休日月日,国民の祝日・休日名称\r\n2027/1/1,元日\r\n2027/1/11,成人の日\r\n").toUtf8()},
        {"blanks, quotes, leading zeros, empty column",
         kHeader + test::cp932(QStringLiteral("\r\n \"2027/01/01\" , 元日 ,\r\n\r\n2027/1/11,\"成人の日\"\r\n"))},
        {"out of order", kHeader + test::cp932(QStringLiteral("\r\n2027/1/11,成人の日\r\n2027/1/1,元日\r\n"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_TRUE(looksLikeHolidayCsv(c.bytes));
        Expected<HolidayCsv> csv = parseHolidayCsv(c.bytes);
        ASSERT_TRUE(csv.ok()) << csv.error().toStdString();
        EXPECT_EQ(describe(holidaysOfYear(*csv, 2027).value()), expected);
    }
}

TEST(HolidayCsv, RefusesMalformedLinesWithNumberAndReason) {
    struct Case {
        const char* label;
        QString body;     // after the header line
        int line;         // 0: not about one line
        const char* why;  // part of the message
    } cases[] = {
        {"impossible date", QStringLiteral("2027/1/1,元日\r\n2027/13/1,休日\r\n"), 3, "ありえない日付"},
        {"dashes for slashes", QStringLiteral("2027-01-01,元日\r\n"), 2, "年/月/日"},
        {"two-digit year", QStringLiteral("27/1/1,元日\r\n"), 2, "年/月/日"},
        {"no name column", QStringLiteral("2027/1/1,元日\r\n2027/1/11\r\n"), 3, "2つの項目"},
        {"a third column", QStringLiteral("2027/1/1,元日,祝日\r\n"), 2, "2つの項目"},
        {"empty name", QStringLiteral("2027/1/1, \r\n"), 2, "名称がありません"},
        {"same date twice", QStringLiteral("2027/1/1,元日\r\n2027/1/11,成人の日\r\n2027/1/1,元日\r\n"), 4, "2行目にも"},
        {"line number counts blank lines", QStringLiteral("\r\n2027/1/1,元日\r\n\r\nx\r\n"), 5, "2つの項目"},
        {"header only", QString(), 0, "1つもありません"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Expected<HolidayCsv> csv = parseHolidayCsv(kHeader + "\r\n" + test::cp932(c.body));
        ASSERT_FALSE(csv.ok());
        if (c.line) {
            EXPECT_TRUE(csv.error().contains(QStringLiteral(" %1行目").arg(c.line))) << csv.error().toStdString();
        }
        EXPECT_TRUE(csv.error().contains(QString::fromUtf8(c.why))) << csv.error().toStdString();
    }
}

TEST(HolidayCsv, RefusesBytesThatAreNotShiftJis) {
    Expected<HolidayCsv> csv = parseHolidayCsv(kHeader + "\r\n2027/1/1," + test::cp932(QStringLiteral("元日")) +
                                               "\r\n2027/1/11,\x82\r\n");
    ASSERT_FALSE(csv.ok()) << describe(holidaysOfYear(*csv, 2027).value());
    EXPECT_TRUE(csv.error().contains(QStringLiteral(" 3行目"))) << csv.error().toStdString();
    EXPECT_TRUE(csv.error().contains(QStringLiteral("Shift-JIS"))) << csv.error().toStdString();
}

TEST(HolidayCsv, OtherFilesAreNotTakenForTheList) {
    struct Case {
        const char* label;
        QByteArray bytes;
    } cases[] = {
        {"empty file", QByteArray()},
        {"a holiday file", test::readFileBytes(fixture("horiday_2027.txt"))},
        {"data without the header", test::cp932(QStringLiteral("2027/1/1,元日\r\n"))},
        {"header with another column name", test::cp932(QStringLiteral("月日,名称\r\n2027/1/1,元日\r\n"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_FALSE(looksLikeHolidayCsv(c.bytes));
        Expected<HolidayCsv> csv = parseHolidayCsv(c.bytes);
        ASSERT_FALSE(csv.ok());
        EXPECT_TRUE(csv.error().contains(QStringLiteral("内閣府の祝日のCSVファイルではありません"))) << csv.error().toStdString();
    }
    EXPECT_TRUE(looksLikeHolidayCsv(test::readFileBytes(fixture("syukujitsu.csv"))));
}

TEST(HolidayCsv, MissingFileIsAnErrorNamingIt) {
    Expected<HolidayCsv> csv = readHolidayCsv(fixture("no_such.csv"));
    ASSERT_FALSE(csv.ok());
    EXPECT_TRUE(csv.error().contains(QStringLiteral("no_such.csv"))) << csv.error().toStdString();
}

TEST(HolidayCsv, YearsTextJoinsRuns) {
    EXPECT_EQ(yearsText({2027}).toStdString(), "2027年");
    EXPECT_EQ(yearsText({1955, 1956, 1957, 2030, 2032, 2033}).toStdString(), "1955年から1957年、2030年、2032年から2033年");
}

}  // namespace
}  // namespace mekuri
