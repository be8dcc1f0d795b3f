#include "holidays/holiday_table.h"

#include "settings/text_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace mekuri;
using mekuri::test::readFileBytes;
using mekuri::test::shippedDataDir;
using mekuri::test::TempProgramDir;

namespace {

using Row = std::array<qint32, 10>;

HolidayLoad loadText(const char* text) { return loadHolidayTable(IniFile::parse(QString::fromUtf8(text))); }

// ---- splitting -------------------------------------------------------------

struct SplitCase {
    const char* name;
    const char* value;
    QStringList items;
};

class CommaText : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CommaText, Splits) {
    EXPECT_EQ(splitCommaText(QString::fromUtf8(GetParam().value)), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommaText,
    ::testing::Values(
        SplitCase{"empty_value_gives_no_items", "", {}},
        SplitCase{"blanks_only_give_no_items", " \t ", {}},
        SplitCase{"plain", "1,2,3", {"1", "2", "3"}},
        SplitCase{"blanks_around_commas_are_skipped", " 1 ,\t2 , 3 ", {"1", "2", "3"}},
        SplitCase{"a_blank_separates_like_a_comma", "1 2", {"1", "2"}},
        SplitCase{"two_commas_give_an_empty_item", "1,,3", {"1", "", "3"}},
        SplitCase{"trailing_comma_gives_a_final_empty_item", "1,2,", {"1", "2", ""}},
        SplitCase{"a_lone_comma_gives_two_empty_items", ",", {"", ""}},
        SplitCase{"quoted_item_keeps_commas_and_blanks", "\"1, 2\",3", {"1, 2", "3"}},
        SplitCase{"doubled_quote_is_one_quote", "\"a\"\"b\",c", {"a\"b", "c"}},
        SplitCase{"unmatched_quote_runs_to_the_end", "1,\"2,3", {"1", "2,3"}},
        SplitCase{"text_after_a_closing_quote_is_a_new_item", "\"1\"2", {"1", "2"}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- loading ---------------------------------------------------------------

struct LoadCase {
    const char* name;
    const char* text;
    int slotCount;
    int faultMonth;  // 0: loads without fault
    int faultItem;
    int month;  // the row checked
    Row row;
};

class HolidayLoading : public ::testing::TestWithParam<LoadCase> {};

TEST_P(HolidayLoading, LayoutFaultAndRow) {
    const LoadCase& c = GetParam();
    const HolidayLoad load = loadText(c.text);
    EXPECT_EQ(load.table.slotCount, c.slotCount);
    if (c.faultMonth == 0) {
        EXPECT_FALSE(load.fault) << load.fault->reason.toStdString();
    } else {
        ASSERT_TRUE(load.fault);
        EXPECT_EQ(load.fault->month, c.faultMonth);
        EXPECT_EQ(load.fault->item, c.faultItem);
        EXPECT_FALSE(load.fault->reason.isEmpty());
    }
    EXPECT_EQ(load.table.rows[c.month - 1], c.row);
}

constexpr Row kZero{};

INSTANTIATE_TEST_SUITE_P(
    Cases, HolidayLoading,
    ::testing::Values(
        LoadCase{"ten_slot_layout", "[h10]\n1=10\n[HORIDAY]\n1=1,2,3,4,5,0,0,0,0,0\n", 10, 0, 0, 1,
                 {1, 2, 3, 4, 5, 0, 0, 0, 0, 0}},
        LoadCase{"without_h10_only_four_slots_are_read", "[HORIDAY]\n1=1,2,3,4,5,0,0,0,0,0\n", 4, 0, 0,
                 1, {1, 2, 3, 4}},
        LoadCase{"empty_h10_directly_before_HORIDAY_is_four_slots",
                 "[h10]\n[HORIDAY]\n1=1,2,3,4,5,0,0,0,0,0\n", 4, 0, 0, 1, {1, 2, 3, 4}},
        LoadCase{"h10_in_capitals_with_a_keyless_entry", "[H10]\nyes\n[HORIDAY]\n1=1,2,3,4,5,6,7,8,9,10\n",
                 10, 0, 0, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        LoadCase{"h10_with_only_a_comment_is_empty", "[h10]\n; 1=10\n[HORIDAY]\n1=1,0,0,0\n", 4, 0, 0, 1,
                 {1}},
        LoadCase{"four_items_in_a_ten_slot_file_fail_at_item_5", "[h10]\n1=10\n[HORIDAY]\n1=1,2,3,4\n", 10,
                 1, 5, 1, {1, 2, 3, 4}},
        LoadCase{"ten_items_in_a_four_slot_file_use_four", "[HORIDAY]\n1=1,2,3,4,5,6,7,8,9,10\n", 4, 0, 0,
                 1, {1, 2, 3, 4}},
        LoadCase{"empty_value_fails", "[HORIDAY]\n1=\n", 4, 1, 1, 1, kZero},
        LoadCase{"missing_key_1_leaves_january_empty", "[HORIDAY]\n2=11,0,0,0\n", 4, 0, 0, 2, {11}},
        LoadCase{"leading_zero_key_is_not_january", "[HORIDAY]\n01=1,2,3,4\n", 4, 0, 0, 1, kZero},
        LoadCase{"two_commas_among_used_items_fail", "[HORIDAY]\n1=1,,3,4\n", 4, 1, 2, 1, {1}},
        LoadCase{"two_commas_after_the_used_items_are_ignored", "[HORIDAY]\n1=1,2,3,4,,\n", 4, 0, 0, 1,
                 {1, 2, 3, 4}},
        LoadCase{"blanks_around_commas_load", "[HORIDAY]\n1= 1 , 2 ,3 ,\t4\n", 4, 0, 0, 1, {1, 2, 3, 4}},
        LoadCase{"trailing_comma_after_item_10_is_harmless",
                 "[h10]\n1=10\n[HORIDAY]\n1=1,2,3,4,5,6,7,8,9,10,\n", 10, 0, 0, 1,
                 {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        LoadCase{"trailing_comma_after_item_4_of_ten_fails", "[h10]\n1=10\n[HORIDAY]\n1=1,2,3,4,\n", 10, 1,
                 5, 1, {1, 2, 3, 4}},
        LoadCase{"values_0_32_minus1_99_load", "[HORIDAY]\n1=0,32,-1,99\n", 4, 0, 0, 1, {0, 32, -1, 99}},
        LoadCase{"quoted_items_load", "[HORIDAY]\n1=\"1\",\"2\",3,4\n", 4, 0, 0, 1, {1, 2, 3, 4}},
        LoadCase{"a_blank_between_numbers_separates", "[HORIDAY]\n1=1 2 3 4\n", 4, 0, 0, 1, {1, 2, 3, 4}},
        LoadCase{"signed_32_bit_limits_load", "[HORIDAY]\n1=-2147483648,2147483647,+5,0\n", 4, 0, 0, 1,
                 {-2147483647 - 1, 2147483647, 5, 0}},
        LoadCase{"beyond_32_bits_fails", "[HORIDAY]\n1=1,2147483648,0,0\n", 4, 1, 2, 1, {1}},
        LoadCase{"hexadecimal_is_not_a_day_number", "[HORIDAY]\n1=0x1,0,0,0\n", 4, 1, 1, 1, kZero},
        LoadCase{"a_word_is_not_a_day_number", "[HORIDAY]\n1=1,2,three,4\n", 4, 1, 3, 1, {1, 2}},
        LoadCase{"comments_and_blanks_around_equals_anywhere",
                 "; top\n[HORIDAY]\n  ; inside\n 1 = 5 ,0,0,0 \n;end\n", 4, 0, 0, 1, {5}},
        LoadCase{"section_and_key_names_ignore_case", "[horiday]\n1=7,0,0,0\n", 4, 0, 0, 1, {7}},
        LoadCase{"lines_before_the_first_section_are_dropped", "1=9,9,9,9\n[HORIDAY]\n", 4, 0, 0, 1, kZero},
        LoadCase{"no_HORIDAY_section_is_no_fault", "[other]\n1=9,9,9,9\n", 4, 0, 0, 1, kZero},
        LoadCase{"empty_file_is_no_fault", "", 4, 0, 0, 12, kZero}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HolidayTable, LoadStopsAtTheFirstFaultyMonthAndKeepsEarlierRows) {
    const HolidayLoad load = loadText(
        "[HORIDAY]\n1=1,0,0,0\n2=11,0,0,0\n3=21,x,0,0\n4=29,0,0,0\n5=3,4,5,0\n");
    ASSERT_TRUE(load.fault);
    EXPECT_EQ(load.fault->month, 3);
    EXPECT_EQ(load.fault->item, 2);
    EXPECT_TRUE(load.fault->reason.contains(QStringLiteral("x")));
    EXPECT_EQ(load.table.rows[0], (Row{1}));
    EXPECT_EQ(load.table.rows[1], (Row{11}));
    EXPECT_EQ(load.table.rows[2], (Row{21}));  // slots before the fault are stored
    EXPECT_EQ(load.table.rows[3], kZero);      // no later month is read
    EXPECT_EQ(load.table.rows[4], kZero);
}

TEST(HolidayTable, FaultReasonsSayWhy) {
    struct Case {
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {"[HORIDAY]\n1=\n", "空"},
        {"[HORIDAY]\n1=1,2\n", "2個"},
        {"[HORIDAY]\n1=1,,3,4\n", "空"},
        {"[HORIDAY]\n1=abc,0,0,0\n", "abc"},
        {"[HORIDAY]\n1=99999999999,0,0,0\n", "範囲"},
    };
    for (const Case& c : cases) {
        const HolidayLoad load = loadText(c.text);
        ASSERT_TRUE(load.fault) << c.text;
        EXPECT_TRUE(load.fault->reason.contains(QString::fromUtf8(c.says)))
            << c.text << " -> " << load.fault->reason.toStdString();
    }
}

TEST(HolidayTable, BoldMask) {
    HolidayTable t;
    t.rows[0] = {1, 2, 3, 4, 5, 0, 0, 0, 0, 0};
    t.rows[1] = {31, 11, 11, 0, 32, -1, 99, 0, 0, 0};  // Feb 31 still sets its bit
    t.rows[11] = {23, 0, 0, 0, 0, 0, 0, 0, 0, 31};
    EXPECT_EQ(t.boldMask(1), 0x1Fu);
    EXPECT_EQ(t.boldMask(2), (1u << 30) | (1u << 10));
    EXPECT_EQ(t.boldMask(3), 0u);
    EXPECT_EQ(t.boldMask(12), (1u << 22) | (1u << 30));
    EXPECT_EQ(t.boldMask(13), t.boldMask(1));   // months past December wrap
    EXPECT_EQ(t.boldMask(14), t.boldMask(2));
}

TEST(HolidayTable, BoldMaskReadsAllTenSlotsEvenInTheFourSlotLayout) {
    HolidayTable t;
    t.slotCount = 4;
    t.rows[0] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 9};
    EXPECT_EQ(t.boldMask(1), 1u << 8);
}

// ---- files -----------------------------------------------------------------

TEST(HolidayFile, MissingFileIsAnEmptyTableWithoutFault) {
    TempProgramDir dir;
    const HolidayLoad load = loadHolidayFile(dir.path(QStringLiteral("horiday.txt")));
    EXPECT_FALSE(load.fault);
    EXPECT_EQ(load.table.slotCount, 4);
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(load.table.boldMask(m), 0u);
}

TEST(HolidayFile, EveryEncodingWithAMarkReadsTheSame) {
    const QString text = QStringLiteral("; 元日\r\n[h10]\r\n1=10\r\n[HORIDAY]\r\n1=1,11,0,0,0,0,0,0,0,0\r\n");
    TempProgramDir dir;
    for (TextEncoding e : {TextEncoding::Cp932, TextEncoding::Utf8Bom, TextEncoding::Utf16LeBom,
                           TextEncoding::Utf16BeBom}) {
        dir.write(QStringLiteral("horiday.txt"), encodeText(text, e).bytes);
        const HolidayLoad load = loadHolidayFile(dir.path(QStringLiteral("horiday.txt")));
        EXPECT_FALSE(load.fault) << int(e);
        EXPECT_EQ(load.table.slotCount, 10) << int(e);
        EXPECT_EQ(load.table.boldMask(1), (1u << 0) | (1u << 10)) << int(e);
    }
}

TEST(HolidayFile, ShippedFilesHoldJapansHolidaysOf2027) {
    const QByteArray working = readFileBytes(shippedDataDir() + QStringLiteral("/horiday.txt"));
    const QByteArray factory = readFileBytes(shippedDataDir() + QStringLiteral("/horiday0.txt"));
    EXPECT_EQ(working, factory);

    // CP932 without a mark, every line ended by CR LF.
    const DecodedText decoded = decodeText(working);
    EXPECT_EQ(decoded.encoding, TextEncoding::Cp932);
    EXPECT_FALSE(decoded.hadInvalidBytes);
    EXPECT_EQ(working.count('\n'), working.count("\r\n"));
    EXPECT_EQ(working.count('\r'), working.count("\r\n"));
    EXPECT_TRUE(working.endsWith("\r\n"));

    const HolidayLoad load = loadHolidayFile(shippedDataDir() + QStringLiteral("/horiday.txt"));
    ASSERT_FALSE(load.fault) << load.fault->reason.toStdString();
    EXPECT_EQ(load.table.slotCount, 10);
    const std::vector<std::vector<int>> days2027 = {
        {1, 11}, {11, 23}, {21, 22}, {29}, {3, 4, 5}, {},
        {19},    {11},     {20, 23}, {11}, {3, 23},   {}};
    for (int m = 1; m <= 12; ++m) {
        quint32 mask = 0;
        Row row{};
        int slot = 0;
        for (int d : days2027[m - 1]) {
            mask |= 1u << (d - 1);
            row[slot++] = d;
        }
        EXPECT_EQ(load.table.boldMask(m), mask) << "month " << m;
        EXPECT_EQ(load.table.rows[m - 1], row) << "month " << m;  // packed left, rising, zeros after
    }
}

TEST(RestoreFactoryHolidays, CopiesTheFactoryFileByteForByteAndKeepsTheUsersText) {
    TempProgramDir dir;
    dir.installShipped(QStringLiteral("horiday0.txt"));
    const QByteArray broken = mekuri::test::cp932(QStringLiteral("[HORIDAY]\r\n1=1,,3\r\n; 自分の休日\r\n"));
    dir.write(QStringLiteral("horiday.txt"), broken);

    ASSERT_TRUE(RestoreFactoryHolidays(AppPaths::fromFolder(dir.dir()), true).ok());
    EXPECT_EQ(dir.read(QStringLiteral("horiday.txt")), dir.read(QStringLiteral("horiday0.txt")));
    EXPECT_EQ(dir.read(QStringLiteral("horiday.bak.txt")), broken);
}

TEST(RestoreFactoryHolidays, WithoutKeepingMakesNoBackup) {
    TempProgramDir dir;
    dir.installShipped(QStringLiteral("horiday0.txt"));
    dir.write(QStringLiteral("horiday.txt"), "[HORIDAY]\r\n1=\r\n");
    ASSERT_TRUE(RestoreFactoryHolidays(AppPaths::fromFolder(dir.dir()), false).ok());
    EXPECT_EQ(dir.read(QStringLiteral("horiday.txt")), dir.read(QStringLiteral("horiday0.txt")));
    EXPECT_FALSE(dir.exists(QStringLiteral("horiday.bak.txt")));
}

TEST(RestoreFactoryHolidays, WorksWhenTheWorkingFileIsMissing) {
    TempProgramDir dir;
    dir.installShipped(QStringLiteral("horiday0.txt"));
    ASSERT_TRUE(RestoreFactoryHolidays(AppPaths::fromFolder(dir.dir()), true).ok());
    EXPECT_EQ(dir.read(QStringLiteral("horiday.txt")), dir.read(QStringLiteral("horiday0.txt")));
    EXPECT_FALSE(dir.exists(QStringLiteral("horiday.bak.txt")));
}

TEST(RestoreFactoryHolidays, MissingFactoryFileFailsAndLeavesTheWorkingFile) {
    TempProgramDir dir;
    dir.write(QStringLiteral("horiday.txt"), "[HORIDAY]\r\n1=\r\n");
    const Status st = RestoreFactoryHolidays(AppPaths::fromFolder(dir.dir()), true);
    EXPECT_FALSE(st.ok());
    EXPECT_TRUE(st.error().contains(QStringLiteral("horiday0.txt")));
    EXPECT_EQ(dir.read(QStringLiteral("horiday.txt")), QByteArray("[HORIDAY]\r\n1=\r\n"));
}

}  // namespace
