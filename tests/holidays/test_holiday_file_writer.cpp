#include "holidays/holiday_file_writer.h"

#include "settings/ini_file.h"
#include "settings/save_file.h"
#include "settings/text_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mekuri {
namespace {

std::vector<Holiday> calculated(int year) {
    Expected<std::vector<Holiday>> result = calculateHolidays(year);
    EXPECT_TRUE(result.ok()) << result.error().toStdString();
    return result.ok() ? result.value() : std::vector<Holiday>{};
}

QString rowText(const HolidayTable& table, int month) {
    QStringList items;
    for (qint32 day : table.rows[month - 1]) items << QString::number(day);
    return items.join(u',');
}

TEST(HolidayFileWriter, EveryYearFitsTenSlotsPerMonth) {
    int most = 0;
    for (int year = kFirstHolidayYear; year <= kLastHolidayYear; ++year) {
        const std::vector<Holiday> holidays = calculated(year);
        Expected<HolidayTable> table = holidayTableOf(year, holidays);
        ASSERT_TRUE(table.ok()) << year << ": " << table.error().toStdString();
        size_t written = 0;
        for (const auto& row : table->rows) {
            int used = 0;
            for (qint32 day : row) used += day != 0;
            written += used;
            most = std::max(most, used);
        }
        EXPECT_EQ(written, holidays.size()) << year;
    }
    // 2019's May (1-6) is the fullest month there is.
    EXPECT_EQ(most, 6);
}

TEST(HolidayFileWriter, PacksEachMonthLeftRisingWithZerosAfter) {
    // Given out of order and with a day twice, as a hand-made list might be.
    const std::vector<Holiday> holidays = {
        {QDate(2019, 5, 6), QStringLiteral("振替休日")},
        {QDate(2019, 5, 1), QStringLiteral("天皇の即位の日")},
        {QDate(2019, 5, 3), QStringLiteral("憲法記念日")},
        {QDate(2019, 5, 3), QStringLiteral("憲法記念日")},
        {QDate(2019, 1, 1), QStringLiteral("元日")},
    };
    Expected<HolidayTable> table = holidayTableOf(2019, holidays);
    ASSERT_TRUE(table.ok()) << table.error().toStdString();
    EXPECT_EQ(table->slotCount, 10);
    EXPECT_EQ(rowText(*table, 1).toStdString(), "1,0,0,0,0,0,0,0,0,0");
    EXPECT_EQ(rowText(*table, 5).toStdString(), "1,3,6,0,0,0,0,0,0,0");
    EXPECT_EQ(rowText(*table, 12).toStdString(), "0,0,0,0,0,0,0,0,0,0");
}

TEST(HolidayFileWriter, RefusesWhatTheFileCannotHold) {
    std::vector<Holiday> elevenInMay;
    for (int day = 1; day <= 11; ++day) elevenInMay.push_back({QDate(2030, 5, day), QStringLiteral("休日")});
    std::vector<Holiday> tenInMay(elevenInMay.begin(), elevenInMay.end() - 1);

    struct Case {
        const char* label;
        int year;
        std::vector<Holiday> holidays;
        const char* messagePart;  // nullptr: accepted
    } cases[] = {
        {"ten days in a month fit", 2030, tenInMay, nullptr},
        {"eleven days in a month do not", 2030, elevenInMay, "5月"},
        {"a day of another year", 2030, {{QDate(2031, 1, 1), QStringLiteral("元日")}}, "2031/1/1"},
        {"an invalid date", 2030, {{QDate(), QStringLiteral("元日")}}, "2030年"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Expected<QByteArray> bytes = holidayFileBytes(c.year, c.holidays);
        Expected<HolidayTable> table = holidayTableOf(c.year, c.holidays);
        EXPECT_EQ(bytes.ok(), c.messagePart == nullptr);
        EXPECT_EQ(table.ok(), c.messagePart == nullptr);
        if (c.messagePart) {
            EXPECT_TRUE(bytes.error().contains(QString::fromUtf8(c.messagePart))) << bytes.error().toStdString();
        }
    }
}

TEST(HolidayFileWriter, FileFor2027MatchesTheGoldenBytes) {
    Expected<QByteArray> bytes = holidayFileBytes(2027, calculated(2027));
    ASSERT_TRUE(bytes.ok()) << bytes.error().toStdString();
    const QByteArray golden = test::readFileBytes(test::testDataDir() + QStringLiteral("/holidays/horiday_2027.txt"));
    EXPECT_EQ(bytes->toStdString(), golden.toStdString());
    // The factory file shipped with the program is this very file.
    EXPECT_EQ(bytes->toStdString(), test::readFileBytes(test::shippedDataDir() + QStringLiteral("/horiday0.txt")).toStdString());
}

TEST(HolidayFileWriter, IsCp932WithCrLfAndNoMark) {
    Expected<QByteArray> bytes = holidayFileBytes(2019, calculated(2019));
    ASSERT_TRUE(bytes.ok());
    EXPECT_FALSE(bytes->startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes->endsWith("\r\n"));
    EXPECT_EQ(bytes->count('\n'), bytes->count("\r\n"));
    EXPECT_TRUE(bytes->contains(test::cp932(QStringLiteral("; 10月 14日 体育の日、22日 即位礼正殿の儀\r\n"))));
    EXPECT_TRUE(bytes->split('\n').contains("[HORIDAY]\r"));  // the import's marker line
}

TEST(HolidayFileWriter, NamesCp932CannotHoldDoNotSpoilTheFile) {
    const std::vector<Holiday> holidays = {{QDate(2030, 1, 1), QStringLiteral("元日🎍")}};
    Expected<QByteArray> bytes = holidayFileBytes(2030, holidays);
    ASSERT_TRUE(bytes.ok()) << bytes.error().toStdString();
    EXPECT_TRUE(bytes->contains(test::cp932(QStringLiteral("; 1月 1日 元日?\r\n1=1,0,0,0,0,0,0,0,0,0\r\n"))));
}

TEST(HolidayFileWriter, RoundTripsThroughTheLoaderToTheSameTable) {
    for (int year = kFirstHolidayYear; year <= kLastHolidayYear; ++year) {
        SCOPED_TRACE(year);
        const std::vector<Holiday> holidays = calculated(year);
        Expected<HolidayTable> table = holidayTableOf(year, holidays);
        Expected<QString> text = holidayFileText(year, holidays);
        ASSERT_TRUE(table.ok() && text.ok());
        const HolidayLoad load = loadHolidayTable(IniFile::parse(*text));
        ASSERT_FALSE(load.fault.has_value()) << load.fault->reason.toStdString();
        EXPECT_EQ(load.table.slotCount, 10);
        EXPECT_EQ(load.table.rows, table->rows);
    }
    // And once from the disk, as the program reads it.
    test::TempProgramDir dir;
    const std::vector<Holiday> holidays = calculated(2019);
    ASSERT_TRUE(writeHolidayFile(dir.path(QStringLiteral("horiday.txt")), 2019, holidays).ok());
    const HolidayLoad load = loadHolidayFile(dir.path(QStringLiteral("horiday.txt")));
    ASSERT_FALSE(load.fault.has_value());
    EXPECT_EQ(load.table.rows, holidayTableOf(2019, holidays)->rows);
    EXPECT_EQ(load.table.boldMask(5), 0b111111u);  // May 1-6
}

TEST(HolidayFileWriter, FailedWriteKeepsTheOldFile) {
    test::TempProgramDir dir;
    dir.write(QStringLiteral("horiday.txt"), "old");
    setCommitHookForTesting([](const QString&) { return false; });
    const Status status = writeHolidayFile(dir.path(QStringLiteral("horiday.txt")), 2027, calculated(2027));
    setCommitHookForTesting(nullptr);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(dir.read(QStringLiteral("horiday.txt")).toStdString(), "old");
}

}  // namespace
}  // namespace mekuri
