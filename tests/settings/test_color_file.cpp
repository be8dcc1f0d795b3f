#include "settings/color_file.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>

using namespace mekuri;
using mekuri::test::readFileBytes;
using mekuri::test::TempProgramDir;
using mekuri::test::testDataDir;

namespace {

ColorDialogState stateWithColor(quint32 color) {
    ColorDialogState s;
    s.color = color;
    return s;
}

// The sixteen lines the chooser holds after it was confirmed once.
QStringList sixteenCustomColors() {
    QStringList lines;
    for (char slot = 'A'; slot <= 'P'; ++slot) {
        lines << QStringLiteral("Color%1=FFFFFFFF").arg(QChar(slot));
    }
    return lines;
}

// The component stream: the bytes after the 22-byte header.
QByteArray streamOf(const QByteArray& file) { return file.mid(22); }

// A state unlike the defaults, to see that a failed read changes nothing.
ColorDialogState distinctiveState() {
    ColorDialogState s;
    s.color = 0x00ABCDEF;
    s.customColors = {QStringLiteral("ColorA=123456")};
    s.options = {QStringLiteral("cdShowHelp")};
    s.left = 1;
    s.top = 2;
    return s;
}

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

}  // namespace

TEST(ColorFile, FactoryBodyFileIsTheGoldenBytes) {
    const QByteArray golden = readFileBytes(testDataDir() + QStringLiteral("/mkribodc_factory.dat"));
    ASSERT_EQ(golden.size(), 125);
    EXPECT_EQ(serializeColorFile(stateWithColor(0xFF00000F)), golden);
}

TEST(ColorFile, GoldenFileReadsBackAsBtnFaceWithDefaults) {
    const QByteArray golden = readFileBytes(testDataDir() + QStringLiteral("/mkribodc_factory.dat"));
    ColorDialogState s;
    ASSERT_TRUE(parseColorFile(golden, s).ok());
    EXPECT_EQ(s, stateWithColor(0xFF00000F));
}

struct ColorEncodingCase {
    const char* name;
    quint32 color;
    QByteArray colorProperty;  // bytes of the "Color" property, empty when absent
};

class ColorEncoding : public ::testing::TestWithParam<ColorEncodingCase> {};

TEST_P(ColorEncoding, ColorPropertyBytes) {
    const ColorEncodingCase& c = GetParam();
    const QByteArray stream = streamOf(serializeColorFile(stateWithColor(c.color)));
    const QByteArray prefix = QByteArrayLiteral("TPF0\x0CTColorDialog\x0C" "ColorDialog1");
    ASSERT_TRUE(stream.startsWith(prefix));
    const QByteArray afterNames = stream.mid(prefix.size());
    const QByteArray options = QByteArrayLiteral("\x07Options\x0B");
    EXPECT_EQ(afterNames.left(afterNames.indexOf(options)), c.colorProperty);

    ColorDialogState back = distinctiveState();
    ASSERT_TRUE(parseColorFile(serializeColorFile(stateWithColor(c.color)), back).ok());
    EXPECT_EQ(back.color, c.color);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColorEncoding,
    ::testing::Values(
        ColorEncodingCase{"red_is_the_identifier_clRed", 0x000000FF,
                          QByteArrayLiteral("\x05" "Color\x07\x05" "clRed")},
        ColorEncodingCase{"unnamed_colour_takes_four_bytes", 0x00102030,
                          QByteArrayLiteral("\x05" "Color") + hex("0430201000")},
        ColorEncodingCase{"127_takes_one_byte", 127, QByteArrayLiteral("\x05" "Color") + hex("027F")},
        ColorEncodingCase{"129_takes_two_bytes", 129, QByteArrayLiteral("\x05" "Color") + hex("038100")},
        ColorEncodingCase{"unnamed_system_colour_is_a_negative_int32", 0xFF000050,
                          QByteArrayLiteral("\x05" "Color") + hex("04500000FF")},
        ColorEncodingCase{"black_writes_no_colour", 0x00000000, QByteArray()},
        ColorEncodingCase{"clNone", 0x1FFFFFFF, QByteArrayLiteral("\x05" "Color\x07\x06" "clNone")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ColorFile, AllFiftyTwoIdentifiersRoundTrip) {
    const char* names[] = {
        "clBlack", "clMaroon", "clGreen", "clOlive", "clNavy", "clPurple", "clTeal", "clGray",
        "clSilver", "clRed", "clLime", "clYellow", "clBlue", "clFuchsia", "clAqua", "clWhite",
        "clMoneyGreen", "clSkyBlue", "clCream", "clMedGray", "clActiveBorder", "clActiveCaption",
        "clAppWorkSpace", "clBackground", "clBtnFace", "clBtnHighlight", "clBtnShadow", "clBtnText",
        "clCaptionText", "clDefault", "clGradientActiveCaption", "clGradientInactiveCaption",
        "clGrayText", "clHighlight", "clHighlightText", "clHotLight", "clInactiveBorder",
        "clInactiveCaption", "clInactiveCaptionText", "clInfoBk", "clInfoText", "clMenu",
        "clMenuBar", "clMenuHighlight", "clMenuText", "clNone", "clScrollBar", "cl3DDkShadow",
        "cl3DLight", "clWindow", "clWindowFrame", "clWindowText"};
    QSet<quint32> values;
    for (const char* name : names) {
        const std::optional<quint32> v = colorFromIdentifier(QString::fromLatin1(name));
        ASSERT_TRUE(v) << name;
        values.insert(*v);
        EXPECT_EQ(colorIdentifier(*v), QString::fromLatin1(name));
        EXPECT_EQ(colorFromIdentifier(QString::fromLatin1(name).toUpper()), v) << name;
    }
    EXPECT_EQ(values.size(), 52);
    EXPECT_EQ(colorFromIdentifier(QStringLiteral("clInfoBk")), 0xFF000018u);
    EXPECT_EQ(colorFromIdentifier(QStringLiteral("clSkyBlue")), 0x00F0CAA6u);
    EXPECT_FALSE(colorFromIdentifier(QStringLiteral("clOrange")));
    EXPECT_FALSE(colorIdentifier(0x00102030));
}

TEST(ColorFile, SixteenCustomColourLinesStandBetweenColorAndOptions) {
    ColorDialogState s = stateWithColor(0xFF00000F);
    s.customColors = sixteenCustomColors();
    const QByteArray bytes = serializeColorFile(s);

    QByteArray list = QByteArrayLiteral("\x14" "CustomColors.Strings\x01");
    for (const QString& line : s.customColors) {
        const QByteArray one = QByteArrayLiteral("\x06\x0F") + line.toLatin1();
        ASSERT_EQ(one.size(), 17);
        list += one;
    }
    list += '\0';
    const QByteArray colour = QByteArrayLiteral("\x05" "Color\x07\x09" "clBtnFace");
    const QByteArray options = QByteArrayLiteral("\x07Options");
    const qsizetype at = bytes.indexOf(colour);
    ASSERT_GE(at, 0);
    EXPECT_EQ(bytes.mid(at + colour.size(), list.size()), list);
    EXPECT_EQ(bytes.indexOf(options), at + colour.size() + list.size());
    EXPECT_EQ(bytes.size(), 125 + list.size());
    // The header's length counts the whole stream.
    EXPECT_EQ(quint8(bytes[18]) | (quint8(bytes[19]) << 8), bytes.size() - 22);

    ColorDialogState back;
    ASSERT_TRUE(parseColorFile(bytes, back).ok());
    EXPECT_EQ(back, s);
}

TEST(ColorFile, StringTagsFollowTheTextsForm) {
    struct Case {
        const char* name;
        QString line;
        quint8 tag;
    };
    const Case cases[] = {
        {"short ASCII", QStringLiteral("ColorA=00FF00"), 0x06},
        {"ASCII beyond 255 bytes", QString(300, u'a'), 0x0C},
        {"Japanese is shorter in UTF-8", QStringLiteral("色あい"), 0x12},
        {"mostly ASCII with one kana", QStringLiteral("ColorA=あ"), 0x14},
    };
    for (const Case& c : cases) {
        ColorDialogState s;
        s.customColors = {c.line};
        const QByteArray bytes = serializeColorFile(s);
        const QByteArray marker = QByteArrayLiteral("CustomColors.Strings\x01");
        const qsizetype at = bytes.indexOf(marker);
        ASSERT_GE(at, 0) << c.name;
        EXPECT_EQ(quint8(bytes[at + marker.size()]), c.tag) << c.name;
        ColorDialogState back;
        ASSERT_TRUE(parseColorFile(bytes, back).ok()) << c.name;
        EXPECT_EQ(back.customColors, s.customColors) << c.name;
    }
}

TEST(ColorFile, AbsentPropertiesKeepTheStateButAbsentColourIsBlack) {
    // Only "Color" and "Left" in the stream.
    QByteArray stream = QByteArrayLiteral("TPF0\x0CTColorDialog\x0C" "ColorDialog1");
    stream += QByteArrayLiteral("\x05" "Color\x07\x05" "clRed");
    stream += QByteArrayLiteral("\x04Left") + hex("0205");
    stream += hex("0000");
    QByteArray file = hex("FF0A00") + "TCOLORDIALOG" + hex("00") + hex("3010");
    file += char(stream.size());
    file += hex("000000") + stream;

    ColorDialogState s = distinctiveState();
    ASSERT_TRUE(parseColorFile(file, s).ok());
    EXPECT_EQ(s.color, 0x000000FFu);
    EXPECT_EQ(s.left, 5);
    EXPECT_EQ(s.top, 2);
    EXPECT_EQ(s.customColors, distinctiveState().customColors);
    EXPECT_EQ(s.options, distinctiveState().options);

    // A black file, written without "Color", sets black rather than keeping
    // the colour read before it.
    s = distinctiveState();
    ASSERT_TRUE(parseColorFile(serializeColorFile(stateWithColor(0)), s).ok());
    EXPECT_EQ(s.color, 0u);
}

TEST(ColorFile, ThirtyTwoBitResourceFormIsAccepted) {
    const QByteArray sixteen = serializeColorFile(stateWithColor(0x00102030));
    const QByteArray stream = streamOf(sixteen);
    QByteArray file = hex("0000000020000000FFFF0000FFFF0000") + QByteArray(16, '\0');
    // Entry header: DataSize, HeaderSize, type FFFF 000A, name, and the rest.
    QByteArray entry;
    QByteArray name;
    for (QChar c : QStringLiteral("TCOLORDIALOG")) name += char(c.unicode()) + QByteArray(1, '\0');
    name += QByteArray(2, '\0');
    QByteArray tail = hex("00000000") + hex("3010") + hex("1104") + hex("00000000") + hex("00000000");
    const int headerSize = 8 + 4 + name.size() + tail.size();
    auto u32 = [](quint32 v) {
        QByteArray b;
        for (int i = 0; i < 4; ++i) b += char((v >> (8 * i)) & 0xFF);
        return b;
    };
    entry = u32(stream.size()) + u32(headerSize) + hex("FFFF0A00") + name + tail;
    file += entry + stream;

    ColorDialogState s;
    ASSERT_TRUE(parseColorFile(file, s).ok());
    EXPECT_EQ(s.color, 0x00102030u);
}

TEST(ColorFile, ForeignOrDamagedFilesAreRejectedAndChangeNothing) {
    const QByteArray good = serializeColorFile(stateWithColor(0xFF00000F));
    auto patched = [&](int offset, const QByteArray& bytes) {
        QByteArray b = good;
        b.replace(offset, bytes.size(), bytes);
        return b;
    };
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty file", QByteArray()},
        {"first byte not FF", patched(0, hex("FE"))},
        {"resource type not 000A", patched(1, hex("0B00"))},
        {"no TPF0 signature", patched(22, QByteArrayLiteral("TPF1"))},
        {"stream length beyond the file", patched(18, hex("FFFFFF7F"))},
        {"unknown colour identifier", patched(0x3C, QByteArrayLiteral("clBtnFacX"))},
        {"unknown property", patched(0x35, QByteArrayLiteral("Colour"))},
        {"unknown option", patched(0x50, QByteArrayLiteral("dFullOpez"))},
        {"colour of a wrong type", patched(0x3A, hex("08"))},
        {"contained component", patched(124, hex("01"))},
        {"32-bit prefix with a wrong type",
         hex("0000000020000000FFFF0000FFFF0000") + QByteArray(16, '\0') + hex("0000000020000000FFFF0B00")},
        {"32-bit prefix with a huge header size",
         hex("0000000020000000FFFF0000FFFF0000") + QByteArray(16, '\0') + hex("10000000F0FFFFFFFFFF0A00")},
        {"a text file", QByteArrayLiteral("[HORIDAY]\r\n1=1\r\n")},
        {"a huge list length", QByteArrayLiteral("\xFF\x0A\x00TCOLORDIALOG\x00\x30\x10\x39\x00\x00\x00TPF0"
                                                 "\x0CTColorDialog\x0C" "ColorDialog1\x14"
                                                 "CustomColors.Strings\x01\x12\xFF\xFF\xFF\x7F")},
    };
    for (const Case& c : cases) {
        ColorDialogState s = distinctiveState();
        const Status st = parseColorFile(c.bytes, s);
        EXPECT_FALSE(st.ok()) << c.name;
        EXPECT_FALSE(st.error().isEmpty()) << c.name;
        EXPECT_EQ(s, distinctiveState()) << c.name;
    }
}

TEST(ColorFile, TruncationAtEveryOffsetFailsAndChangesNothing) {
    ColorDialogState full = stateWithColor(0x00102030);
    full.customColors = sixteenCustomColors();
    const QByteArray good = serializeColorFile(full);
    for (qsizetype n = 0; n < good.size(); ++n) {
        ColorDialogState s = distinctiveState();
        EXPECT_FALSE(parseColorFile(good.left(n), s).ok()) << "cut at " << n;
        EXPECT_EQ(s, distinctiveState()) << "cut at " << n;
    }
}

TEST(ColorFile, ReadAndWriteThroughFiles) {
    TempProgramDir dir;
    ColorDialogState s = stateWithColor(0x000000FF);
    s.customColors = sixteenCustomColors();
    ASSERT_TRUE(WriteColorFile(dir.path(QStringLiteral("mkrikinc.dat")), s).ok());
    EXPECT_EQ(dir.read(QStringLiteral("mkrikinc.dat")), serializeColorFile(s));

    ColorDialogState back;
    ASSERT_TRUE(ReadColorFile(dir.path(QStringLiteral("mkrikinc.dat")), back).ok());
    EXPECT_EQ(back, s);

    ColorDialogState untouched = distinctiveState();
    const Status missing = ReadColorFile(dir.path(QStringLiteral("nothing.dat")), untouched);
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error().contains(QStringLiteral("nothing.dat")));
    EXPECT_EQ(untouched, distinctiveState());

    // Far beyond any colour file: refused before it is parsed.
    dir.write(QStringLiteral("big.dat"), serializeColorFile(s) + QByteArray(2 << 20, '\0'));
    EXPECT_FALSE(ReadColorFile(dir.path(QStringLiteral("big.dat")), untouched).ok());
    EXPECT_EQ(untouched, distinctiveState());
}

TEST(ColorFile, ShippedFilesAreTheWritersOutput) {
    struct Shipped {
        const char* file;
        quint32 color;
    };
    const Shipped shipped[] = {
        {"mkrittlc.dat", 0xFF000002},  // clActiveCaption
        {"mkritexc.dat", 0xFF000008},  // clWindowText
        {"mkrimonc.dat", 0xFF000018},  // clInfoBk
        {"mkribodc.dat", 0xFF00000F},  // clBtnFace
        {"mkrikinc.dat", 0x000000FF},  // clRed
    };
    for (const Shipped& f : shipped) {
        const QString path = mekuri::test::shippedDataDir() + u'/' + QString::fromLatin1(f.file);
        EXPECT_EQ(readFileBytes(path), serializeColorFile(stateWithColor(f.color))) << f.file;
    }
}

// Every single-byte corruption either reads as some state or fails leaving
// the state as it was; none may read past the end (run under the sanitizer
// build) or change the state halfway.
TEST(ColorFile, CorruptedBytesNeverHalfChangeTheState) {
    ColorDialogState full = stateWithColor(0x00102030);
    full.customColors = sixteenCustomColors();
    const QByteArray good = serializeColorFile(full);
    for (qsizetype i = 0; i < good.size(); ++i) {
        for (char v : {char(0x00), char(0x01), char(0x7F), char(0xFF)}) {
            QByteArray bad = good;
            if (bad[i] == v) continue;
            bad[i] = v;
            ColorDialogState s = distinctiveState();
            if (!parseColorFile(bad, s).ok()) EXPECT_EQ(s, distinctiveState()) << "byte " << i;
        }
    }
}
