// A settings file with bytes its encoding does not define must not be
// rewritten: the decoded text holds substitutes for them, and saving it would
// replace the user's bytes with different ones. Such a file is read (the
// readable settings count) and every save over it is refused, untouched.

#include "settings/ini_file.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace mekuri;
using mekuri::test::TempProgramDir;

namespace {

struct BadFileCase {
    const char* name;
    QByteArray bytes;
};

// Each file holds [Form] LEFT=60 readable, then something undecodable.
const BadFileCase kBadFiles[] = {
    {"cp932_lead_byte_without_trail", QByteArray("[Form]\r\nLEFT=60\r\n[MY_NAME]\r\n0=\x82\xa0\x82\r\n")},
    {"cp932_lead_byte_before_blank", QByteArray("[Form]\r\nLEFT=60\r\n[MY_NAME]\r\n0=\x82 x\r\n")},
    {"utf8_bom_broken_sequence", QByteArray("\xef\xbb\xbf[Form]\r\nLEFT=60\r\n[MY_NAME]\r\n0=\xc3\x28\xe3\x81\r\n")},
};

class InvalidBytesTest : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(InvalidBytesTest, LoadsButEverySaveIsRefusedAndTheBytesStay) {
    TempProgramDir dir;
    const QByteArray original = GetParam().bytes;
    dir.write(QStringLiteral("mkri.ini"), original);
    const QString path = dir.path(QStringLiteral("mkri.ini"));

    const Expected<IniFile> ini = IniFile::load(path);
    ASSERT_TRUE(ini.ok());
    EXPECT_TRUE(ini->hadInvalidBytes());
    EXPECT_EQ(ini->readInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), 24), 60);

    const Status saved = ini->save(path);
    EXPECT_FALSE(saved.ok());
    EXPECT_TRUE(saved.error().contains(QStringLiteral("mkri.ini")));
    EXPECT_TRUE(saved.error().contains(QStringLiteral("読めない文字")));

    // The settings change every command makes is refused the same way.
    const Status changed = changeIniFile(path, [](IniFile& f) {
        f.writeInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), 30);
    });
    EXPECT_FALSE(changed.ok());
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), original);
}

INSTANTIATE_TEST_SUITE_P(Files, InvalidBytesTest, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InvalidBytes, CleanFilesInEveryEncodingStillSave) {
    const QByteArray files[] = {
        mekuri::test::cp932(QStringLiteral("[MY_NAME]\r\n0=ﾎﾟﾛﾝ～\r\n")),
        QByteArray("\xef\xbb\xbf[MY_NAME]\r\n0=\xe3\x80\x9c\r\n"),
        QByteArray("\xff\xfe[\0M\0]\0\r\0\n\0", 12),
    };
    for (const QByteArray& bytes : files) {
        TempProgramDir dir;
        dir.write(QStringLiteral("mkri.ini"), bytes);
        const QString path = dir.path(QStringLiteral("mkri.ini"));
        const Status st = changeIniFile(path, [](IniFile& f) {
            f.writeInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), 30);
        });
        ASSERT_TRUE(st.ok()) << qPrintable(st.error());
        EXPECT_EQ(IniFile::loadOrEmpty(path).readInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), 0), 30);
    }
}

// UTF-16 text keeps an unpaired surrogate as it is, so such a file saves
// without changing those bytes.
TEST(InvalidBytes, AnUnpairedSurrogateInUtf16SurvivesASave) {
    TempProgramDir dir;
    const QByteArray lone("0\0=\0\x00\xd8" "A\0\r\0\n\0", 12);
    dir.write(QStringLiteral("mkri.ini"), QByteArray("\xff\xfe[\0M\0]\0\r\0\n\0", 12) + lone);
    const QString path = dir.path(QStringLiteral("mkri.ini"));
    ASSERT_TRUE(changeIniFile(path, [](IniFile& f) {
        f.writeInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), 30);
    }).ok());
    const QByteArray after = dir.read(QStringLiteral("mkri.ini"));
    EXPECT_TRUE(after.startsWith(QByteArray("\xff\xfe[\0M\0]\0\r\0\n\0", 12) + lone)) << after.toHex().constData();
}

TEST(InvalidBytes, AMissingFileIsNewAndSaves) {
    TempProgramDir dir;
    const QString path = dir.path(QStringLiteral("mkri.ini"));
    const Expected<IniFile> ini = IniFile::load(path);
    ASSERT_TRUE(ini.ok());
    EXPECT_FALSE(ini->hadInvalidBytes());
    EXPECT_TRUE(changeIniFile(path, [](IniFile& f) { f.writeBool(QStringLiteral("MENU"), QStringLiteral("0"), true); }).ok());
}

}  // namespace
