// mekuri-cli holidays generate / from-csv: run as a program, checked by exit
// code, the bytes written and by "holidays check" reading them back.
#include "support/test_support.h"

#include "cli/cli_runner.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

namespace {

using mekuri::test::readFileBytes;
using mekuri::test::TempProgramDir;

using mekuri::test::CliRun;

CliRun runHolidays(const QStringList& args) {
    return mekuri::test::runMekuriCli(QStringList{QStringLiteral("holidays")} + args);
}

QString fixture(const char* name) {
    return mekuri::test::testDataDir() + QStringLiteral("/holidays/") + QString::fromUtf8(name);
}

TEST(CliHolidaysGenerate, StdoutIsTheFileBytes) {
    const CliRun r = runHolidays({QStringLiteral("generate"), QStringLiteral("2027")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // The shipped factory file holds 2027.
    EXPECT_EQ(r.outBytes.toStdString(), readFileBytes(mekuri::test::shippedDataDir() + QStringLiteral("/horiday0.txt")).toStdString());
}

TEST(CliHolidaysGenerate, OutFileIsAcceptedByCheck) {
    struct Case {
        const char* year;
        const char* month;  // one line of the check's listing
    } const cases[] = {
        {"1948", " 9: 23\n"},
        {"2019", " 5: 1 2 3 4 5 6\n"},
        {"2021", " 8: 8 9\n"},
        {"2099", " 1: 1 12\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.year);
        TempProgramDir dir;
        const QString out = dir.path(QStringLiteral("horiday.txt"));
        const CliRun gen = runHolidays({QStringLiteral("generate"), QString::fromUtf8(c.year), QStringLiteral("--out"), out});
        ASSERT_EQ(gen.code, 0) << gen.err.toStdString();
        EXPECT_TRUE(gen.outBytes.isEmpty());
        const CliRun check = runHolidays({QStringLiteral("check"), out});
        EXPECT_EQ(check.code, 0) << check.err.toStdString();
        EXPECT_TRUE(check.outBytes.startsWith("layout: 10 slots")) << check.outBytes.toStdString();
        EXPECT_TRUE(check.outBytes.contains(c.month)) << check.outBytes.toStdString();
    }
}

TEST(CliHolidaysGenerate, RefusesBadYearsAndUsage) {
    struct Case {
        QStringList args;
        int code;
        const char* errPart;
    } const cases[] = {
        {{QStringLiteral("1947")}, 1, "1948"},
        {{QStringLiteral("2100")}, 1, "2099"},
        {{QStringLiteral("20x7")}, 2, "not a year"},
        {{}, 2, "usage"},
        {{QStringLiteral("2027"), QStringLiteral("2028")}, 2, "usage"},
        {{QStringLiteral("2027"), QStringLiteral("--out")}, 2, "missing value"},
        {{QStringLiteral("2027"), QStringLiteral("--year"), QStringLiteral("2027")}, 2, "unknown option"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        TempProgramDir dir;
        const QString out = dir.path(QStringLiteral("horiday.txt"));
        QStringList args = QStringList{QStringLiteral("generate")} + c.args;
        if (c.code == 1) args << QStringLiteral("--out") << out;
        const CliRun r = runHolidays(args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.errPart))) << r.err.toStdString();
        EXPECT_TRUE(r.outBytes.isEmpty());
        EXPECT_FALSE(dir.exists(QStringLiteral("horiday.txt")));
    }
}

TEST(CliHolidaysGenerate, UnwritableOutIsAFailure) {
    TempProgramDir dir;
    const CliRun r = runHolidays({QStringLiteral("generate"), QStringLiteral("2027"), QStringLiteral("--out"),
                                  dir.path(QStringLiteral("no/such/folder/horiday.txt"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(r.err.isEmpty());
}

TEST(CliHolidaysFromCsv, ChosenYearGivesTheCalculatorsTable) {
    TempProgramDir dir;
    const QString fromCsv = dir.path(QStringLiteral("from_csv.txt"));
    const QString generated = dir.path(QStringLiteral("generated.txt"));
    const CliRun r = runHolidays({QStringLiteral("from-csv"), fixture("syukujitsu.csv"), QStringLiteral("--year"),
                                  QStringLiteral("2019"), QStringLiteral("--out"), fromCsv});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    ASSERT_EQ(runHolidays({QStringLiteral("generate"), QStringLiteral("2019"), QStringLiteral("--out"), generated}).code, 0);

    const CliRun checkCsv = runHolidays({QStringLiteral("check"), fromCsv});
    const CliRun checkGenerated = runHolidays({QStringLiteral("check"), generated});
    EXPECT_EQ(checkCsv.code, 0) << checkCsv.err.toStdString();
    EXPECT_EQ(checkCsv.outBytes.toStdString(), checkGenerated.outBytes.toStdString());
    // The comments carry the government's names.
    EXPECT_TRUE(readFileBytes(fromCsv).contains(mekuri::test::cp932(QStringLiteral("1日 休日（祝日扱い）"))));
}

TEST(CliHolidaysFromCsv, StdoutWithoutOut) {
    const CliRun r = runHolidays({QStringLiteral("from-csv"), fixture("syukujitsu_2026_2027.csv"), QStringLiteral("--year"),
                                  QStringLiteral("2026")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.outBytes.startsWith(mekuri::test::cp932(QStringLiteral("; 2026年の休日\r\n[h10]\r\n"))));
    EXPECT_TRUE(r.outBytes.contains("\r\n9=21,22,23,0,0,0,0,0,0,0\r\n"));
}

TEST(CliHolidaysFromCsv, RefusalsSayWhy) {
    struct Case {
        const char* label;
        QStringList args;
        int code;
        QString errPart;
    } const cases[] = {
        {"malformed line", {fixture("syukujitsu_malformed.csv"), QStringLiteral("--year"), QStringLiteral("2027")}, 1,
         QStringLiteral("5行目")},
        {"year not present", {fixture("syukujitsu_2026_2027.csv"), QStringLiteral("--year"), QStringLiteral("2028")}, 1,
         QStringLiteral("2026年から2027年")},
        {"not the government's list", {fixture("horiday_2027.txt"), QStringLiteral("--year"), QStringLiteral("2027")}, 1,
         QStringLiteral("内閣府")},
        {"missing file", {fixture("no_such.csv"), QStringLiteral("--year"), QStringLiteral("2027")}, 1,
         QStringLiteral("no_such.csv")},
        {"no --year", {fixture("syukujitsu.csv")}, 2, QStringLiteral("usage")},
        {"no file", {QStringLiteral("--year"), QStringLiteral("2027")}, 2, QStringLiteral("usage")},
        {"year not a number", {fixture("syukujitsu.csv"), QStringLiteral("--year"), QStringLiteral("next")}, 2,
         QStringLiteral("not a year")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempProgramDir dir;
        const CliRun r = runHolidays(QStringList{QStringLiteral("from-csv")} + c.args +
                                     QStringList{QStringLiteral("--out"), dir.path(QStringLiteral("horiday.txt"))});
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.err.contains(c.errPart)) << r.err.toStdString();
        EXPECT_FALSE(dir.exists(QStringLiteral("horiday.txt")));
    }
}

}  // namespace
