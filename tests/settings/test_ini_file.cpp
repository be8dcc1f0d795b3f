#include "settings/ini_file.h"

#include "settings/save_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>

#include <cmath>
#include <limits>

using namespace mekuri;
using mekuri::test::cp932;
using mekuri::test::TempProgramDir;

namespace {

IniFile parse(const char* utf8) { return IniFile::parse(QString::fromUtf8(utf8)); }

QByteArray utf8Marked(const QString& text) { return QByteArray("\xEF\xBB\xBF") + text.toUtf8(); }

// ---- reading ---------------------------------------------------------------

struct ReadCase {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    std::optional<const char*> value;  // nullopt: not found
};

class IniReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReading, FindsTheValue) {
    const ReadCase& c = GetParam();
    const std::optional<QString> v =
        parse(c.text).value(QString::fromUtf8(c.section), QString::fromUtf8(c.key));
    if (!c.value) {
        EXPECT_FALSE(v) << v->toStdString();
    } else {
        ASSERT_TRUE(v);
        EXPECT_EQ(*v, QString::fromUtf8(*c.value));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniReading,
    ::testing::Values(
        ReadCase{"plain", "[S]\nk=v\n", "S", "k", "v"},
        ReadCase{"codes_0_to_32_are_trimmed", "\x01[S]\x1F\n\t\x0B k \x01=\x02 v w \x1F\x20\n", "S", "k", "v w"},
        ReadCase{"ideographic_space_is_kept", "[S]\nk=\u3000v\u3000\n", "S", "k", "\u3000v\u3000"},
        ReadCase{"ideographic_space_in_a_key_is_kept", "[S]\n\u3000k=v\n", "S", "k", std::nullopt},
        ReadCase{"semicolon_line_is_a_comment", "[S]\n;k=v\n", "S", ";k", std::nullopt},
        ReadCase{"indented_comment_too", "[S]\n  ; k=v\n", "S", "; k", std::nullopt},
        ReadCase{"semicolon_inside_a_value_is_text", "[S]\nk=a;b\n", "S", "k", "a;b"},
        ReadCase{"keyless_entry_is_never_found", "[S]\nabc\n", "S", "abc", std::nullopt},
        ReadCase{"lines_before_the_first_section_are_dropped", "k=v\n[S]\n", "S", "k", std::nullopt},
        ReadCase{"sections_ignore_case", "[FoRm]\nLEFT=100\n", "form", "LEFT", "100"},
        ReadCase{"keys_ignore_case", "[Form]\nleft=100\n", "Form", "LEFT", "100"},
        ReadCase{"section_name_is_trimmed", "[ Form\t]\nLEFT=1\n", "Form", "LEFT", "1"},
        ReadCase{"empty_value_is_empty_text", "[S]\nk=\n", "S", "k", ""},
        ReadCase{"absent_key", "[S]\nk=v\n", "S", "x", std::nullopt},
        ReadCase{"absent_section", "[S]\nk=v\n", "T", "k", std::nullopt},
        ReadCase{"first_equals_splits", "[S]\nk = a = b\n", "S", "k", "a = b"},
        ReadCase{"leading_zero_key_is_another_key", "[S]\n01=v\n", "S", "1", std::nullopt},
        ReadCase{"first_of_two_equal_keys_wins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
        ReadCase{"repeated_section_continues_the_first", "[S]\na=1\n[T]\n[s]\nb=2\n", "S", "b", "2"},
        ReadCase{"unclosed_bracket_is_an_entry", "[S]\n[T\nk=v\n", "S", "k", "v"},
        ReadCase{"CR_LF_LF_and_CR_breaks", "[S]\r\na=1\rb=2\nk=v\r\n", "S", "k", "v"},
        ReadCase{"empty_text", "", "S", "k", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFile, KeylessEntriesCountAndStay) {
    IniFile ini = parse("[h10]\nsomething\n[S]\nk=1\n");
    EXPECT_EQ(ini.entryCount(QStringLiteral("h10")), 1);
    EXPECT_EQ(ini.entryCount(QStringLiteral("H10")), 1);
    EXPECT_TRUE(ini.hasSection(QStringLiteral("h10")));
    EXPECT_EQ(ini.sectionLines(QStringLiteral("h10")), QStringList{QStringLiteral("something")});
    ini.writeString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("2"));
    EXPECT_EQ(ini.toText(), QStringLiteral("[h10]\r\nsomething\r\n\r\n[S]\r\nk=2\r\n\r\n"));
    EXPECT_TRUE(parse("[h10]\n[S]\n").hasSection(QStringLiteral("h10")));
    EXPECT_EQ(parse("[h10]\n[S]\n").entryCount(QStringLiteral("h10")), 0);
}

// ---- typed values ----------------------------------------------------------

TEST(IniFile, IntegerReading) {
    struct Case {
        const char* value;  // nullptr: key absent
        int expected;
    };
    const int def = 24;
    const Case cases[] = {
        {nullptr, def},
        {"", def},
        {"100", 100},
        {"-5", -5},
        {"+7", 7},
        {"007", 7},
        {"0x20", 32},
        {"0X1f", 31},
        {"0x7FFFFFFF", 2147483647},
        {"0xFFFFFFFF", -1},  // a 32-bit pattern
        {"0x100000000", def},
        {"0x", def},
        {"0x0x1", def},
        {"0x 1", def},
        {"0x-1", def},
        {"0x1g", def},
        {"abc", def},
        {"12abc", def},
        {"1 2", def},
        {"-", def},
        {"１２", def},  // full-width digits
        {"2147483647", 2147483647},
        {"2147483648", def},
        {"-2147483648", std::numeric_limits<int>::min()},
        {"-2147483649", def},
        {"99999999999999999999", def},
        {"1.5", def},
    };
    for (const Case& c : cases) {
        const IniFile ini = c.value ? IniFile::parse(QStringLiteral("[Form]\nLEFT=") + QString::fromUtf8(c.value))
                                    : IniFile::parse(QStringLiteral("[Form]\n"));
        EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), def), c.expected)
            << (c.value ? c.value : "(absent)");
    }
}

TEST(IniFile, FlagReading) {
    struct Case {
        const char* value;
        bool def;
        bool expected;
    };
    const Case cases[] = {
        {"1", false, true}, {"0", true, false}, {"2", false, true}, {"-1", false, true},
        {"0x0", true, false}, {"abc", true, true}, {"abc", false, false}, {"", true, true},
        {"on", false, false},
    };
    for (const Case& c : cases) {
        const IniFile ini = IniFile::parse(QStringLiteral("[MENU]\n0=") + QString::fromUtf8(c.value));
        EXPECT_EQ(ini.readBool(QStringLiteral("MENU"), QStringLiteral("0"), c.def), c.expected) << c.value;
    }
    EXPECT_TRUE(IniFile().readBool(QStringLiteral("MENU"), QStringLiteral("0"), true));
}

TEST(IniFile, DecimalReading) {
    struct Case {
        const char* value;
        double expected;
    };
    const double def = 0.5;
    const Case cases[] = {
        {"0.75", 0.75}, {"-2.25", -2.25}, {"1e3", 1000.0}, {"3", 3.0}, {".5", 0.5},
        {"", def},      {"abc", def},     {"1,5", def},    {"inf", def}, {"nan", def},
        {"1e999", def}, {"0x10", def},    {"1.5.2", def},
    };
    for (const Case& c : cases) {
        const IniFile ini = IniFile::parse(QStringLiteral("[SETTEI]\nZOOM_Hi=") + QString::fromUtf8(c.value));
        EXPECT_EQ(ini.readFloat(QStringLiteral("SETTEI"), QStringLiteral("ZOOM_Hi"), def), c.expected) << c.value;
    }
}

TEST(IniFile, DecimalWritingHasFifteenSignificantDigitsAndAPoint) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0.5, "0.5"},
        {0.1, "0.1"},
        {100.0, "100"},
        {-2.25, "-2.25"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {123456789.125, "123456789.125"},
    };
    // The point stays "." whatever the locale says.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const Case& c : cases) {
        EXPECT_EQ(IniFile::formatFloat(c.value), QString::fromLatin1(c.text)) << c.text;
        IniFile ini;
        ini.writeFloat(QStringLiteral("SETTEI"), QStringLiteral("ZOOM_Hi"), c.value);
        const double back = IniFile::parse(ini.toText()).readFloat(QStringLiteral("SETTEI"), QStringLiteral("ZOOM_Hi"), -99);
        EXPECT_NEAR(back, c.value, std::abs(c.value) * 1e-14) << c.text;
    }
    QLocale::setDefault(QLocale::c());
    // Very large and small values round-trip too.
    for (double v : {1.0e20, 1.0e-7, 123456789012345678.0}) {
        const double back = IniFile::parse(QStringLiteral("[S]\nk=") + IniFile::formatFloat(v))
                                .readFloat(QStringLiteral("S"), QStringLiteral("k"), -1);
        EXPECT_NEAR(back, v, std::abs(v) * 1e-14);
    }
}

TEST(IniFile, IntegerAndFlagWriting) {
    IniFile ini;
    ini.writeInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), -5);
    ini.writeBool(QStringLiteral("MENU"), QStringLiteral("0"), true);
    ini.writeBool(QStringLiteral("KAISHI_ADD"), QStringLiteral("0"), false);
    EXPECT_EQ(ini.toText(), QStringLiteral("[Form]\r\nLEFT=-5\r\n\r\n[MENU]\r\n0=1\r\n\r\n[KAISHI_ADD]\r\n0=0\r\n\r\n"));
}

// ---- writing ---------------------------------------------------------------

TEST(IniFile, RewriteDropsCommentsBlanksAndSpacesAroundEquals) {
    const IniFile ini = parse("; head\r\n\r\n[Form]\r\n  LEFT = 100  \r\n; note\r\n\r\nTOP=5\r\n[MENU]\r\n0 =1\r\n");
    EXPECT_EQ(ini.toText(), QStringLiteral("[Form]\r\nLEFT=100\r\nTOP=5\r\n\r\n[MENU]\r\n0=1\r\n\r\n"));
}

TEST(IniFile, ChangesKeepOrderAndGoToTheirPlace) {
    IniFile ini = parse("[A]\na=1\nb=2\n[B]\nc=3\n");
    ini.writeString(QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("10"));   // in place, either case
    ini.writeString(QStringLiteral("A"), QStringLiteral("new"), QStringLiteral("x"));  // end of its section
    ini.writeString(QStringLiteral("C"), QStringLiteral("d"), QStringLiteral("4"));    // new section at the end
    ini.writeString(QStringLiteral("B"), QStringLiteral("e"), QString());             // empty value
    EXPECT_EQ(ini.toText(),
              QStringLiteral("[A]\r\na=10\r\nb=2\r\nnew=x\r\n\r\n[B]\r\nc=3\r\ne=\r\n\r\n[C]\r\nd=4\r\n\r\n"));
    ini.deleteKey(QStringLiteral("a"), QStringLiteral("B"));
    EXPECT_FALSE(ini.value(QStringLiteral("A"), QStringLiteral("b")));
    EXPECT_EQ(ini.sectionLines(QStringLiteral("A")), (QStringList{QStringLiteral("a=10"), QStringLiteral("new=x")}));
}

TEST(IniFile, EncodingIsKeptOrCp932) {
    struct Case {
        const char* name;
        QByteArray before;  // empty: no file yet
        QByteArray prefix;  // what the rewritten file starts with
        TextEncoding encoding;
    };
    const QString text = QStringLiteral("[MY_NAME]\r\n0=ポロン\r\n");
    const Case cases[] = {
        {"no file is written as CP932", QByteArray(), QByteArray("[Form]"), TextEncoding::Cp932},
        {"unmarked file is written as CP932", cp932(text), QByteArray("[MY_NAME]"), TextEncoding::Cp932},
        {"UTF-8 mark kept", utf8Marked(text), QByteArray("\xEF\xBB\xBF[MY_NAME]"), TextEncoding::Utf8Bom},
        {"UTF-16LE mark kept", encodeText(text, TextEncoding::Utf16LeBom).bytes, QByteArray("\xFF\xFE[\0", 4),
         TextEncoding::Utf16LeBom},
        {"UTF-16BE mark kept", encodeText(text, TextEncoding::Utf16BeBom).bytes, QByteArray("\xFE\xFF\0[", 4),
         TextEncoding::Utf16BeBom},
    };
    for (const Case& c : cases) {
        TempProgramDir dir;
        const QString path = dir.path(QStringLiteral("mkri.ini"));
        if (!c.before.isEmpty()) dir.write(QStringLiteral("mkri.ini"), c.before);
        ASSERT_TRUE(changeIniFile(path, [](IniFile& ini) {
                        ini.writeString(QStringLiteral("Form"), QStringLiteral("LEFT"), QStringLiteral("日"));
                    }).ok())
            << c.name;
        const QByteArray after = dir.read(QStringLiteral("mkri.ini"));
        EXPECT_TRUE(after.startsWith(c.prefix)) << c.name;
        const DecodedText decoded = decodeText(after);
        EXPECT_EQ(decoded.encoding, c.encoding) << c.name;
        EXPECT_TRUE(decoded.text.endsWith(QStringLiteral("[Form]\r\nLEFT=日\r\n\r\n"))) << c.name;
        if (c.encoding == TextEncoding::Cp932) EXPECT_TRUE(after.contains(cp932(QStringLiteral("LEFT=日"))));
    }
}

TEST(IniFile, WaveDashOfCp932IsFullWidthTilde) {
    TempProgramDir dir;
    const QString path = dir.path(QStringLiteral("mkri.ini"));
    ASSERT_TRUE(changeIniFile(path, [](IniFile& ini) {
                    ini.writeString(QStringLiteral("SHIORI_DAY"), QStringLiteral("0"), QStringLiteral("春～夏"));
                }).ok());
    const QByteArray bytes = dir.read(QStringLiteral("mkri.ini"));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.contains(QByteArray("\x8F\x74\x81\x60\x89\xC4")));  // 春 ～ 夏
    EXPECT_EQ(IniFile::loadOrEmpty(path).readString(QStringLiteral("SHIORI_DAY"), QStringLiteral("0"), {}),
              QStringLiteral("春～夏"));
}

TEST(IniFile, TextCp932CannotHoldIsWrittenAsMarkedUtf8AndSurvivesAReload) {
    const QString texts[] = {
        QStringLiteral("波〜ダッシュ"),   // U+301C
        QStringLiteral("¥100"),           // U+00A5
        QStringLiteral("誕生日🎂"),       // beyond the BMP
    };
    for (const QString& text : texts) {
        TempProgramDir dir;
        const QString path = dir.path(QStringLiteral("mkri.ini"));
        dir.write(QStringLiteral("mkri.ini"), cp932(QStringLiteral("[Form]\r\nLEFT=1\r\n")));
        ASSERT_TRUE(changeIniFile(path, [&](IniFile& ini) {
                        ini.writeString(QStringLiteral("MY_NAME"), QStringLiteral("0"), text);
                    }).ok());
        const QByteArray bytes = dir.read(QStringLiteral("mkri.ini"));
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << text.toStdString();
        EXPECT_FALSE(bytes.contains('?')) << text.toStdString();
        // The restart: read again, change something else, read once more.
        EXPECT_EQ(IniFile::loadOrEmpty(path).readString(QStringLiteral("MY_NAME"), QStringLiteral("0"), {}), text);
        ASSERT_TRUE(changeIniFile(path, [](IniFile& ini) {
                        ini.writeInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), 2);
                    }).ok());
        const IniFile again = IniFile::loadOrEmpty(path);
        EXPECT_EQ(again.encoding(), TextEncoding::Utf8Bom);
        EXPECT_EQ(again.readString(QStringLiteral("MY_NAME"), QStringLiteral("0"), {}), text);
        EXPECT_EQ(again.readInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), 0), 2);
    }
}

// ---- files -----------------------------------------------------------------

TEST(IniFile, MissingFileIsEmptyAndIsCreatedByTheFirstWrite) {
    TempProgramDir dir;
    const QString path = dir.path(QStringLiteral("mkri.ini"));
    const Expected<IniFile> ini = IniFile::load(path);
    ASSERT_TRUE(ini.ok());
    EXPECT_TRUE(ini->sections().isEmpty());
    EXPECT_EQ(ini->readInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), 24), 24);
    EXPECT_FALSE(dir.exists(QStringLiteral("mkri.ini")));
    ASSERT_TRUE(changeIniFile(path, [](IniFile& i) { i.writeBool(QStringLiteral("MENU"), QStringLiteral("0"), false); }).ok());
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), QByteArray("[MENU]\r\n0=0\r\n\r\n"));
}

TEST(IniFile, FailedCommitLeavesTheOldFileByteIdentical) {
    TempProgramDir dir;
    const QByteArray old = cp932(QStringLiteral("; mine\r\n[Form]\r\n LEFT = 7\r\n[MY_NAME]\r\n0=ポロン～\r\n"));
    dir.write(QStringLiteral("mkri.ini"), old);
    setCommitHookForTesting([](const QString&) { return false; });
    const Status st = changeIniFile(dir.path(QStringLiteral("mkri.ini")), [](IniFile& ini) {
        ini.writeInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), 8);
    });
    setCommitHookForTesting(nullptr);
    EXPECT_FALSE(st.ok());
    EXPECT_FALSE(st.error().isEmpty());
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), old);
    EXPECT_EQ(QDir(dir.dir()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("mkri.ini")});
}

TEST(IniFile, ReadOnlyFileIsRefusedAndUntouched) {
    TempProgramDir dir;
    const QByteArray old = cp932(QStringLiteral("[Form]\r\nLEFT=7\r\n"));
    dir.write(QStringLiteral("mkri.ini"), old);
    const QString path = dir.path(QStringLiteral("mkri.ini"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const Status st = changeIniFile(path, [](IniFile& ini) {
        ini.writeInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), 8);
    });
    EXPECT_FALSE(st.ok());
    EXPECT_TRUE(st.error().contains(QStringLiteral("mkri.ini")));
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), old);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(IniFile, UnreadableFileIsAnErrorAndLoadOrEmptyFallsBack) {
    TempProgramDir dir;
    // A folder where the settings file should be: it exists but cannot be read.
    ASSERT_TRUE(QDir(dir.dir()).mkdir(QStringLiteral("mkri.ini")));
    const QString path = dir.path(QStringLiteral("mkri.ini"));
    EXPECT_FALSE(IniFile::load(path).ok());
    EXPECT_EQ(IniFile::loadOrEmpty(path).readInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), 24), 24);
    EXPECT_FALSE(changeIniFile(path, [](IniFile&) {}).ok());
}

}  // namespace
