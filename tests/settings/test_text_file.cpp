#include "settings/text_file.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace mekuri;
using mekuri::test::TempProgramDir;

namespace {

QByteArray bytes(const char* hex) { return QByteArray::fromHex(hex); }

TEST(TextFile, ByteOrderMarkSelectsTheEncoding) {
    struct Case {
        const char* name;
        QByteArray input;
        TextEncoding encoding;
        QString text;
    };
    const Case cases[] = {
        {"UTF-16LE mark", bytes("FFFE41002000E565"), TextEncoding::Utf16LeBom, QStringLiteral("A 日")},
        {"UTF-16BE mark", bytes("FEFF00410020" "65E5"), TextEncoding::Utf16BeBom, QStringLiteral("A 日")},
        {"UTF-8 mark", bytes("EFBBBF41E697A5"), TextEncoding::Utf8Bom, QStringLiteral("A日")},
        {"no mark is CP932", bytes("4193FA"), TextEncoding::Cp932, QStringLiteral("A日")},
        {"UTF-8 without a mark is still read as CP932", bytes("E697A5"), TextEncoding::Cp932,
         QStringLiteral("譌･")},
        {"empty", QByteArray(), TextEncoding::Cp932, QString()},
        {"a lone FF is no mark", bytes("FF"), TextEncoding::Cp932, QString()},
    };
    for (const Case& c : cases) {
        const DecodedText d = decodeText(c.input);
        EXPECT_EQ(d.encoding, c.encoding) << c.name;
        if (std::string(c.name) != "a lone FF is no mark") EXPECT_EQ(d.text, c.text) << c.name;
    }
}

TEST(TextFile, EncodingWritesTheMarkOfEachEncoding) {
    const QString text = QStringLiteral("A日");
    EXPECT_EQ(encodeText(text, TextEncoding::Cp932).bytes, bytes("4193FA"));
    EXPECT_EQ(encodeText(text, TextEncoding::Utf8Bom).bytes, bytes("EFBBBF41E697A5"));
    EXPECT_EQ(encodeText(text, TextEncoding::Utf16LeBom).bytes, bytes("FFFE4100E565"));
    EXPECT_EQ(encodeText(text, TextEncoding::Utf16BeBom).bytes, bytes("FEFF004165E5"));
    for (TextEncoding e : {TextEncoding::Cp932, TextEncoding::Utf8Bom, TextEncoding::Utf16LeBom,
                           TextEncoding::Utf16BeBom}) {
        const DecodedText back = decodeText(encodeText(text, e).bytes);
        EXPECT_EQ(back.text, text);
        EXPECT_EQ(back.encoding, e);
    }
}

// The program's own texts survive CP932 both ways, with Microsoft's mapping.
TEST(TextFile, SystemTextsRoundTripThroughCp932) {
    struct Case {
        QString text;
        QByteArray cp932;  // empty: only the round trip is checked
    };
    const Case cases[] = {
        {QStringLiteral("～"), bytes("8160")},  // U+FF5E, not U+301C
        {QStringLiteral("－"), bytes("817C")},  // U+FF0D
        {QStringLiteral("ﾎﾟﾛﾝ"), bytes("CEDFDBDD")},  // half-width kana are single bytes
        {QStringLiteral("ﾎﾟﾛﾝのあなたに合わせたｶﾚﾝﾀﾞｰ"), {}},
        {QStringLiteral("ﾒﾆｭｰの表示はｿﾌﾄ内を右ｸﾘｯｸ"), {}},
        {QStringLiteral("和暦コピー　曜日付"), {}},
        {QStringLiteral("休日(horiday.txt)を変更します"), {}},
        {QStringLiteral("①Ⅱ㈱髙"), bytes("87408755878AFBFC")},  // NEC and IBM extensions
    };
    for (const Case& c : cases) {
        const EncodedText e = encodeText(c.text, TextEncoding::Cp932);
        EXPECT_FALSE(e.lossy) << c.text.toStdString();
        if (!c.cp932.isEmpty()) EXPECT_EQ(e.bytes, c.cp932) << c.text.toStdString();
        const DecodedText d = decodeText(e.bytes);
        EXPECT_EQ(d.text, c.text);
        EXPECT_FALSE(d.hadInvalidBytes);
        EXPECT_TRUE(cp932CanHold(c.text));
    }
}

TEST(TextFile, NecSelectedIbmExtensionsDecodeLikeTheIbmOnes) {
    EXPECT_EQ(decodeText(bytes("EEE0")).text, QStringLiteral("髙"));
    EXPECT_EQ(decodeText(bytes("FBFC")).text, QStringLiteral("髙"));
}

TEST(TextFile, TextCp932CannotHoldIsFlaggedNotSilentlyReplaced) {
    const QString cases[] = {
        QStringLiteral("〜"),         // U+301C wave dash, as many input methods type it
        QStringLiteral("¥"),          // U+00A5
        QStringLiteral("😀"),         // beyond the BMP
        QStringLiteral("今日は〜"),  // mixed
    };
    for (const QString& text : cases) {
        EXPECT_TRUE(encodeText(text, TextEncoding::Cp932).lossy) << text.toStdString();
        EXPECT_FALSE(cp932CanHold(text)) << text.toStdString();
        EXPECT_FALSE(encodeText(text, TextEncoding::Utf8Bom).lossy);
        EXPECT_EQ(decodeText(encodeText(text, TextEncoding::Utf8Bom).bytes).text, text);
    }
}

TEST(TextFile, InvalidBytesAreReported) {
    EXPECT_TRUE(decodeText(bytes("4181")).hadInvalidBytes);        // lead byte without its trail
    EXPECT_TRUE(decodeText(bytes("EFBBBF41FF")).hadInvalidBytes);  // bad UTF-8 after a mark
    EXPECT_FALSE(decodeText(bytes("41")).hadInvalidBytes);
}

TEST(TextFile, SplitLines) {
    struct Case {
        const char* name;
        QString text;
        QStringList lines;
    };
    const Case cases[] = {
        {"CR LF", QStringLiteral("a\r\nb"), {"a", "b"}},
        {"LF", QStringLiteral("a\nb"), {"a", "b"}},
        {"CR", QStringLiteral("a\rb"), {"a", "b"}},
        {"mixed", QStringLiteral("a\r\nb\nc\rd"), {"a", "b", "c", "d"}},
        {"final break opens no line", QStringLiteral("a\r\n"), {"a"}},
        {"empty lines kept", QStringLiteral("a\r\n\r\nb\n\n"), {"a", "", "b", ""}},
        {"LF CR is two breaks", QStringLiteral("a\n\rb"), {"a", "", "b"}},
        {"empty text", QString(), {}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitLines(c.text), c.lines) << c.name;
}

TEST(TextFile, JoinCrLf) {
    EXPECT_EQ(joinCrLf({"a", "b"}, false), QStringLiteral("a\r\nb"));
    EXPECT_EQ(joinCrLf({"a", "b"}, true), QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(joinCrLf({}, true), QString());
}

TEST(TextFile, TrimControlTrimsCodes0To32Only) {
    struct Case {
        QString in;
        QString out;
    };
    const Case cases[] = {
        {QStringLiteral(" \t a b \r\n"), QStringLiteral("a b")},
        {QString(QChar(0)) + QStringLiteral("x") + QChar(0x1F) + QChar(0x20), QStringLiteral("x")},
        {QStringLiteral("\u3000x\u3000"), QStringLiteral("\u3000x\u3000")},  // ideographic space is text
        {QStringLiteral("x\u00A0"), QStringLiteral("x\u00A0")},              // so is a no-break space
        {QStringLiteral("x\x7F"), QStringLiteral("x\x7F")},
        {QStringLiteral(" \t "), QString()},
    };
    for (const Case& c : cases) EXPECT_EQ(trimControl(c.in), c.out) << c.in.toStdString();
}

TEST(TextFile, ReadingFiles) {
    TempProgramDir dir;
    EXPECT_FALSE(readTextFile(dir.path(QStringLiteral("none.txt"))).ok());
    const Expected<DecodedText> empty = readTextFileOrEmpty(dir.path(QStringLiteral("none.txt")));
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(empty->text.isEmpty());
    EXPECT_EQ(empty->encoding, TextEncoding::Cp932);

    dir.write(QStringLiteral("a.txt"), bytes("EFBBBF41"));
    const Expected<DecodedText> a = readTextFile(dir.path(QStringLiteral("a.txt")));
    ASSERT_TRUE(a.ok());
    EXPECT_EQ(a->text, QStringLiteral("A"));
    EXPECT_EQ(a->encoding, TextEncoding::Utf8Bom);

    // A folder where a file is expected exists but cannot be read.
    const Expected<DecodedText> folder = readTextFileOrEmpty(dir.dir());
    EXPECT_FALSE(folder.ok());
    EXPECT_FALSE(folder.error().isEmpty());
}

}  // namespace
