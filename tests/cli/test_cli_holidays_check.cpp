// mekuri-cli holidays check: run as a program, checked by exit code and output.
#include "support/test_support.h"

#include "cli/cli_runner.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

using mekuri::test::shippedDataDir;
using mekuri::test::TempProgramDir;

namespace {

using mekuri::test::CliRun;

CliRun runCli(const QStringList& args) {
    return mekuri::test::runMekuriCli(QStringList{QStringLiteral("holidays")} + args);
}

TEST(CliHolidaysCheck, ShippedFilePrintsLayoutAndEveryMonth) {
    const CliRun r = runCli({QStringLiteral("check"), shippedDataDir() + QStringLiteral("/horiday.txt")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(),
              "layout: 10 slots (h10 present)\n"
              " 1: 1 11\n"
              " 2: 11 23\n"
              " 3: 21 22\n"
              " 4: 29\n"
              " 5: 3 4 5\n"
              " 6: -\n"
              " 7: 19\n"
              " 8: 11\n"
              " 9: 20 23\n"
              "10: 11\n"
              "11: 3 23\n"
              "12: -\n");
}

TEST(CliHolidaysCheck, FaultsNameMonthItemAndReason) {
    struct Case {
        const char* name;
        QByteArray file;
        const char* lastMonthLine;  // the last month printed before the fault, or "layout"
        const char* fault;
    };
    const Case cases[] = {
        {"empty item in March", "[HORIDAY]\r\n1=1,0,0,0\r\n2=0,0,0,0\r\n3=21,,0,0\r\n", " 2: -\n",
         "fault: month 3, item 2: 3月の2番目の項目: 項目が空です\n"},
        {"four items in a ten-slot file", "[h10]\r\n1=10\r\n[HORIDAY]\r\n1=1,2,3,4\r\n", "(h10 present)\n",
         "fault: month 1, item 5: "},
        {"a word in May", "[HORIDAY]\r\n5=3,4,five,0\r\n", " 4: -\n", "fault: month 5, item 3: "},
    };
    TempProgramDir dir;
    for (const Case& c : cases) {
        dir.write(QStringLiteral("h.txt"), c.file);
        const CliRun r = runCli({QStringLiteral("check"), dir.path(QStringLiteral("h.txt"))});
        EXPECT_EQ(r.code, 1) << c.name;
        EXPECT_TRUE(r.out.endsWith(QString::fromUtf8(c.lastMonthLine))) << c.name << ": " << r.out.toStdString();
        EXPECT_TRUE(r.err.startsWith(QString::fromUtf8(c.fault))) << c.name << ": " << r.err.toStdString();
    }
}

TEST(CliHolidaysCheck, FourSlotLayoutAndValuesThatMarkNothing) {
    TempProgramDir dir;
    dir.write(QStringLiteral("h.txt"), "[h10]\r\n[HORIDAY]\r\n2=31,32,-1,0,5\r\n");
    const CliRun r = runCli({QStringLiteral("check"), dir.path(QStringLiteral("h.txt"))});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("layout: 4 slots (no h10 entry)\n 1: -\n 2: 31 32(no day) -1(no day)\n")))
        << r.out.toStdString();
}

TEST(CliHolidaysCheck, UsageAndMissingFile) {
    struct Case {
        QStringList args;
        int code;
    };
    TempProgramDir dir;
    const Case cases[] = {
        {{}, 2},
        {{QStringLiteral("check")}, 2},
        {{QStringLiteral("check"), QStringLiteral("a"), QStringLiteral("b")}, 2},
        {{QStringLiteral("inspect"), QStringLiteral("a")}, 2},
        {{QStringLiteral("check"), dir.path(QStringLiteral("none.txt"))}, 1},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(u' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.args.join(u' ').toStdString();
    }
    EXPECT_TRUE(runCli({}).err.contains(QStringLiteral("usage: mekuri-cli holidays check FILE")));
}

}  // namespace
