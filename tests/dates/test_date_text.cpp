#include "dates/date_text.h"

#include <gtest/gtest.h>

#include <QString>

namespace mekuri {
namespace {

DateSerial ymd(int y, int m, int d) { return DateSerial::fromCivil(y, m, d); }

std::string iso(DateSerial d) { return d.toQDate().toString(Qt::ISODate).toStdString(); }

TEST(FormatDateText, NamedFormats) {
    struct Case {
        const char* name;
        QStringView format;
        DateSerial date;
        const char* expected;
    } const cases[] = {
        {"status ends with one space", FMT_WAREKI_STATUS, ymd(1988, 12, 31), "昭和 63 年 12 月 31 日 "},
        {"status 2019-05-01", FMT_WAREKI_STATUS, ymd(2019, 5, 1), "令和 1 年 5 月 1 日 "},
        {"spaced has no trailing space", FMT_WAREKI_SPACED, ymd(1988, 12, 31), "昭和 63 年 12 月 31 日"},
        {"wareki", FMT_WAREKI, ymd(1988, 12, 31), "昭和63年12月31日"},
        {"wareki first day of an era", FMT_WAREKI, ymd(2019, 5, 1), "令和1年5月1日"},
        {"wareki with Saturday", FMT_WAREKI_YOUBI, ymd(1988, 12, 31), "昭和63年12月31日(土)"},
        {"wareki with Wednesday", FMT_WAREKI_YOUBI, ymd(2019, 5, 1), "令和1年5月1日(水)"},
        {"seireki", FMT_SEIREKI, ymd(2019, 5, 1), "2019/5/1"},
        {"seireki two-digit parts", FMT_SEIREKI, ymd(1988, 12, 31), "1988/12/31"},
        {"seireki with Wednesday", FMT_SEIREKI_YOUBI, ymd(2019, 5, 1), "2019/5/1(水)"},
        {"seireki with Saturday", FMT_SEIREKI_YOUBI, ymd(1988, 12, 31), "1988/12/31(土)"},
        {"kinen", FMT_KINEN, ymd(2019, 5, 1), "2019/05/01"},
        {"file date", FMT_FILE_DATE, ymd(2019, 5, 1), "20190501"},
        {"short", FMT_SHORT, ymd(2019, 5, 1), "2019/05/01"},
        {"first supported day", FMT_WAREKI_YOUBI, ymd(1900, 1, 1), "明治33年1月1日(月)"},
        {"last supported day", FMT_WAREKI_YOUBI, ymd(2087, 12, 31), "令和69年12月31日(水)"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDateText(c.format, c.date), QString::fromUtf8(c.expected)) << c.name;
}

TEST(FormatDateText, TokenLanguage) {
    struct Case {
        const char* name;
        const char16_t* format;
        const char* expected;
    } const cases[] = {
        {"gge is gg then e", u"gge", "平成31"},
        {"quoted letters are literal", u"\"yyyy\"yyyy", "yyyy2019"},
        {"unclosed quote runs to the end", u"d\"日 dd", "30日 dd"},
        {"empty quotes vanish", u"m\"\"d", "430"},
        {"unknown runs are copied", u"yy yyyyy x ee", "yy yyyyy x ee"},
        {"other characters are copied", u"(d)-[m] ・", "(30)-[4] ・"},
        {"a run is taken whole", u"dddd", "dddd"},
        {"separator", u"m/d", "4/30"},
        {"empty format", u"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatDateText(QStringView(c.format), ymd(2019, 4, 30)), QString::fromUtf8(c.expected)) << c.name;
    }
}

TEST(FormatDateText, WeekdayNamesSundayFirst) {
    const char* names[] = {"日", "月", "火", "水", "木", "金", "土"};
    for (int i = 0; i < 7; ++i) {  // 2019-05-05 was a Sunday
        EXPECT_EQ(FormatDateText(u"ddd", ymd(2019, 5, 5 + i)), QString::fromUtf8(names[i]));
    }
}

// The first day of an era prints e = 1; the day before it the previous era.
TEST(FormatDateText, EraBoundaries) {
    struct Case {
        DateSerial date;
        const char* expected;
    } const cases[] = {
        {ymd(1912, 7, 29), "明治45年7月29日"}, {ymd(1912, 7, 30), "大正1年7月30日"},
        {ymd(1926, 12, 24), "大正15年12月24日"}, {ymd(1926, 12, 25), "昭和1年12月25日"},
        {ymd(1989, 1, 7), "昭和64年1月7日"},   {ymd(1989, 1, 8), "平成1年1月8日"},
        {ymd(2019, 4, 30), "平成31年4月30日"}, {ymd(2019, 5, 1), "令和1年5月1日"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDateText(FMT_WAREKI, c.date), QString::fromUtf8(c.expected));
}

TEST(ParseDateText, RoundTripOfEveryFormatThatReadsBack) {
    const QStringView formats[] = {FMT_SEIREKI, FMT_KINEN, FMT_SHORT, FMT_WAREKI, FMT_WAREKI_SPACED,
                                   FMT_WAREKI_STATUS};
    for (QStringView format : formats) {
        SCOPED_TRACE(format.toString().toStdString());
        for (int s = kFirstSupportedDate.days(); s <= kLastSupportedDate.days(); ++s) {
            const QString text = FormatDateText(format, DateSerial(s));
            const std::optional<DateSerial> back = ParseDateText(text);
            ASSERT_TRUE(back.has_value()) << text.toStdString();
            ASSERT_EQ(back->days(), s) << text.toStdString();
        }
    }
}

TEST(ParseDateText, AcceptedForms) {
    struct Case {
        const char* name;
        const char* text;
        DateSerial expected;
    } const cases[] = {
        {"western", "2019/5/1", ymd(2019, 5, 1)},
        {"western with leading zeros", "2019/02/28", ymd(2019, 2, 28)},
        {"western without leading zeros", "2019/2/28", ymd(2019, 2, 28)},
        {"leap day", "2020/2/29", ymd(2020, 2, 29)},
        {"outside the supported range still a date", "1899/12/31", ymd(1899, 12, 31)},
        {"far future", "2088/1/1", ymd(2088, 1, 1)},
        {"era letter", "H25/3/8", ymd(2013, 3, 8)},
        {"every era letter M", "M45/7/29", ymd(1912, 7, 29)},
        {"every era letter T", "T1/7/30", ymd(1912, 7, 30)},
        {"every era letter S", "S64/1/7", ymd(1989, 1, 7)},
        {"every era letter R", "R1/5/1", ymd(2019, 5, 1)},
        {"lower-case letter", "h25/3/8", ymd(2013, 3, 8)},
        {"era year with a leading zero", "H01/01/08", ymd(1989, 1, 8)},
        {"era name with slashes", "令和1/5/1", ymd(2019, 5, 1)},
        {"kanji form", "2019年5月1日", ymd(2019, 5, 1)},
        {"kanji era form", "平成25年3月8日", ymd(2013, 3, 8)},
        {"gannen", "令和元年5月1日", ymd(2019, 5, 1)},
        {"gannen with a letter", "H元/1/8", ymd(1989, 1, 8)},
        {"last day of heisei", "平成31年4月30日", ymd(2019, 4, 30)},
        {"after heisei's end by its numbering", "平成31年5月1日", ymd(2019, 5, 1)},
        {"letter past the era's end", "H32/1/1", ymd(2020, 1, 1)},
        {"showa 64 past its end", "S64/1/8", ymd(1989, 1, 8)},
        {"meiji first day", "M1/10/23", ymd(1868, 10, 23)},
        {"full-width digits", "２０１９/５/１", ymd(2019, 5, 1)},
        {"full-width separators", "２０１９／０５／０１", ymd(2019, 5, 1)},
        {"full-width letter", "Ｈ２５／３／８", ymd(2013, 3, 8)},
        {"full-width kanji form", "令和２年１２月３１日", ymd(2020, 12, 31)},
        {"blanks around", "  2019 / 5 / 1  ", ymd(2019, 5, 1)},
        {"tab and ideographic space", "\t2019/5/1\u3000", ymd(2019, 5, 1)},
        {"spaced era form", "昭和 63 年 12 月 31 日", ymd(1988, 12, 31)},
        {"blank after the letter", "H 25/3/8", ymd(2013, 3, 8)},
    };
    for (const Case& c : cases) {
        const std::optional<DateSerial> d = ParseDateText(QString::fromUtf8(c.text));
        ASSERT_TRUE(d.has_value()) << c.name;
        EXPECT_EQ(iso(*d), iso(c.expected)) << c.name;
    }
}

TEST(ParseDateText, RejectedTexts) {
    struct Case {
        const char* name;
        const char* text;
    } const cases[] = {
        {"empty", ""},
        {"blanks only", "   "},
        {"month 13", "2019/13/1"},
        {"month 0", "2019/0/1"},
        {"day 0", "2019/5/0"},
        {"30 February", "2019/2/30"},
        {"29 February of a common year", "2019/2/29"},
        {"29 February 1900", "1900/2/29"},
        {"31 April", "2019/4/31"},
        {"two-digit year", "19/5/1"},
        {"five-digit year", "20190/5/1"},
        {"year 0", "0000/1/1"},
        {"three-digit month", "2019/005/1"},
        {"two parts", "2019/5"},
        {"four parts", "2019/5/1/1"},
        {"bare number", "43586"},
        {"dashes", "2019-05-01"},
        {"dots", "2019.5.1"},
        {"time of day", "2019/5/1 10:00"},
        {"weekday", "2019/5/1(水)"},
        {"trailing garbage", "2019/5/1x"},
        {"unknown letter", "X25/3/8"},
        {"two letters", "HH25/3/8"},
        {"era without year", "H/3/8"},
        {"era year 0", "H0/3/8"},
        {"before heisei's first day", "H1/1/7"},
        {"before reiwa's first day", "令和1年4月30日"},
        {"before meiji's first day", "M1/1/1"},
        {"gannen without era", "元年5月1日"},
        {"mixed styles", "2019年5/1"},
        {"kanji form without 日", "2019年5月1"},
        {"slash form with 日", "2019/5/1日"},
        {"unknown era name", "天保3年1月1日"},
        {"negative", "-2019/5/1"},
        {"decimal", "2019/5/1.5"},
        {"arabic-indic digits", "٢٠١٩/5/1"},
        {"circled digit", "2019/5/①"},
    };
    for (const Case& c : cases) EXPECT_FALSE(ParseDateText(QString::fromUtf8(c.text)).has_value()) << c.name;
}

TEST(ParseShortDate, ReadsOnlyTheShortForm) {
    struct Case {
        const char* text;
        std::optional<DateSerial> expected;
    } const cases[] = {
        {"2019/05/01", ymd(2019, 5, 1)}, {"2019/5/1", ymd(2019, 5, 1)},  {"2020/02/29", ymd(2020, 2, 29)},
        {"2019/02/29", std::nullopt},    {"H31/04/30", std::nullopt},    {"2019年5月1日", std::nullopt},
        {" 2019/05/01", std::nullopt},   {"２０１９/05/01", std::nullopt}, {"2019/05/01 ", std::nullopt},
        {"", std::nullopt},              {"19/05/01", std::nullopt},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const Expected<DateSerial> d = ParseShortDate(text);
        if (c.expected) {
            ASSERT_TRUE(d.ok()) << c.text;
            EXPECT_EQ(iso(*d), iso(*c.expected)) << c.text;
        } else {
            ASSERT_FALSE(d.ok()) << c.text;
            EXPECT_TRUE(d.error().contains(QStringLiteral("'%1'").arg(text))) << d.error().toStdString();
        }
    }
}

}  // namespace
}  // namespace mekuri
