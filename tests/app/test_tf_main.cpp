// The main window driven offscreen: startup from the settings file, close,
// hints on the status line, bold days from the holiday file, the automatic
// restore, and the colour files at start. Dialogs are scripted.
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
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QFile>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

// Readable rectangles in failure messages.
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

namespace mekuri {
namespace {

using test::ScriptedDialogs;
using test::TempProgramDir;

const QString kMenuNote = QStringLiteral("ﾒﾆｭｰの表示はｿﾌﾄ内を右ｸﾘｯｸ");

// A valid ten-slot holiday file with January 1..5.
QByteArray januaryHolidays() {
    return QByteArrayLiteral("[h10]\r\n1=10\r\n\r\n[HORIDAY]\r\n1=1,2,3,4,5,0,0,0,0,0\r\n");
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.installAllShipped();
        dir.write(QStringLiteral("horiday.txt"), januaryHolidays());
    }

    std::unique_ptr<TF_MAIN> open() {
        auto w = std::make_unique<TF_MAIN>(AppPaths::fromFolder(dir.dir()));
        if (!w->quitRequested()) {
            w->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        }
        return w;
    }

    IniFile settings() const { return IniFile::loadOrEmpty(dir.path(QStringLiteral("mkri.ini"))); }

    TempProgramDir dir;
    ScriptedDialogs dialogs;
};

// ---- startup without a settings file, then the first close ----

TEST_F(MainWindowTest, NoSettingsFileOpensWithTheDefaultsAndCloseCreatesIt) {
    auto w = open();
    EXPECT_EQ(w->outerBounds(), QRect(24, 24, 253, 306));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ﾎﾟﾛﾝのあなたに合わせたｶﾚﾝﾀﾞｰ"));
    EXPECT_TRUE(w->ToolBar1()->isVisible());
    EXPECT_TRUE(w->action("POP_MENU")->isChecked());
    EXPECT_TRUE(w->action("POP_KAISHI_ADD")->isChecked());
    EXPECT_EQ(w->MonthCalendar1()->firstDayOfWeek(), 0);
    EXPECT_EQ(w->MonthCalendar1()->selectedDate(), QDate::currentDate());
    EXPECT_EQ(w->statusText(), QString());
    EXPECT_FALSE(dir.exists(QStringLiteral("mkri.ini"))) << "startup wrote the settings file";

    w->close();
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_TRUE(dir.exists(QStringLiteral("mkri.ini")));
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")),
              QByteArrayLiteral("[Form]\r\nSTATE=0\r\nLEFT=24\r\nTOP=24\r\nWIDTH=253\r\nHEIGHT=306\r\n"
                                "\r\n[MENU]\r\n0=1\r\n\r\n"));
}

// ---- startup from a settings file ----

struct StartupCase {
    const char* name;
    const char16_t* ini;
    QRect bounds;
    const char16_t* caption;  // nullptr: the application title
    bool toolBar;
    const char16_t* status;
    int firstDay;
    bool includeStartDay;
};

const StartupCase kStartupCases[] = {
    {"menu_display_off_hides_the_tool_bar_with_a_note", u"[MENU]\r\n0=0\r\n", {24, 24, 253, 306},
     nullptr, false, u"ﾒﾆｭｰの表示はｿﾌﾄ内を右ｸﾘｯｸ", 0, true},
    {"hex_left_is_read", u"[Form]\r\nLEFT=0x20\r\n", {32, 24, 253, 306}, nullptr, true, u"", 0,
     true},
    {"unreadable_left_gives_the_default", u"[Form]\r\nLEFT=abc\r\nTOP=70\r\n",
     {24, 70, 253, 306}, nullptr, true, u"", 0, true},
    {"stored_bounds_are_applied_as_they_are",
     u"[Form]\r\nLEFT=5000\r\nTOP=3000\r\nWIDTH=400\r\nHEIGHT=500\r\n", {5000, 3000, 400, 500},
     nullptr, true, u"", 0, true},
    {"state_2_is_never_read", u"[Form]\r\nSTATE=2\r\nLEFT=50\r\n", {50, 24, 253, 306}, nullptr,
     true, u"", 0, true},
    {"empty_nickname_gives_an_empty_caption", u"[MY_NAME]\r\n0=\r\n", {24, 24, 253, 306}, u"",
     true, u"", 0, true},
    {"nickname_is_the_caption", u"[MY_NAME]\r\n0=ぼくのカレンダー\r\n", {24, 24, 253, 306},
     u"ぼくのカレンダー", true, u"", 0, true},
    {"sections_and_keys_ignore_case", u"[form]\r\nleft=100\r\n[menu]\r\n0=0\r\n",
     {100, 24, 253, 306}, nullptr, false, u"ﾒﾆｭｰの表示はｿﾌﾄ内を右ｸﾘｯｸ", 0, true},
    {"sunday_first", u"[FIRST_DAY]\r\n0=6\r\n", {24, 24, 253, 306}, nullptr, true, u"", 6, true},
    {"first_day_out_of_range_is_monday", u"[FIRST_DAY]\r\n0=7\r\n", {24, 24, 253, 306}, nullptr,
     true, u"", 0, true},
    {"start_day_not_counted", u"[KAISHI_ADD]\r\n0=0\r\n", {24, 24, 253, 306}, nullptr, true, u"",
     0, false},
};

class StartupTest : public MainWindowTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(StartupTest, ReadsTheSettingsFileWithoutWritingIt) {
    const StartupCase& c = GetParam();
    const QByteArray bytes = test::cp932(QString::fromUtf16(c.ini));
    dir.write(QStringLiteral("mkri.ini"), bytes);

    auto w = open();
    EXPECT_EQ(w->outerBounds(), c.bounds);
    EXPECT_EQ(w->windowState(), Qt::WindowNoState);
    EXPECT_EQ(w->windowTitle(),
              c.caption ? QString::fromUtf16(c.caption) : QStringLiteral("ﾎﾟﾛﾝのあなたに合わせたｶﾚﾝﾀﾞｰ"));
    EXPECT_EQ(w->ToolBar1()->isVisible(), c.toolBar);
    EXPECT_EQ(w->action("POP_MENU")->isChecked(), c.toolBar);
    EXPECT_EQ(w->statusText(), QString::fromUtf16(c.status));
    EXPECT_EQ(w->MonthCalendar1()->firstDayOfWeek(), c.firstDay);
    EXPECT_EQ(w->action("POP_KAISHI_ADD")->isChecked(), c.includeStartDay);
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), bytes) << "startup wrote the settings file";
    EXPECT_TRUE(dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Settings, StartupTest, ::testing::ValuesIn(kStartupCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- close ----

TEST_F(MainWindowTest, MaximizedCloseWritesState2AndKeepsTheNormalGeometry) {
    dir.write(QStringLiteral("mkri.ini"),
              QByteArrayLiteral("[Form]\r\nLEFT=40\r\nTOP=50\r\nWIDTH=300\r\nHEIGHT=320\r\n"));
    {
        auto w = open();
        w->showMaximized();
        QTest::qWait(20);
        ASSERT_TRUE(w->isMaximized());
        w->close();
    }
    const IniFile ini = settings();
    EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("STATE"), -1), 2);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), -1), 40);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("TOP"), -1), 50);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("WIDTH"), -1), 300);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("HEIGHT"), -1), 320);

    // The next start opens normal, at the older geometry.
    auto again = open();
    EXPECT_FALSE(again->isMaximized());
    EXPECT_EQ(again->outerBounds(), QRect(40, 50, 300, 320));
}

TEST_F(MainWindowTest, CloseWritesTheMovedGeometryAndTheMenuDisplay) {
    auto w = open();
    w->setOuterBounds(QRect(111, 122, 333, 344));
    w->POP_MENUClick();  // off
    w->close();
    const IniFile ini = settings();
    EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("STATE"), -1), 0);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), -1), 111);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("TOP"), -1), 122);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("WIDTH"), -1), 333);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("HEIGHT"), -1), 344);
    EXPECT_EQ(ini.readString(QStringLiteral("MENU"), QStringLiteral("0"), QString()),
              QStringLiteral("0"));
}

TEST_F(MainWindowTest, CloseKeepsTheOtherSettingsButNotTheComments) {
    // Comments, blank lines and blanks around "=" go with the first write;
    // the values stay.
    const QByteArray before = test::cp932(QStringLiteral(
        "; mine\r\n[KAISHI_ADD]\r\n 0 = 0 \r\n\r\n\r\n[MY_NAME]\r\n0=愛称\r\n[Form]\r\nLEFT = 30\r\n"));
    dir.write(QStringLiteral("mkri.ini"), before);
    open()->close();
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")),
              test::cp932(QStringLiteral(
                  "[KAISHI_ADD]\r\n0=0\r\n\r\n[MY_NAME]\r\n0=愛称\r\n\r\n"
                  "[Form]\r\nLEFT=30\r\nSTATE=0\r\nTOP=24\r\nWIDTH=253\r\nHEIGHT=306\r\n\r\n"
                  "[MENU]\r\n0=1\r\n\r\n")));
}

TEST_F(MainWindowTest, MinimizedCloseWritesState1WithTheGeometry) {
    dir.write(QStringLiteral("mkri.ini"),
              QByteArrayLiteral("[Form]\r\nLEFT=40\r\nTOP=50\r\nWIDTH=300\r\nHEIGHT=320\r\n"));
    auto w = open();
    w->showMinimized();
    QTest::qWait(20);
    ASSERT_TRUE(w->isMinimized());
    w->close();
    const IniFile ini = settings();
    EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("STATE"), -1), 1);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), -1), 40);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Form"), QStringLiteral("WIDTH"), -1), 300);
}

TEST_F(MainWindowTest, MarkedUtf8SettingsAreReadAndWrittenBackMarked) {
    const QByteArray bom = QByteArrayLiteral("\xEF\xBB\xBF");
    dir.write(QStringLiteral("mkri.ini"),
              bom + QStringLiteral("[MY_NAME]\r\n0=こよみ〜\r\n").toUtf8());
    auto w = open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("こよみ〜"));
    w->close();
    const QByteArray after = dir.read(QStringLiteral("mkri.ini"));
    EXPECT_TRUE(after.startsWith(bom + QStringLiteral("[MY_NAME]\r\n0=こよみ〜\r\n").toUtf8()));
    EXPECT_TRUE(after.contains("\r\n[MENU]\r\n0=1\r\n"));
}

TEST_F(MainWindowTest, EndCommandClosesThroughTheSameCloseHandling) {
    auto w = open();
    w->action("POP_END")->trigger();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(dir.exists(QStringLiteral("mkri.ini")));
}

struct UnwritableCase {
    const char* name;
    bool readOnlyFile;  // else: the replacing commit fails (a full disk)
};

class UnwritableTest : public MainWindowTest,
                       public ::testing::WithParamInterface<UnwritableCase> {
protected:
    void TearDown() override {
        setCommitHookForTesting(nullptr);
        QFile::setPermissions(dir.path(QStringLiteral("mkri.ini")),
                              QFile::ReadOwner | QFile::WriteOwner);
    }
};

TEST_P(UnwritableTest, SettingsThatCannotBeWrittenAreReportedOnceAndTheWindowCloses) {
    const QByteArray before = QByteArrayLiteral("[Form]\r\nLEFT=60\r\n\r\n");
    dir.write(QStringLiteral("mkri.ini"), before);
    auto w = open();
    if (GetParam().readOnlyFile) {
        QFile::setPermissions(dir.path(QStringLiteral("mkri.ini")), QFile::ReadOwner | QFile::ReadGroup);
    } else {
        setCommitHookForTesting([](const QString&) { return false; });
    }
    w->close();
    EXPECT_FALSE(w->isVisible());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, MessageIcon::Error);
    EXPECT_FALSE(dialogs.messages[0].text.isEmpty());
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), before);
}

INSTANTIATE_TEST_SUITE_P(Close, UnwritableTest,
                         ::testing::Values(UnwritableCase{"read_only_file", true},
                                           UnwritableCase{"failed_replace", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- menu display ----

TEST_F(MainWindowTest, MenuDisplayToggleHidesTheToolBarAndKeepsTheNote) {
    auto w = open();
    w->setStatusText(QStringLiteral("readout"));
    w->POP_MENUClick();
    EXPECT_FALSE(w->action("POP_MENU")->isChecked());
    EXPECT_FALSE(w->ToolBar1()->isVisible());
    EXPECT_EQ(w->statusText(), kMenuNote);
    EXPECT_EQ(w->outerBounds().size(), QSize(253, 306));

    w->POP_MENUClick();
    EXPECT_TRUE(w->action("POP_MENU")->isChecked());
    EXPECT_TRUE(w->ToolBar1()->isVisible());
    EXPECT_EQ(w->statusText(), kMenuNote) << "switching on leaves the status line";
    EXPECT_FALSE(dir.exists(QStringLiteral("mkri.ini"))) << "written only at close";
}

TEST_F(MainWindowTest, MenuDisplayEntryInvertsItsCheckMarkOncePerChoice) {
    auto w = open();
    w->action("POP_MENU")->trigger();
    EXPECT_FALSE(w->action("POP_MENU")->isChecked());
    EXPECT_FALSE(w->ToolBar1()->isVisible());
    w->action("POP_MENU")->trigger();
    EXPECT_TRUE(w->action("POP_MENU")->isChecked());
    EXPECT_TRUE(w->ToolBar1()->isVisible());
}

// ---- controls, captions and order ----

QStringList captions(const QMenu* m) {
    QStringList out;
    for (const QAction* a : m->actions()) out.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

TEST_F(MainWindowTest, MenusHoldEveryEntryInOrderWithExactCaptions) {
    auto w = open();
    EXPECT_EQ(captions(w->menu("POP_EDIT_MN")),
              (QStringList{"メニューの表示", "-", "今日", "日付指定...", "日付指定２...", "平成換算",
                           "昭和換算", "-", "和暦→西暦...", "西暦→和暦", "-", "和暦コピー",
                           "和暦コピー　曜日付", "西暦コピー", "西暦コピー　曜日付", "-", "陰暦", "-",
                           "マイカレンダー作成...", "そのまま印刷...", "-", "終了"}));
    EXPECT_EQ(captions(w->menu("POP_SETTEI_MN")),
              (QStringList{"日数計算で開始日を含める", "-", "色変更", "開始曜日",
                           "このソフトに愛称をつける...", "出荷時サイズ・位置に戻す...", "-",
                           "ﾌｧｲﾙを指定して休日を最新にする", "出荷時の休日にする", "休日変更...",
                           "年を指定して休日を作成...", "-",
                           "説明書", "お読み下さい", "-", "バージョン情報..."}));
    EXPECT_EQ(captions(w->menu("POP_COLOR")), (QStringList{"本体色...", "-", "初期色復旧"}));
    EXPECT_EQ(captions(w->menu("POP_KAISI")),
              (QStringList{"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"}));
    EXPECT_EQ(captions(w->menu("POP_SHIORI_MN")).mid(0, 2), (QStringList{"しおり日の追加...", "-"}));

    QStringList buttons;
    for (QAction* a : w->ToolBar1()->actions()) {
        auto* b = qobject_cast<QToolButton*>(w->ToolBar1()->widgetForAction(a));
        ASSERT_NE(b, nullptr);
        buttons.append(b->objectName() + u'=' + b->text());
    }
    EXPECT_EQ(buttons, (QStringList{"TOOL_BAR_EDIT=編集", "TOOL_BAR_SHIORI=しおり",
                                    "TOOL_BAR_DATE=開始", "TOOL_BAR_SETTEI=設定"}));
    EXPECT_EQ(w->toolButton("TOOL_BAR_EDIT")->menu(), w->menu("POP_EDIT_MN"));
    EXPECT_EQ(w->toolButton("TOOL_BAR_SHIORI")->menu(), w->menu("POP_SHIORI_MN"));
    EXPECT_EQ(w->toolButton("TOOL_BAR_SETTEI")->menu(), w->menu("POP_SETTEI_MN"));
    EXPECT_TRUE(w->action("TOOL_BAR_DATE")->isCheckable());

    struct Tagged {
        const char* name;
        int tag;
    };
    for (const Tagged& t : {Tagged{"POP_COPY_WAREKI", 100}, Tagged{"POP_COPY_WA2", 200},
                            Tagged{"POP_COPY_SEIREKI", 300}, Tagged{"POP_COPY_SE2", 400},
                            Tagged{"POP_BODY_C", 4}, Tagged{"POP_SUN", 6}, Tagged{"POP_MON", 0},
                            Tagged{"POP_SAT", 5}}) {
        ASSERT_NE(w->action(t.name), nullptr) << t.name;
        EXPECT_EQ(w->action(t.name)->data().toInt(), t.tag) << t.name;
    }
}

TEST_F(MainWindowTest, WindowControlsHaveTheirFixedSettings) {
    auto w = open();
    EXPECT_EQ(w->StatusBar1()->height(), 21);
    EXPECT_EQ(w->font().pixelSize(), 12);
    EXPECT_EQ(w->MonthCalendar1()->font().pixelSize(), 15);
    EXPECT_TRUE(w->MonthCalendar1()->weekNumbers());
    EXPECT_EQ(w->MonthCalendar1()->minimumDate(), QDate(1900, 1, 1));
    EXPECT_EQ(w->MonthCalendar1()->maximumDate(), QDate(2087, 12, 31));
    EXPECT_EQ(w->MonthCalendar1()->color(MonthCalendar::Background), QColor(255, 255, 255));
    EXPECT_EQ(w->MonthCalendar1()->color(MonthCalendar::TitleText), QColor(255, 255, 255));
    EXPECT_EQ(w->MonthCalendar1()->color(MonthCalendar::TrailingText),
              colorFromValue(kClInactiveCaptionText));
}

TEST_F(MainWindowTest, RightClickAnywhereOpensTheEditMenu) {
    auto w = open();
    for (QWidget* target : {static_cast<QWidget*>(w->MonthCalendar1()),
                            static_cast<QWidget*>(w->StatusBar1()),
                            static_cast<QWidget*>(w->ToolBar1())}) {
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                                target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &click);
        EXPECT_TRUE(w->menu("POP_EDIT_MN")->isVisible()) << target->objectName().toStdString();
        w->menu("POP_EDIT_MN")->hide();
    }
}

TEST_F(MainWindowTest, TheApplicationIdentifierReachesTheDesktop) {
    auto w = open();
#ifndef Q_OS_WIN
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("HarukazeSoft.mekuri.s.370"));
#endif
}

// ---- hints ----

struct HintForm {
    const char* hint;
    const char* shortForm;
    const char* longForm;
};

TEST(HintForms, ShortIsBeforeTheFirstBarLongAfterIt) {
    const HintForm cases[] = {
        {"plain", "plain", "plain"},
        {"tip|status", "tip", "status"},
        {"tip only|", "tip only", ""},
        {"|status only", "", "status only"},
        {"a|b|c", "a", "b|c"},
        {"", "", ""},
    };
    for (const HintForm& c : cases) {
        EXPECT_EQ(TF_MAIN::shortHint(QString::fromUtf8(c.hint)), QString::fromUtf8(c.shortForm)) << c.hint;
        EXPECT_EQ(TF_MAIN::longHint(QString::fromUtf8(c.hint)), QString::fromUtf8(c.longForm)) << c.hint;
    }
}

// Highlights entry in its open menu as the pointer or the keyboard would.
void highlight(QMenu* menu, QAction* entry) {
    menu->popup(QPoint(10, 10));
    QTest::qWait(10);
    menu->setActiveAction(entry);
}

TEST_F(MainWindowTest, MenuHintsReachTheStatusLine) {
    auto w = open();
    struct Case {
        const char* menu;
        const char* entry;
        const char16_t* status;
    };
    const Case cases[] = {
        {"POP_EDIT_MN", "POP_TODAY", u"今日の日付へジャンプ"},
        {"POP_EDIT_MN", "POP_MENU", u"メニュー表示のON/OFFです"},
        {"POP_EDIT_MN", "POP_PRINT", u"カレンダーを印刷します"},
        {"POP_SETTEI_MN", "POP_KYUJITSU", u"休日(horiday.txt)を変更します"},
        {"POP_SETTEI_MN", "POP_COLOR", u"カレンダー色を変更します"},
        {"POP_SETTEI_MN", "POP_KAISI", u"週の始まりの曜日を変更します"},
        {"POP_COLOR", "POP_SYOKI_IRO_RECOV", u"出荷時の色に戻します"},
    };
    for (const Case& c : cases) {
        w->setStatusText(QStringLiteral("readout"));
        QMenu* m = w->menu(c.menu);
        highlight(m, w->action(c.entry));
        EXPECT_EQ(w->statusText(), QString::fromUtf16(c.status)) << c.entry;
        m->hide();
        EXPECT_EQ(w->statusText(), QString()) << "closing the menu takes the hint away";
    }

    // An entry without a hint clears what the previous entry showed.
    QMenu* edit = w->menu("POP_EDIT_MN");
    highlight(edit, w->action("POP_TODAY"));
    ASSERT_EQ(w->statusText(), QStringLiteral("今日の日付へジャンプ"));
    edit->setActiveAction(w->action("POP_KEIKA"));
    EXPECT_EQ(w->statusText(), QString());
    edit->hide();

    // Only a change of the hint writes the status line: a readout written
    // after the menu closed stays while the pointer meets nothing new.
    w->setStatusText(QStringLiteral("readout"));
    highlight(edit, w->action("POP_KEIKA"));
    EXPECT_EQ(w->statusText(), QStringLiteral("readout"));
    edit->hide();
}

TEST_F(MainWindowTest, StartButtonHintIsOnlyATooltip) {
    auto w = open();
    QAction* start = w->action("TOOL_BAR_DATE");
    EXPECT_EQ(TF_MAIN::hintOf(start), QStringLiteral("先に開始日を指定して下さい|"));
    EXPECT_EQ(start->toolTip(), QStringLiteral("先に開始日を指定して下さい"));

    // Pointing at the button sets its (empty) long form: the readout goes.
    w->setStatusText(QStringLiteral("readout"));
    QToolButton* button = w->toolButton("TOOL_BAR_DATE");
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(button, &enter);
    EXPECT_EQ(w->statusText(), QString());

    // A button without a hint after it changes nothing (the hint stays empty).
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    w->setStatusText(QStringLiteral("readout"));
    QToolButton* edit = w->toolButton("TOOL_BAR_EDIT");
    QApplication::sendEvent(edit, &enter);
    EXPECT_EQ(w->statusText(), QStringLiteral("readout"));
}

// ---- bold days ----

struct BoldCase {
    const char* name;
    const char* holidays;
    quint32 january;
};

const BoldCase kBoldCases[] = {
    {"ten_slots", "[h10]\r\n1=10\r\n\r\n[HORIDAY]\r\n1=1,2,3,4,5,0,0,0,0,0\r\n", 0x1Fu},
    {"four_slots_without_marker", "[HORIDAY]\r\n1=1,2,3,4,5,0,0,0,0,0\r\n", 0x0Fu},
    {"no_holiday_file", nullptr, 0u},
};

class BoldDaysTest : public MainWindowTest, public ::testing::WithParamInterface<BoldCase> {};

TEST_P(BoldDaysTest, TheHolidayTableReachesTheShownMonthsOfEveryYear) {
    const BoldCase& c = GetParam();
    if (c.holidays) {
        dir.write(QStringLiteral("horiday.txt"), QByteArray(c.holidays));
    } else {
        QFile::remove(dir.path(QStringLiteral("horiday.txt")));
    }
    auto w = open();
    ASSERT_FALSE(w->quitRequested());
    EXPECT_EQ(w->MonthCalendar1GetMonthInfo(1), c.january);
    EXPECT_EQ(w->MonthCalendar1GetMonthInfo(13), c.january) << "months past December wrap";
    for (int year : {1990, 2030}) {
        w->MonthCalendar1()->setSelectedDate(QDate(year, 1, 15));
        QTest::qWait(1);
        EXPECT_EQ(w->MonthCalendar1()->boldMaskFor(year, 1), c.january) << year;
        EXPECT_EQ(w->MonthCalendar1()->boldMaskFor(year, 1) & (1u << 5), 0u) << "6 Jan is no holiday";
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Holidays, BoldDaysTest, ::testing::ValuesIn(kBoldCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- automatic restore ----

TEST_F(MainWindowTest, FaultyHolidayFileIsRestoredAndTheProgramEndsWithoutSaving) {
    const QByteArray faulty = QByteArrayLiteral("[h10]\r\n1=10\r\n[HORIDAY]\r\n1=1,2,3,4\r\n");
    dir.write(QStringLiteral("horiday.txt"), faulty);
    const QByteArray settingsBefore = QByteArrayLiteral("[Form]\r\nLEFT=77\r\n\r\n");
    dir.write(QStringLiteral("mkri.ini"), settingsBefore);

    auto w = std::make_unique<TF_MAIN>(AppPaths::fromFolder(dir.dir()));
    EXPECT_TRUE(w->quitRequested());
    EXPECT_EQ(dialogs.texts(MessageIcon::Warning),
              QStringList{QStringLiteral("休日の設定に間違いがあったようです\n\n"
                                         "このまま自動復旧処理を行い、そのまま終了します\n\n"
                                         "ただし、休日は出荷時の値に設定されます\n\n"
                                         "お手数ですが、ソフトを再起動して下さい")});
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dir.read(QStringLiteral("horiday.txt")), dir.read(QStringLiteral("horiday0.txt")));
    EXPECT_EQ(dir.read(QStringLiteral("horiday.bak.txt")), faulty) << "the user's text is kept";

    // Even a close now leaves the settings file as it was.
    w->close();
    w.reset();
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), settingsBefore);

    // The next start reads the restored file.
    dialogs.clear();
    auto next = open();
    EXPECT_FALSE(next->quitRequested());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, RestoreWithoutFactoryFileReportsAndStillEnds) {
    const QByteArray faulty = QByteArrayLiteral("[HORIDAY]\r\n1=\r\n");
    dir.write(QStringLiteral("horiday.txt"), faulty);
    QFile::remove(dir.path(QStringLiteral("horiday0.txt")));

    TF_MAIN w(AppPaths::fromFolder(dir.dir()));
    EXPECT_TRUE(w.quitRequested());
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].kind, MessageIcon::Warning);
    EXPECT_EQ(dialogs.messages[1].kind, MessageIcon::Error);
    EXPECT_EQ(dir.read(QStringLiteral("horiday.txt")), faulty);
    EXPECT_FALSE(dir.exists(QStringLiteral("mkri.ini")));
}

// ---- colour files at start ----

QByteArray colorFile(quint32 color) {
    ColorDialogState state;
    state.color = color;
    return serializeColorFile(state);
}

struct ColorCase {
    const char* name;
    const char16_t* file;
    bool missing;  // else: garbage bytes
};

class ColorFileTest : public MainWindowTest, public ::testing::WithParamInterface<ColorCase> {};

TEST_P(ColorFileTest, ABadColorFileGivesItsTargetTheFactoryColourAndTheRestStillApply) {
    // Each file its own colour, so every target shows which file it got.
    dir.write(QStringLiteral("mkrittlc.dat"), colorFile(0x000000FFu));  // red
    dir.write(QStringLiteral("mkritexc.dat"), colorFile(0x0000FF00u));  // lime
    dir.write(QStringLiteral("mkrimonc.dat"), colorFile(0x00FF0000u));  // blue
    dir.write(QStringLiteral("mkribodc.dat"), colorFile(0x00102030u));
    const QString bad = QString::fromUtf16(GetParam().file);
    if (GetParam().missing) {
        QFile::remove(dir.path(bad));
    } else {
        dir.write(bad, QByteArrayLiteral("not a colour file"));
    }

    auto w = open();
    EXPECT_FALSE(w->quitRequested());
    EXPECT_TRUE(dialogs.messages.empty());
    MonthCalendar* cal = w->MonthCalendar1();
    auto expect = [&](const char16_t* file, quint32 stored, quint32 factory) {
        return colorFromValue(bad == QString::fromUtf16(file) ? factory : stored);
    };
    EXPECT_EQ(cal->color(MonthCalendar::TitleBackground), expect(u"mkrittlc.dat", 0xFFu, kClActiveCaption));
    EXPECT_EQ(cal->color(MonthCalendar::Text), expect(u"mkritexc.dat", 0xFF00u, kClWindowText));
    EXPECT_EQ(cal->color(MonthCalendar::MonthBackground), expect(u"mkrimonc.dat", 0xFF0000u, kClInfoBk));
    const QColor body = expect(u"mkribodc.dat", 0x00102030u, kClBtnFace);
    EXPECT_EQ(w->bodyColor(), body);
    EXPECT_EQ(w->StatusBar1()->palette().color(QPalette::Window), body);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, ColorFileTest,
    ::testing::Values(ColorCase{"title_missing", u"mkrittlc.dat", true},
                      ColorCase{"text_garbage", u"mkritexc.dat", false},
                      ColorCase{"month_missing", u"mkrimonc.dat", true},
                      ColorCase{"body_garbage", u"mkribodc.dat", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, TheChooserKeepsTheBodyFileAfterStart) {
    ColorDialogState body;
    body.color = 0x00445566u;
    body.customColors = QStringList{QStringLiteral("ColorA=123456")};
    dir.write(QStringLiteral("mkribodc.dat"), serializeColorFile(body));
    auto w = open();
    EXPECT_EQ(w->ColorDialog1(), body);
}

}  // namespace
}  // namespace mekuri
