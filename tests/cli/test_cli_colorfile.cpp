// mekuri-cli colorfile: run as a program, checked by exit code, output and
// the files it writes.
#include "settings/color_file.h"
#include "support/test_support.h"

#include "cli/cli_runner.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

using mekuri::test::readFileBytes;
using mekuri::test::shippedDataDir;
using mekuri::test::TempProgramDir;
using mekuri::test::testDataDir;

namespace {

using mekuri::test::CliRun;

CliRun runCli(const QStringList& args) {
    return mekuri::test::runMekuriCli(QStringList{QStringLiteral("colorfile")} + args);
}

TEST(CliColorFile, WriteMakesTheFactoryBodyFileByteForByte) {
    TempProgramDir dir;
    const CliRun r = runCli({QStringLiteral("write"), dir.path(QStringLiteral("mkribodc.dat")),
                             QStringLiteral("--color"), QStringLiteral("clbtnface")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("mkribodc.dat")),
              readFileBytes(testDataDir() + QStringLiteral("/mkribodc_factory.dat")));
}

TEST(CliColorFile, WriteTakesNamesAndHexValues) {
    struct Case {
        const char* arg;
        quint32 color;
    };
    const Case cases[] = {
        {"clRed", 0x000000FF},       {"CLINFOBK", 0xFF000018}, {"00102030", 0x00102030},
        {"0x7f", 0x0000007F},        {"FF000050", 0xFF000050}, {"0", 0},
    };
    TempProgramDir dir;
    for (const Case& c : cases) {
        const CliRun r = runCli({QStringLiteral("write"), dir.path(QStringLiteral("c.dat")), QStringLiteral("--color"),
                                 QString::fromLatin1(c.arg)});
        ASSERT_EQ(r.code, 0) << c.arg << r.err.toStdString();
        mekuri::ColorDialogState state;
        state.color = c.color;
        EXPECT_EQ(dir.read(QStringLiteral("c.dat")), mekuri::serializeColorFile(state)) << c.arg;
    }
}

TEST(CliColorFile, ShowPrintsColourCustomColoursOptionsAndPosition) {
    const CliRun shipped = runCli({QStringLiteral("show"), shippedDataDir() + QStringLiteral("/mkrimonc.dat")});
    EXPECT_EQ(shipped.code, 0) << shipped.err.toStdString();
    EXPECT_EQ(shipped.out.toStdString(),
              "Color: clInfoBk (FF000018)\n"
              "CustomColors: none\n"
              "Options: cdFullOpen cdPreventFullOpen\n"
              "Position: 136, 184\n");

    TempProgramDir dir;
    mekuri::ColorDialogState state;
    state.color = 0x00102030;
    state.customColors = {QStringLiteral("ColorA=FFFFFF"), QStringLiteral("ColorB=FFFFFFFF")};
    state.options = {QStringLiteral("cdFullOpen")};
    state.left = -5;
    state.top = 40000;
    dir.write(QStringLiteral("c.dat"), mekuri::serializeColorFile(state));
    const CliRun r = runCli({QStringLiteral("show"), dir.path(QStringLiteral("c.dat"))});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(),
              "Color: 00102030\n"
              "CustomColors: 2 lines\n"
              "  ColorA=FFFFFF\n"
              "  ColorB=FFFFFFFF\n"
              "Options: cdFullOpen\n"
              "Position: -5, 40000\n");
}

TEST(CliColorFile, FaultsAndUsage) {
    TempProgramDir dir;
    dir.write(QStringLiteral("bad.dat"), "not a colour file");
    struct Case {
        QStringList args;
        int code;
    };
    const Case cases[] = {
        {{QStringLiteral("show"), dir.path(QStringLiteral("bad.dat"))}, 1},
        {{QStringLiteral("show"), dir.path(QStringLiteral("none.dat"))}, 1},
        {{QStringLiteral("write"), dir.path(QStringLiteral("no/such/folder/c.dat")), QStringLiteral("--color"),
          QStringLiteral("clRed")},
         1},
        {{QStringLiteral("write"), dir.path(QStringLiteral("c.dat")), QStringLiteral("--color"),
          QStringLiteral("clOrange")},
         2},
        {{QStringLiteral("write"), dir.path(QStringLiteral("c.dat")), QStringLiteral("--color"),
          QStringLiteral("123456789")},
         2},
        {{QStringLiteral("write"), dir.path(QStringLiteral("c.dat"))}, 2},
        {{QStringLiteral("show")}, 2},
        {{}, 2},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(u' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << c.args.join(u' ').toStdString();
    }
    EXPECT_FALSE(dir.exists(QStringLiteral("c.dat")));
}

}  // namespace
