// The click readout, the day count and the date tools of the main window,
// driven through the real window offscreen with scripted dialogs.
#include "app/tf_main.h"

#include "platform/dialogs.h"
#include "platform/month_calendar.h"
#include "settings/ini_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include <deque>
#include <memory>
#include <ostream>

// Readable failure output for the Japanese texts.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace mekuri {
namespace {

// Answers prompts from a script and records every message.
class ScriptedDialogs : public DialogService {
public:
    struct Prompt {
        QString caption;
        QString prompt;
        QString initial;
    };
    std::deque<std::optional<QString>> answers;  // nullopt: Cancel
    std::vector<Prompt> prompts;
    QStringList warnings;
    QStringList informations;
    QStringList errors;

    int messageCount() const { return int(warnings.size() + informations.size() + errors.size()); }

    void warning(const QString& text) override { warnings.append(text); }
    void information(const QString& text) override { informations.append(text); }
    void error(const QString& text) override { errors.append(text); }
    Answer confirm(const QString&, bool, MessageIcon) override {
        ADD_FAILURE() << "unexpected confirmation";
        return Answer::No;
    }
    std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                      const QString& initial) override {
        prompts.push_back({caption, prompt, initial});
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected prompt " << caption.toStdString();
            return std::nullopt;
        }
        std::optional<QString> a = answers.front();
        answers.pop_front();
        return a;
    }
    bool chooseColor(ColorDialogState&) override { return false; }
    std::optional<QString> openFile(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFile(const QString&, const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
};

QString u8(const char* text) { return QString::fromUtf8(text); }

class DatesWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        setDialogServiceForTesting(&m_dialogs);
        m_dir.installAllShipped();
        m_window = std::make_unique<TF_MAIN>(AppPaths::fromFolder(m_dir.dir()));
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->setStatusText(QString());
    }
    void TearDown() override {
        m_window.reset();
        setDialogServiceForTesting(nullptr);
    }

    MonthCalendar* calendar() const { return m_window->MonthCalendar1(); }
    QAction* startButton() const { return m_window->action("TOOL_BAR_DATE"); }
    void select(const QDate& date) {
        calendar()->setSelectedDate(date);
        ASSERT_EQ(calendar()->selectedDate(), date);
    }
    // A mouse click on the day's cell, as the user does it.
    void clickDay(const QDate& date) {
        select(date);  // scrolls the day into view
        const QRect cell = calendar()->dayCellRect(date);
        ASSERT_FALSE(cell.isEmpty()) << date.toString(Qt::ISODate).toStdString();
        QTest::mouseClick(calendar(), Qt::LeftButton, Qt::NoModifier, cell.center());
        ASSERT_EQ(calendar()->selectedDate(), date);
    }
    void pressStart() { QTest::mouseClick(m_window->toolButton("TOOL_BAR_DATE"), Qt::LeftButton); }
    void setIncludeStartDay(bool on) { m_window->action("POP_KAISHI_ADD")->setChecked(on); }
    void choose(const char* entry) { m_window->action(entry)->trigger(); }
    // Runs a prompting entry with one scripted answer.
    void chooseWithAnswer(const char* entry, std::optional<QString> answer) {
        m_dialogs.answers.push_back(std::move(answer));
        choose(entry);
        EXPECT_TRUE(m_dialogs.answers.empty());
    }
    void expectIdleButton() {
        EXPECT_FALSE(startButton()->isChecked());
        EXPECT_EQ(startButton()->text(), u8("開始"));
        EXPECT_EQ(TF_MAIN::hintOf(startButton()), u8("先に開始日を指定して下さい|"));
    }

    ScriptedDialogs m_dialogs;
    test::TempProgramDir m_dir;
    std::unique_ptr<TF_MAIN> m_window;
};

TEST_F(DatesWindowTest, EntriesOfTheFeatureAreEnabled) {
    for (const char* name : {"TOOL_BAR_DATE", "POP_KAISHI_ADD", "POP_TODAY", "POP_SHITEI", "POP_KEIKA",
                             "POP_HEISEI", "POP_SYOUWA", "POP_WASEI", "POP_SEIWA", "POP_COPY_WAREKI",
                             "POP_COPY_WA2", "POP_COPY_SEIREKI", "POP_COPY_SE2", "POP_INREKI"}) {
        ASSERT_NE(m_window->action(name), nullptr) << name;
        EXPECT_TRUE(m_window->action(name)->isEnabled()) << name;
    }
    expectIdleButton();
}

TEST_F(DatesWindowTest, ClickReadoutIsTheEraFormAndTheZodiacAnimal) {
    struct Case {
        QDate date;
        const char* expected;
    } const cases[] = {
        {QDate(2019, 5, 1), "令和 1 年 5 月 1 日  亥(い)"},
        {QDate(2016, 2, 29), "平成 28 年 2 月 29 日  申(さる)"},
        {QDate(2020, 1, 1), "令和 2 年 1 月 1 日  子(ね)"},
        {QDate(1900, 1, 1), "明治 33 年 1 月 1 日  子(ね)"},
        {QDate(2087, 12, 31), "令和 69 年 12 月 31 日  未(ひつじ)"},
        {QDate(1988, 12, 31), "昭和 63 年 12 月 31 日  辰(たつ)"},
        {QDate(1989, 1, 8), "平成 1 年 1 月 8 日  巳(み)"},
    };
    for (const Case& c : cases) {
        clickDay(c.date);
        EXPECT_EQ(m_window->statusText(), u8(c.expected));
    }
}

TEST_F(DatesWindowTest, DayCount) {
    struct Case {
        const char* name;
        QDate start;
        QDate end;
        bool includeStartDay;
        const char* expected;
    } const cases[] = {
        {"same day, setting off", QDate(2019, 5, 1), QDate(2019, 5, 1), false, "2019/5/1～2019/5/1は 0 日間"},
        {"same day, setting on", QDate(2019, 5, 1), QDate(2019, 5, 1), true, "2019/5/1～2019/5/1は 1 日間"},
        {"year end, off", QDate(2019, 12, 31), QDate(2020, 1, 1), false, "2019/12/31～2020/1/1は 1 日間"},
        {"year end, on", QDate(2019, 12, 31), QDate(2020, 1, 1), true, "2019/12/31～2020/1/1は 2 日間"},
        {"leap day counted", QDate(2020, 2, 28), QDate(2020, 3, 1), false, "2020/2/28～2020/3/1は 2 日間"},
        {"forward, on", QDate(2019, 5, 1), QDate(2019, 5, 10), true, "2019/5/1～2019/5/10は 10 日間"},
        {"forward, off", QDate(2019, 5, 1), QDate(2019, 5, 10), false, "2019/5/1～2019/5/10は 9 日間"},
        // The start day counts backwards too (the same ten days as forward).
        {"backward, on", QDate(2019, 5, 10), QDate(2019, 5, 1), true, "2019/5/10～2019/5/1は 10 日間"},
        {"backward, off", QDate(2019, 5, 10), QDate(2019, 5, 1), false, "2019/5/10～2019/5/1は 9 日間"},
        {"whole range", QDate(1900, 1, 1), QDate(2087, 12, 31), true, "1900/1/1～2087/12/31は 68666 日間"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setIncludeStartDay(c.includeStartDay);
        select(c.start);
        pressStart();
        ASSERT_TRUE(startButton()->isChecked());
        EXPECT_EQ(startButton()->text(), u8("処理中.."));
        EXPECT_EQ(TF_MAIN::hintOf(startButton()), QString());
        EXPECT_EQ(m_window->statusText(), u8("終了日を指定して下さい"));
        clickDay(c.end);
        EXPECT_EQ(m_window->statusText(), u8(c.expected));
        expectIdleButton();
        // A new count needs a new press: the next click is a readout.
        clickDay(c.end);
        EXPECT_TRUE(m_window->statusText().contains(u8(" 年 "))) << m_window->statusText().toStdString();
    }
}

TEST_F(DatesWindowTest, TogglingTheSettingKeepsTheStartDayAndIsSaved) {
    ASSERT_TRUE(m_window->action("POP_KAISHI_ADD")->isChecked());  // default on
    select(QDate(2019, 5, 1));
    pressStart();
    choose("POP_KAISHI_ADD");
    EXPECT_FALSE(m_window->action("POP_KAISHI_ADD")->isChecked());
    EXPECT_TRUE(startButton()->isChecked());
    EXPECT_EQ(IniFile::loadOrEmpty(m_dir.path("mkri.ini")).value(u8("KAISHI_ADD"), u8("0")), u8("0"));
    clickDay(QDate(2019, 5, 10));
    EXPECT_EQ(m_window->statusText(), u8("2019/5/1～2019/5/10は 9 日間"));

    choose("POP_KAISHI_ADD");
    EXPECT_TRUE(m_window->action("POP_KAISHI_ADD")->isChecked());
    EXPECT_EQ(IniFile::loadOrEmpty(m_dir.path("mkri.ini")).value(u8("KAISHI_ADD"), u8("0")), u8("1"));
    EXPECT_EQ(m_dialogs.messageCount(), 0);
}

TEST_F(DatesWindowTest, SettingThatCannotBeSavedIsReported) {
    // A folder in the settings file's place makes every write fail.
    ASSERT_TRUE(QDir(m_dir.dir()).mkdir(u8("mkri.ini")));
    choose("POP_KAISHI_ADD");
    EXPECT_EQ(m_dialogs.errors.size(), 1);
}

TEST_F(DatesWindowTest, PressingStartTwiceLeavesNoStartDay) {
    select(QDate(2019, 5, 1));
    pressStart();
    pressStart();
    expectIdleButton();
    EXPECT_EQ(m_window->statusText(), QString());
    clickDay(QDate(2019, 5, 10));
    EXPECT_EQ(m_window->statusText(), u8("令和 1 年 5 月 10 日  亥(い)"));
}

TEST_F(DatesWindowTest, KeyboardMovesUpdateNothing) {
    clickDay(QDate(2019, 5, 1));
    const QString readout = m_window->statusText();
    calendar()->setFocus();
    QTest::keyClick(calendar(), Qt::Key_Right);
    QTest::keyClick(calendar(), Qt::Key_Down);
    EXPECT_EQ(calendar()->selectedDate(), QDate(2019, 5, 9));
    EXPECT_EQ(m_window->statusText(), readout);

    // Nor does a keyboard move end a count.
    pressStart();
    QTest::keyClick(calendar(), Qt::Key_Right);
    EXPECT_TRUE(startButton()->isChecked());
    EXPECT_EQ(m_window->statusText(), u8("終了日を指定して下さい"));
}

TEST_F(DatesWindowTest, HintReplacesTheReadout) {
    clickDay(QDate(2019, 5, 1));
    m_window->DisplayHint(u8("今日の日付へジャンプ"));
    EXPECT_EQ(m_window->statusText(), u8("今日の日付へジャンプ"));
}

TEST_F(DatesWindowTest, JumpToToday) {
    select(QDate(2000, 1, 1));
    m_window->setStatusText(u8("x"));
    choose("POP_TODAY");
    EXPECT_EQ(calendar()->selectedDate(), QDate::currentDate());
    EXPECT_EQ(m_window->statusText(), u8("x"));
}

TEST_F(DatesWindowTest, JumpToATypedDate) {
    struct Case {
        const char* name;
        std::optional<QString> answer;
        QDate expected;     // the selected date afterwards
        bool errorBox;
    } const start{"", std::nullopt, QDate(2000, 6, 15), false};
    const Case cases[] = {
        {"western", u8("2019/5/1"), QDate(2019, 5, 1), false},
        {"era letter", u8("H25/3/8"), QDate(2013, 3, 8), false},
        {"first supported day", u8("1900/1/1"), QDate(1900, 1, 1), false},
        {"last supported day", u8("2087/12/31"), QDate(2087, 12, 31), false},
        {"day before the range", u8("1899/12/31"), start.expected, false},
        {"day after the range", u8("2088/1/1"), start.expected, false},
        {"no such day", u8("2019/2/30"), start.expected, true},
        {"not a date", u8("abc"), start.expected, true},
        {"cancel", std::nullopt, start.expected, false},
    };
    const QDate today = QDate::currentDate();
    const QString prompt = u8("例.%1年%2月1日なら %1/%2/1 と入力").arg(today.year()).arg(today.month());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        select(start.expected);
        m_window->setStatusText(u8("before"));
        m_dialogs = ScriptedDialogs();
        chooseWithAnswer("POP_SHITEI", c.answer);
        ASSERT_EQ(m_dialogs.prompts.size(), 1u);
        EXPECT_EQ(m_dialogs.prompts[0].caption, u8("指定日へジャンプ(半角数字)"));
        EXPECT_EQ(m_dialogs.prompts[0].prompt, prompt);
        EXPECT_EQ(m_dialogs.prompts[0].initial, QString());
        EXPECT_EQ(calendar()->selectedDate(), c.expected);
        EXPECT_EQ(m_window->statusText(), u8("before"));
        if (c.errorBox) {
            EXPECT_EQ(m_dialogs.errors, QStringList{u8("日付の入力エラー　あるいは\nその日は存在しません")});
            EXPECT_EQ(m_dialogs.messageCount(), 1);
        } else {
            EXPECT_EQ(m_dialogs.messageCount(), 0);
        }
    }
}

TEST_F(DatesWindowTest, JumpByDays) {
    struct Case {
        const char* name;
        QDate from;
        std::optional<QString> answer;
        QDate expected;
        bool warning;
    } const cases[] = {
        {"forward", QDate(2019, 5, 1), u8("10"), QDate(2019, 5, 11), false},
        {"backward", QDate(2019, 5, 1), u8("-20"), QDate(2019, 4, 11), false},
        {"plus sign", QDate(2019, 5, 1), u8("+1"), QDate(2019, 5, 2), false},
        {"zero", QDate(2019, 5, 1), u8("0"), QDate(2019, 5, 1), false},
        {"past the last day", QDate(2087, 12, 31), u8("1"), QDate(2087, 12, 31), false},
        {"back from the last day", QDate(2087, 12, 31), u8("-1"), QDate(2087, 12, 30), false},
        {"before the first day", QDate(1900, 1, 1), u8("-1"), QDate(1900, 1, 1), false},
        {"whole range", QDate(1900, 1, 1), u8("68665"), QDate(2087, 12, 31), false},
        {"largest 32-bit number", QDate(2019, 5, 1), u8("2147483647"), QDate(2019, 5, 1), false},
        {"smallest 32-bit number", QDate(2019, 5, 1), u8("-2147483648"), QDate(2019, 5, 1), false},
        {"beyond 32 bits", QDate(2019, 5, 1), u8("2147483648"), QDate(2019, 5, 1), true},
        {"decimal", QDate(2019, 5, 1), u8("10.5"), QDate(2019, 5, 1), true},
        {"full-width digits", QDate(2019, 5, 1), u8("２０"), QDate(2019, 5, 1), true},
        {"empty", QDate(2019, 5, 1), u8(""), QDate(2019, 5, 1), true},
        {"blank around", QDate(2019, 5, 1), u8(" 10"), QDate(2019, 5, 1), true},
        {"hexadecimal", QDate(2019, 5, 1), u8("$A"), QDate(2019, 5, 1), true},
        {"sign only", QDate(2019, 5, 1), u8("-"), QDate(2019, 5, 1), true},
        {"cancel", QDate(2019, 5, 1), std::nullopt, QDate(2019, 5, 1), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        select(c.from);
        m_window->setStatusText(u8("before"));
        m_dialogs = ScriptedDialogs();
        chooseWithAnswer("POP_KEIKA", c.answer);
        ASSERT_EQ(m_dialogs.prompts.size(), 1u);
        EXPECT_EQ(m_dialogs.prompts[0].caption, u8("日付指定２(半角数字)"));
        EXPECT_EQ(m_dialogs.prompts[0].prompt, u8("例えば10日後なら 10 ，20日前なら -20 と入力"));
        EXPECT_EQ(calendar()->selectedDate(), c.expected);
        EXPECT_EQ(m_window->statusText(), u8("before"));
        if (c.warning) {
            EXPECT_EQ(m_dialogs.warnings, QStringList{u8("入力エラー\n半角数字を入力して下さい")});
            EXPECT_EQ(m_dialogs.messageCount(), 1);
        } else {
            EXPECT_EQ(m_dialogs.messageCount(), 0);
        }
    }
}

TEST_F(DatesWindowTest, EraYearReadouts) {
    struct Case {
        const char* entry;
        QDate date;
        const char* expected;
    } const cases[] = {
        {"POP_HEISEI", QDate(2018, 1, 1), "平成 30 年 1 月 1 日"},
        {"POP_HEISEI", QDate(2018, 12, 31), "平成 30 年 12 月 31 日"},
        {"POP_HEISEI", QDate(2019, 1, 1), "平成でいえば 31 年です"},
        {"POP_HEISEI", QDate(2019, 4, 30), "平成でいえば 31 年です"},
        {"POP_HEISEI", QDate(2019, 12, 31), "平成でいえば 31 年です"},
        {"POP_HEISEI", QDate(2087, 12, 31), "平成でいえば 99 年です"},
        {"POP_HEISEI", QDate(1989, 1, 7), "昭和 64 年 1 月 7 日"},
        {"POP_SYOUWA", QDate(1988, 12, 31), "昭和 63 年 12 月 31 日"},
        {"POP_SYOUWA", QDate(1989, 1, 1), "昭和でいえば 64 年です"},
        {"POP_SYOUWA", QDate(1989, 1, 8), "昭和でいえば 64 年です"},
        {"POP_SYOUWA", QDate(1926, 12, 24), "大正 15 年 12 月 24 日"},
        {"POP_SYOUWA", QDate(1900, 1, 1), "明治 33 年 1 月 1 日"},
    };
    for (const Case& c : cases) {
        select(c.date);
        choose(c.entry);
        EXPECT_EQ(m_window->statusText(), u8(c.expected)) << c.entry << ' ' << c.expected;
    }
    EXPECT_EQ(m_dialogs.messageCount(), 0);
}

TEST_F(DatesWindowTest, EraToWesternConversion) {
    struct Case {
        const char* name;
        std::optional<QString> answer;
        QDate expected;
        const char* status;
        bool errorBox;
    } const cases[] = {
        {"help text example", u8("H25/3/8"), QDate(2013, 3, 8), "2013/3/8", false},
        {"era name and gannen", u8("令和元年5月1日"), QDate(2019, 5, 1), "2019/5/1", false},
        {"past the era's end", u8("平成31年5月1日"), QDate(2019, 5, 1), "2019/5/1", false},
        {"western text", u8("2019/5/1"), QDate(2019, 5, 1), "2019/5/1", false},
        {"before the range", u8("M30/1/1"), QDate(2000, 6, 15), "before", false},
        {"before the era", u8("H1/1/7"), QDate(2000, 6, 15), "before", true},
        {"no such day", u8("R1/2/30"), QDate(2000, 6, 15), "before", true},
        {"cancel", std::nullopt, QDate(2000, 6, 15), "before", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        select(QDate(2000, 6, 15));
        m_window->setStatusText(u8("before"));
        m_dialogs = ScriptedDialogs();
        chooseWithAnswer("POP_WASEI", c.answer);
        ASSERT_EQ(m_dialogs.prompts.size(), 1u);
        EXPECT_EQ(m_dialogs.prompts[0].caption, u8("和暦→西暦変換"));
        EXPECT_EQ(m_dialogs.prompts[0].prompt,
                  u8("例. 平成25年3月8日なら H25/3/8 と半角で入力\n\n先頭文字\n明治 M 大正 T 昭和 S 平成 H 令和 R"));
        EXPECT_EQ(calendar()->selectedDate(), c.expected);
        EXPECT_EQ(m_window->statusText(), u8(c.status));
        EXPECT_EQ(m_dialogs.errors.size(), c.errorBox ? 1 : 0);
        if (c.errorBox) {
            EXPECT_EQ(m_dialogs.errors[0], u8("日付の入力エラー　あるいは\nその日は存在しません"));
        }
    }
}

TEST_F(DatesWindowTest, WesternToEraExplains) {
    m_window->setStatusText(u8("before"));
    choose("POP_SEIWA");
    EXPECT_EQ(m_dialogs.informations,
              QStringList{u8("西暦→和暦へは、\n\n1. ｶﾚﾝﾀﾞｰ上の日付(西暦表示)をｸﾘｯｸ\n\n2. 画面下に 和暦 が表示されます")});
    EXPECT_EQ(m_window->statusText(), u8("before"));
}

TEST_F(DatesWindowTest, ClipboardCopies) {
    struct Case {
        const char* entry;
        const char* expected;
    } const cases[] = {
        {"POP_COPY_WAREKI", "昭和63年12月31日"},
        {"POP_COPY_WA2", "昭和63年12月31日(土)"},
        {"POP_COPY_SEIREKI", "1988/12/31"},
        {"POP_COPY_SE2", "1988/12/31(土)"},
    };
    select(QDate(1988, 12, 31));  // a Saturday
    m_window->setStatusText(u8("before"));
    for (const Case& c : cases) {
        QGuiApplication::clipboard()->setText(u8("old"));
        choose(c.entry);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), u8(c.expected)) << c.entry;
    }
    EXPECT_EQ(m_window->statusText(), u8("before"));
    EXPECT_EQ(m_dialogs.messageCount(), 0);
}

TEST_F(DatesWindowTest, ClassicalMonthNameWhenTheMenuOpens) {
    struct Case {
        QDate date;
        const char* caption;
    } const cases[] = {
        {QDate(2019, 12, 1), "12月は 師走 しわす, しはす"},
        {QDate(2019, 5, 31), "5月は 皐月 さつき"},
        {QDate(2019, 1, 1), "1月は 睦月 むつき"},
    };
    QMenu* edit = m_window->menu("POP_EDIT_MN");
    ASSERT_NE(edit, nullptr);
    for (const Case& c : cases) {
        select(c.date);
        edit->popup(m_window->mapToGlobal(QPoint(10, 10)));
        EXPECT_EQ(m_window->action("POP_INREKI")->text(), u8(c.caption));
        edit->hide();
    }
}

}  // namespace
}  // namespace mekuri
