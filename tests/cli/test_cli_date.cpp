// mekuri-cli date: run as a program, checked by exit code and output.
#include "cli/cli_runner.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

namespace {

using mekuri::test::CliRun;

CliRun runCli(const QStringList& args) {
    return mekuri::test::runMekuriCli(QStringList{QStringLiteral("date")} + args);
}

TEST(CliDate, FormatPrintsTheNamedFormat) {
    struct Case {
        const char* format;
        const char* date;
        const char* expected;
    } const cases[] = {
        {"FMT_WAREKI_STATUS", "1988-12-31", "昭和 63 年 12 月 31 日 \n"},
        {"FMT_WAREKI_YOUBI", "1988-12-31", "昭和63年12月31日(土)\n"},
        {"FMT_SEIREKI", "2019-05-01", "2019/5/1\n"},
        {"FMT_FILE_DATE", "2019-05-01", "20190501\n"},
        {"FMT_SHORT", "2087-12-31", "2087/12/31\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli({QStringLiteral("format"), QString::fromUtf8(c.format), QString::fromUtf8(c.date)});
        EXPECT_EQ(r.code, 0) << c.format << r.err.toStdString();
        EXPECT_EQ(r.out.toStdString(), c.expected) << c.format;
    }
}

TEST(CliDate, ParsePrintsIsoAndEraForm) {
    struct Case {
        QStringList args;
        const char* expected;
    } const cases[] = {
        {{QStringLiteral("H25/3/8")}, "2013-03-08 平成25年3月8日\n"},
        {{QStringLiteral("令和元年5月1日")}, "2019-05-01 令和1年5月1日\n"},
        {{QStringLiteral("平成"), QStringLiteral("31"), QStringLiteral("年"), QStringLiteral("5"),
          QStringLiteral("月"), QStringLiteral("1"), QStringLiteral("日")},
         "2019-05-01 令和1年5月1日\n"},
        {{QStringLiteral("1000/1/1")}, "1000-01-01\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(QStringList{QStringLiteral("parse")} + c.args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.out.toStdString(), c.expected);
    }
}

TEST(CliDate, RefusalsAndUsageErrors) {
    struct Case {
        const char* name;
        QStringList args;
        int code;
    } const cases[] = {
        {"not a date", {QStringLiteral("parse"), QStringLiteral("2019/2/30")}, 1},
        {"before the era", {QStringLiteral("parse"), QStringLiteral("H1/1/7")}, 1},
        {"impossible day", {QStringLiteral("format"), QStringLiteral("FMT_SEIREKI"), QStringLiteral("2019-02-29")}, 1},
        {"outside the range", {QStringLiteral("format"), QStringLiteral("FMT_SEIREKI"), QStringLiteral("1899-12-31")}, 1},
        {"unknown format", {QStringLiteral("format"), QStringLiteral("FMT_NONE"), QStringLiteral("2019-05-01")}, 2},
        {"date not ISO", {QStringLiteral("format"), QStringLiteral("FMT_SEIREKI"), QStringLiteral("2019/5/1")}, 2},
        {"missing text", {QStringLiteral("parse")}, 2},
        {"no subcommand", {}, 2},
        {"unknown subcommand", {QStringLiteral("shift"), QStringLiteral("1")}, 2},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.code, c.code) << c.name;
        EXPECT_TRUE(r.out.isEmpty()) << c.name;
        // The platform may add its own notes to stderr; ours start with the tool's name.
        EXPECT_TRUE(r.err.contains(QStringLiteral("mekuri-cli"))) << c.name;
    }
}

}  // namespace
