// Calendar colours, week start, nickname and window reset on the main
// window: what each command shows, what it writes (settings file, colour
// files byte for byte) and what a restart shows. Dialogs are scripted.
#include "app/tf_main.h"

#include "platform/month_calendar.h"
#include "platform/system_colors.h"
#include "scripted_dialogs.h"
#include "settings/color_file.h"
#include "settings/ini_file.h"
#include "settings/save_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QStatusBar>
#include <QTest>

#include <memory>

namespace mekuri {
namespace {

using test::ScriptedDialogs;
using test::TempProgramDir;

// ---- colour file bytes, built by hand from the format ----

QByteArray shortString(const QByteArray& s) { return char(s.size()) + s; }

QByteArray le32(quint32 v) {
    QByteArray b;
    for (int i = 0; i < 4; ++i) b += char((v >> (8 * i)) & 0xFF);
    return b;
}

// colorValue: the tagged value of "Color" (empty: no property).
QByteArray colorFileBytes(const QByteArray& colorValue, const QStringList& custom) {
    QByteArray stream = "TPF0" + shortString("TColorDialog") + shortString("ColorDialog1");
    if (!colorValue.isEmpty()) stream += shortString("Color") + colorValue;
    if (!custom.isEmpty()) {
        stream += shortString("CustomColors.Strings") + '\x01';
        for (const QString& line : custom) stream += '\x06' + shortString(line.toLatin1());
        stream += '\0';
    }
    stream += shortString("Options") + '\x0B' + shortString("cdFullOpen") +
              shortString("cdPreventFullOpen") + '\0';
    stream += shortString("Left") + QByteArray("\x03\x88\x00", 3);
    stream += shortString("Top") + QByteArray("\x03\xB8\x00", 3);
    stream += QByteArray(2, '\0');
    return QByteArray("\xFF\x0A\x00TCOLORDIALOG\x00\x30\x10", 18) + le32(quint32(stream.size())) + stream;
}

QByteArray identifierValue(const QByteArray& id) { return '\x07' + shortString(id); }

// "mkribodc.dat" right after the factory colours, without custom colours:
// the 125-byte example of the format.
QByteArray factoryBodyFileExample() {
    return QByteArray::fromHex(
        "FF0A0054434F4C4F524449414C4F4700"
        "301067000000545046300C54436F6C6F"
        "724469616C6F670C436F6C6F72446961"
        "6C6F673105436F6C6F720709636C4274"
        "6E46616365074F7074696F6E730B0A63"
        "6446756C6C4F70656E11636450726576"
        "656E7446756C6C4F70656E00044C6566"
        "7403880003546F7003B8000000");
}

QStringList sixteenCustomColors() {
    QStringList lines;
    for (int i = 0; i < 16; ++i) {
        lines << QStringLiteral("Color%1=%2").arg(QChar(u'A' + i)).arg(i == 2 ? "102030" : "FFFFFFFF");
    }
    return lines;
}

// A chooser stand-in that also records the state it was opened with.
class RecordingDialogs : public ScriptedDialogs {
public:
    bool chooseColor(ColorDialogState& state) override {
        openedWith.push_back(state);
        return ScriptedDialogs::chooseColor(state);
    }
    std::vector<ColorDialogState> openedWith;
};

class AppearanceTest : public ::testing::Test {
protected:
    void SetUp() override { dir.installAllShipped(); }

    std::unique_ptr<TF_MAIN> open() {
        auto w = std::make_unique<TF_MAIN>(AppPaths::fromFolder(dir.dir()));
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }
    IniFile settings() const { return IniFile::loadOrEmpty(dir.path(QStringLiteral("mkri.ini"))); }

    // The four main-window colour files, all with the same custom colours.
    void writeColorFiles(const QStringList& custom) const {
        dir.write(QStringLiteral("mkrittlc.dat"), colorFileBytes(identifierValue("clNavy"), custom));
        dir.write(QStringLiteral("mkritexc.dat"), colorFileBytes(identifierValue("clRed"), custom));
        dir.write(QStringLiteral("mkrimonc.dat"), colorFileBytes(identifierValue("clYellow"), custom));
        dir.write(QStringLiteral("mkribodc.dat"), colorFileBytes(identifierValue("clLime"), custom));
    }

    TempProgramDir dir;
    RecordingDialogs dialogs;
};

// ---- week start ----

TEST_F(AppearanceTest, WeekdayEntryStoresItsTagAndTheCalendarUsesItAtOnceAndAfterRestart) {
    const struct {
        const char* entry;
        const char16_t* caption;
        int stored;
    } cases[] = {
        {"POP_MON", u"月曜日", 0}, {"POP_TUES", u"火曜日", 1}, {"POP_WED", u"水曜日", 2},
        {"POP_THUR", u"木曜日", 3}, {"POP_FRI", u"金曜日", 4}, {"POP_SAT", u"土曜日", 5},
        {"POP_SUN", u"日曜日", 6},
    };
    for (const auto& c : cases) {
        {
            auto w = open();
            QAction* entry = w->action(c.entry);
            ASSERT_TRUE(entry && entry->isEnabled()) << c.entry;
            EXPECT_EQ(entry->text(), QString::fromUtf16(c.caption));
            // Start from a different day so the change is visible.
            w->MonthCalendar1()->setFirstDayOfWeek((c.stored + 3) % 7);
            entry->trigger();
            EXPECT_EQ(w->MonthCalendar1()->firstDayOfWeek(), c.stored) << c.entry;
            EXPECT_EQ(settings().value(QStringLiteral("FIRST_DAY"), QStringLiteral("0")),
                      QString::number(c.stored))
                << c.entry;
            EXPECT_FALSE(entry->isChecked());
        }
        EXPECT_EQ(open()->MonthCalendar1()->firstDayOfWeek(), c.stored) << c.entry;
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// ---- nickname ----

TEST_F(AppearanceTest, NicknameIsStoredAndBecomesTheCaption) {
    {
        auto w = open();
        dialogs.inputAnswers.push_back(QStringLiteral("ぽろん〜カレンダー"));
        w->action("POP_RENAME")->trigger();
        ASSERT_EQ(dialogs.prompts.size(), 1u);
        EXPECT_EQ(dialogs.prompts[0].caption, QStringLiteral("このソフトに愛称をつける"));
        EXPECT_EQ(dialogs.prompts[0].text, QStringLiteral("本名：ﾎﾟﾛﾝのあなたに合わせたｶﾚﾝﾀﾞｰ"));
        EXPECT_EQ(dialogs.prompts[0].initial, QStringLiteral("ﾎﾟﾛﾝのあなたに合わせたｶﾚﾝﾀﾞｰ"));
        EXPECT_EQ(w->windowTitle(), QStringLiteral("ぽろん〜カレンダー"));
    }
    auto w = open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ぽろん〜カレンダー"));
    // The prompt starts with the current caption.
    dialogs.inputAnswers.push_back(std::nullopt);
    w->action("POP_RENAME")->trigger();
    EXPECT_EQ(dialogs.prompts.back().initial, QStringLiteral("ぽろん〜カレンダー"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ぽろん〜カレンダー"));
}

TEST_F(AppearanceTest, EmptyNicknameIsStoredAsEmpty) {
    {
        auto w = open();
        dialogs.inputAnswers.push_back(QString());
        w->action("POP_RENAME")->trigger();
        EXPECT_EQ(w->windowTitle(), QString());
    }
    EXPECT_EQ(settings().value(QStringLiteral("MY_NAME"), QStringLiteral("0")), QString(""));
    EXPECT_EQ(open()->windowTitle(), QString());
}

TEST_F(AppearanceTest, CancelledNicknameChangesNothing) {
    auto w = open();
    dialogs.inputAnswers.push_back(std::nullopt);
    w->action("POP_RENAME")->trigger();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ﾎﾟﾛﾝのあなたに合わせたｶﾚﾝﾀﾞｰ"));
    EXPECT_FALSE(dir.exists(QStringLiteral("mkri.ini")));
}

// ---- factory size and position ----

TEST_F(AppearanceTest, FactorySizeAsksWithNoAsDefault) {
    auto w = open();
    w->setOuterBounds(QRect(300, 200, 500, 400));
    const QRect moved = w->outerBounds();

    dialogs.confirmAnswers.push_back(Answer::No);
    w->action("POP_SYUKKA_SIZE")->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("当ソフトを出荷時のサイズ・位置に戻しますか？\n\n[画面外に隠れた場合などの対処用]"));
    EXPECT_TRUE(dialogs.messages[0].focusNo);
    EXPECT_EQ(w->outerBounds(), moved);

    dialogs.confirmAnswers.push_back(Answer::Yes);
    w->action("POP_SYUKKA_SIZE")->trigger();
    EXPECT_EQ(w->outerBounds(), QRect(24, 24, 253, 306));
    EXPECT_FALSE(dir.exists(QStringLiteral("mkri.ini"))) << "the geometry waits for the close";
}

// ---- factory colours ----

TEST_F(AppearanceTest, FactoryColoursWriteTheFourFilesAndShowThem) {
    writeColorFiles({});
    auto w = open();
    dialogs.confirmAnswers.push_back(Answer::Yes);
    w->action("POP_SYOKI_IRO_RECOV")->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("ｶﾚﾝﾀﾞｰの色を出荷時に戻しますか？"));
    EXPECT_TRUE(dialogs.messages[0].focusNo);

    EXPECT_EQ(dir.read(QStringLiteral("mkribodc.dat")), factoryBodyFileExample());
    EXPECT_EQ(dir.read(QStringLiteral("mkribodc.dat")).size(), 125);
    EXPECT_EQ(dir.read(QStringLiteral("mkrittlc.dat")), colorFileBytes(identifierValue("clActiveCaption"), {}));
    EXPECT_EQ(dir.read(QStringLiteral("mkritexc.dat")), colorFileBytes(identifierValue("clWindowText"), {}));
    EXPECT_EQ(dir.read(QStringLiteral("mkrimonc.dat")), colorFileBytes(identifierValue("clInfoBk"), {}));

    MonthCalendar* cal = w->MonthCalendar1();
    EXPECT_EQ(cal->color(MonthCalendar::TitleBackground), colorFromValue(kClActiveCaption));
    EXPECT_EQ(cal->color(MonthCalendar::Text), colorFromValue(kClWindowText));
    EXPECT_EQ(cal->color(MonthCalendar::MonthBackground), colorFromValue(kClInfoBk));
    EXPECT_EQ(w->bodyColor(), colorFromValue(kClBtnFace));
    EXPECT_EQ(w->StatusBar1()->palette().color(QPalette::Window), colorFromValue(kClBtnFace));
}

TEST_F(AppearanceTest, FactoryColoursCarryTheChoosersCustomColours) {
    const QStringList custom = sixteenCustomColors();
    writeColorFiles(custom);
    auto w = open();
    dialogs.confirmAnswers.push_back(Answer::Yes);
    w->action("POP_SYOKI_IRO_RECOV")->trigger();
    EXPECT_EQ(dir.read(QStringLiteral("mkrittlc.dat")), colorFileBytes(identifierValue("clActiveCaption"), custom));
    EXPECT_EQ(dir.read(QStringLiteral("mkritexc.dat")), colorFileBytes(identifierValue("clWindowText"), custom));
    EXPECT_EQ(dir.read(QStringLiteral("mkrimonc.dat")), colorFileBytes(identifierValue("clInfoBk"), custom));
    EXPECT_EQ(dir.read(QStringLiteral("mkribodc.dat")), colorFileBytes(identifierValue("clBtnFace"), custom));
    // The 16 lines (17 bytes each, ColorC=102030 two fewer) stand between
    // Color and Options.
    EXPECT_EQ(dir.read(QStringLiteral("mkribodc.dat")).size(), 125 + 22 + 16 * 17 - 2 + 1);
}

TEST_F(AppearanceTest, FactoryColoursAnsweredNoChangeNothing) {
    writeColorFiles({});
    auto w = open();
    const QByteArray before = dir.read(QStringLiteral("mkrittlc.dat"));
    const QColor title = w->MonthCalendar1()->color(MonthCalendar::TitleBackground);
    dialogs.confirmAnswers.push_back(Answer::No);
    w->action("POP_SYOKI_IRO_RECOV")->trigger();
    EXPECT_EQ(dir.read(QStringLiteral("mkrittlc.dat")), before);
    EXPECT_EQ(w->MonthCalendar1()->color(MonthCalendar::TitleBackground), title);
}

// ---- window body colour ----

TEST_F(AppearanceTest, BodyColourOpensWithTheStoredStateAndWritesTheChoice) {
    writeColorFiles({});
    // The body file now holds other custom colours than the chooser had at start.
    const QStringList stored = sixteenCustomColors();
    dir.write(QStringLiteral("mkribodc.dat"), colorFileBytes(identifierValue("clSilver"), stored));
    auto w = open();
    ASSERT_EQ(w->action("POP_BODY_C")->data().toInt(), 4);
    QStringList chosenCustom = stored;
    chosenCustom[0] = QStringLiteral("ColorA=0000FF");
    dialogs.colorAnswers.push_back(0x00102030u);
    dialogs.customColorsOnOk = chosenCustom;
    w->action("POP_BODY_C")->trigger();

    ASSERT_EQ(dialogs.openedWith.size(), 1u);
    EXPECT_EQ(dialogs.openedWith[0].color, 0x00C0C0C0u);
    EXPECT_EQ(dialogs.openedWith[0].customColors, stored);
    EXPECT_EQ(w->bodyColor(), QColor(0x30, 0x20, 0x10));
    EXPECT_EQ(w->StatusBar1()->palette().color(QPalette::Window), QColor(0x30, 0x20, 0x10));
    EXPECT_EQ(dir.read(QStringLiteral("mkribodc.dat")),
              colorFileBytes(QByteArray("\x04\x30\x20\x10\x00", 5), chosenCustom));
    EXPECT_TRUE(dialogs.messages.empty());

    // And the next start shows it.
    EXPECT_EQ(open()->bodyColor(), QColor(0x30, 0x20, 0x10));
}

TEST_F(AppearanceTest, BodyColourCancelledChangesNothing) {
    writeColorFiles({});
    auto w = open();
    const QByteArray before = dir.read(QStringLiteral("mkribodc.dat"));
    const QColor body = w->bodyColor();
    dialogs.colorAnswers.push_back(std::nullopt);
    w->action("POP_BODY_C")->trigger();
    EXPECT_EQ(w->bodyColor(), body);
    EXPECT_EQ(dir.read(QStringLiteral("mkribodc.dat")), before);
}

TEST_F(AppearanceTest, UnwritableBodyFileShowsTheColourKeepsTheOldBytesAndReports) {
    writeColorFiles({});
    auto w = open();
    const QByteArray before = dir.read(QStringLiteral("mkribodc.dat"));
    dialogs.colorAnswers.push_back(0x000000FFu);
    setCommitHookForTesting([](const QString&) { return false; });
    w->action("POP_BODY_C")->trigger();
    setCommitHookForTesting({});
    EXPECT_EQ(w->bodyColor(), QColor(Qt::red));
    EXPECT_EQ(dir.read(QStringLiteral("mkribodc.dat")), before);
    EXPECT_EQ(dialogs.texts(MessageIcon::Error).size(), 1);
}

TEST_F(AppearanceTest, BadBodyFileStopsBeforeTheChooserOpens) {
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"not a colour file", QByteArrayLiteral("hello")},
        {"custom colour that is not hexadecimal",
         colorFileBytes(identifierValue("clLime"), {QStringLiteral("ColorA=XYZ")})},
    };
    for (const auto& c : cases) {
        writeColorFiles({});
        auto w = open();
        const QColor body = w->bodyColor();
        dir.write(QStringLiteral("mkribodc.dat"), c.bytes);
        dialogs.clear();
        dialogs.openedWith.clear();
        w->action("POP_BODY_C")->trigger();
        EXPECT_TRUE(dialogs.openedWith.empty()) << c.name;
        EXPECT_EQ(dialogs.texts(MessageIcon::Error).size(), 1) << c.name;
        EXPECT_EQ(w->bodyColor(), body) << c.name;
        EXPECT_EQ(dir.read(QStringLiteral("mkribodc.dat")), c.bytes) << c.name;
    }
}

}  // namespace
}  // namespace mekuri
