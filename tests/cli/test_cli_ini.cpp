// mekuri-cli ini get/set: run as a program, checked by exit code, output and
// the bytes of the settings file.
#include "support/test_support.h"

#include "cli/cli_runner.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

using mekuri::test::cp932;
using mekuri::test::TempProgramDir;

namespace {

using mekuri::test::CliRun;

CliRun runCli(const QStringList& args) {
    return mekuri::test::runMekuriCli(QStringList{QStringLiteral("ini")} + args);
}

CliRun get(const QString& file, const QString& section, const QString& key) {
    return runCli({QStringLiteral("get"), file, section, key});
}

CliRun set(const QString& file, const QString& section, const QString& key, const QString& value) {
    return runCli({QStringLiteral("set"), file, section, key, value});
}

TEST(CliIni, GetReadsByTheSettingsFileRules) {
    TempProgramDir dir;
    dir.write(QStringLiteral("mkri.ini"),
              cp932(QStringLiteral("; comment\r\n[form]\r\n left = 100 \r\n[MY_NAME]\r\n0=\r\n"
                                   "[SHIORI_DAY]\r\n0=誕生日～\r\n")));
    const QString ini = dir.path(QStringLiteral("mkri.ini"));
    struct Case {
        const char* section;
        const char* key;
        int code;
        const char* out;
    };
    const Case cases[] = {
        {"Form", "LEFT", 0, "100\n"},           // case-insensitive, blanks around "=" trimmed
        {"MY_NAME", "0", 0, "\n"},              // present but empty
        {"SHIORI_DAY", "0", 0, "誕生日～\n"},   // CP932 0x8160 read as U+FF5E
        {"Form", "TOP", 1, ""},                 // absent key
        {"Nothing", "0", 1, ""},                // absent section
    };
    for (const Case& c : cases) {
        const CliRun r = get(ini, QString::fromUtf8(c.section), QString::fromUtf8(c.key));
        EXPECT_EQ(r.code, c.code) << c.section << "/" << c.key;
        EXPECT_EQ(r.out.toStdString(), c.out) << c.section << "/" << c.key;
    }
    // A missing file reads as empty: the key is simply absent.
    EXPECT_EQ(get(dir.path(QStringLiteral("none.ini")), QStringLiteral("Form"), QStringLiteral("LEFT")).code, 1);
}

TEST(CliIni, SetCreatesACp932FileAndRewritesItWhole) {
    TempProgramDir dir;
    const QString ini = dir.path(QStringLiteral("mkri.ini"));
    ASSERT_EQ(set(ini, QStringLiteral("Form"), QStringLiteral("LEFT"), QStringLiteral("24")).code, 0);
    ASSERT_EQ(set(ini, QStringLiteral("MY_NAME"), QStringLiteral("0"), QStringLiteral("カレンダー～")).code, 0);
    ASSERT_EQ(set(ini, QStringLiteral("form"), QStringLiteral("TOP"), QStringLiteral("30")).code, 0);
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")),
              cp932(QStringLiteral("[Form]\r\nLEFT=24\r\nTOP=30\r\n\r\n[MY_NAME]\r\n0=カレンダー～\r\n\r\n")));
    EXPECT_TRUE(dir.read(QStringLiteral("mkri.ini")).contains("\x81\x60"));
    EXPECT_EQ(get(ini, QStringLiteral("MY_NAME"), QStringLiteral("0")).out, QStringLiteral("カレンダー～\n"));
}

TEST(CliIni, SetKeepsOrderDropsCommentsAndKeepsAUtf8Mark) {
    TempProgramDir dir;
    dir.write(QStringLiteral("mkri.ini"),
              QByteArray("\xEF\xBB\xBF") + QStringLiteral("; c\r\n[B]\r\nx = 1\r\n\r\n[A]\r\ny=2\r\n").toUtf8());
    const QString ini = dir.path(QStringLiteral("mkri.ini"));
    ASSERT_EQ(set(ini, QStringLiteral("B"), QStringLiteral("z"), QStringLiteral("名前")).code, 0);
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")),
              QByteArray("\xEF\xBB\xBF") + QStringLiteral("[B]\r\nx=1\r\nz=名前\r\n\r\n[A]\r\ny=2\r\n\r\n").toUtf8());
}

TEST(CliIni, TextCp932CannotHoldTurnsTheFileIntoMarkedUtf8) {
    TempProgramDir dir;
    const QString ini = dir.path(QStringLiteral("mkri.ini"));
    const QString wave = QStringLiteral("今日〜明日 ¥ 😀");  // U+301C, U+00A5, an emoji
    ASSERT_EQ(set(ini, QStringLiteral("MY_NAME"), QStringLiteral("0"), wave).code, 0);
    EXPECT_TRUE(dir.read(QStringLiteral("mkri.ini")).startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(get(ini, QStringLiteral("MY_NAME"), QStringLiteral("0")).out, wave + u'\n');
}

TEST(CliIni, ReadOnlyFileIsRefusedAndUntouched) {
    TempProgramDir dir;
    const QByteArray before = cp932(QStringLiteral("[Form]\r\nLEFT=1\r\n"));
    dir.write(QStringLiteral("mkri.ini"), before);
    const QString ini = dir.path(QStringLiteral("mkri.ini"));
    QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const CliRun r = set(ini, QStringLiteral("Form"), QStringLiteral("LEFT"), QStringLiteral("2"));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("mkri.ini"))) << r.err.toStdString();
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), before);
    QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(CliIni, Usage) {
    const QStringList cases[] = {
        {},
        {QStringLiteral("get"), QStringLiteral("f")},
        {QStringLiteral("get"), QStringLiteral("f"), QStringLiteral("s")},
        {QStringLiteral("set"), QStringLiteral("f"), QStringLiteral("s"), QStringLiteral("k")},
        {QStringLiteral("put"), QStringLiteral("f"), QStringLiteral("s"), QStringLiteral("k")},
    };
    for (const QStringList& args : cases) {
        const CliRun r = runCli(args);
        EXPECT_EQ(r.code, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage: mekuri-cli ini get FILE SECTION KEY")));
    }
}

}  // namespace
