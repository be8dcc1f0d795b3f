#include "dates/era_calendar.h"

#include <gtest/gtest.h>

#include <QString>

namespace mekuri {
namespace {

TEST(EraCalendar, TableInOrderWithLetters) {
    const auto& table = EraTable();
    const QString names[] = {QStringLiteral("明治"), QStringLiteral("大正"), QStringLiteral("昭和"),
                             QStringLiteral("平成"), QStringLiteral("令和")};
    const char letters[] = {'M', 'T', 'S', 'H', 'R'};
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].EraName, names[i]);
        EXPECT_EQ(table[i].EraLetter, letters[i]);
        if (i > 0) {
            EXPECT_LT(table[i - 1].EraFirstDay, table[i].EraFirstDay);
        }
    }
}

// The last day of each era and the first of the next.
TEST(EraCalendar, Boundaries) {
    struct Case {
        int year, month, day;
        const char* era;
        int eraYear;
    } const cases[] = {
        {1868, 10, 23, "明治", 1}, {1912, 7, 29, "明治", 45}, {1912, 7, 30, "大正", 1},
        {1926, 12, 24, "大正", 15}, {1926, 12, 25, "昭和", 1}, {1989, 1, 7, "昭和", 64},
        {1989, 1, 8, "平成", 1},    {2019, 4, 30, "平成", 31}, {2019, 5, 1, "令和", 1},
        {1900, 1, 1, "明治", 33},   {2087, 12, 31, "令和", 69},
    };
    for (const Case& c : cases) {
        const DateSerial d = DateSerial::fromCivil(c.year, c.month, c.day);
        SCOPED_TRACE(d.toQDate().toString(Qt::ISODate).toStdString());
        EXPECT_EQ(eraOf(d).EraName, QString::fromUtf8(c.era));
        EXPECT_EQ(eraYearOf(d), c.eraYear);
    }
}

TEST(EraCalendar, DatesBeforeTheFirstEraGetTheFirstEra) {
    EXPECT_EQ(eraOf(DateSerial::fromCivil(1868, 10, 22)).EraLetter, 'M');
    EXPECT_EQ(eraOf(DateSerial(-100000)).EraLetter, 'M');
}

// Every day of 1900-2087 against era spans written as QDate ranges.
TEST(EraCalendar, EveryDayOfTheSupportedYearsAgainstQDateSpans) {
    struct Span {
        QDate first;
        QDate last;
        const char* name;
        int firstYear;
    } const spans[] = {
        {QDate(1900, 1, 1), QDate(1912, 7, 29), "明治", 1868},
        {QDate(1912, 7, 30), QDate(1926, 12, 24), "大正", 1912},
        {QDate(1926, 12, 25), QDate(1989, 1, 7), "昭和", 1926},
        {QDate(1989, 1, 8), QDate(2019, 4, 30), "平成", 1989},
        {QDate(2019, 5, 1), QDate(2087, 12, 31), "令和", 2019},
    };
    int checked = 0;
    for (QDate q(1900, 1, 1); q <= QDate(2087, 12, 31); q = q.addDays(1)) {
        const Span* span = nullptr;
        for (const Span& s : spans) {
            if (q >= s.first && q <= s.last) span = &s;
        }
        ASSERT_NE(span, nullptr);
        const DateSerial d = DateSerial::fromQDate(q);
        ASSERT_EQ(eraOf(d).EraName, QString::fromUtf8(span->name)) << q.toString(Qt::ISODate).toStdString();
        ASSERT_EQ(eraYearOf(d), q.year() - span->firstYear + 1) << q.toString(Qt::ISODate).toStdString();
        if (span->firstYear == 1926) {
            ASSERT_EQ(eraYearOf(d), ShowaYearOf(q.year()));
        }
        if (span->firstYear == 1989) {
            ASSERT_EQ(eraYearOf(d), HeiseiYearOf(q.year()));
        }
        ++checked;
    }
    EXPECT_EQ(checked, 68667 - 2 + 1);
}

TEST(EraCalendar, YearsPastTheEraEnd) {
    EXPECT_EQ(ShowaYearOf(1989), 64);
    EXPECT_EQ(ShowaYearOf(1926), 1);
    EXPECT_EQ(HeiseiYearOf(2019), 31);
    EXPECT_EQ(HeiseiYearOf(1989), 1);
    EXPECT_EQ(westernYearOfEra(*eraByLetter(u'H'), 32), 2020);
    EXPECT_EQ(westernYearOfEra(*eraByLetter(u'M'), 1), 1868);
}

TEST(EraCalendar, LookupByLetterAndName) {
    struct Case {
        QChar letter;
        char expected;  // 0: none
    } const cases[] = {
        {u'M', 'M'}, {u't', 'T'}, {u's', 'S'}, {u'H', 'H'}, {u'r', 'R'},
        {u'A', 0},   {u'1', 0},   {u'Ｈ', 0},  {QChar(0x017F), 0} /* long s, upper-cases to S */,
    };
    for (const Case& c : cases) {
        const Era* era = eraByLetter(c.letter);
        if (c.expected == 0) {
            EXPECT_EQ(era, nullptr) << int(c.letter.unicode());
        } else {
            ASSERT_NE(era, nullptr) << int(c.letter.unicode());
            EXPECT_EQ(era->EraLetter, c.expected);
        }
    }
    ASSERT_NE(eraByName(u"令和"), nullptr);
    EXPECT_EQ(eraByName(u"令和")->EraLetter, 'R');
    EXPECT_EQ(eraByName(u"令"), nullptr);
    EXPECT_EQ(eraByName(u"令和 "), nullptr);
}

}  // namespace
}  // namespace mekuri
