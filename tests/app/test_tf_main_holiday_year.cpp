// "年を指定して休日を作成..." on a real main window offscreen, with scripted
// dialogs and a stand-in for the desktop shell.
#include "app/tf_main.h"

#include "app/scripted_dialogs.h"
#include "holidays/holiday_calculator.h"
#include "holidays/holiday_file_writer.h"
#include "holidays/holiday_table.h"
#include "platform/month_calendar.h"
#include "platform/shell.h"
#include "settings/ini_file.h"
#include "settings/save_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <memory>
#include <optional>

namespace mekuri {
namespace {

using test::ScriptedDialogs;
using test::TempProgramDir;

// Records launches instead of starting anything.
class RecordingShell : public ShellLauncher {
public:
    QStringList started;

    RecordingShell() { setShellForTesting(this); }
    ~RecordingShell() override { setShellForTesting(nullptr); }

    bool startDetached(const QString& program, const QStringList& args, QString*) override {
        started.append(program);
        EXPECT_TRUE(args.isEmpty());
        return true;
    }
    bool openDocument(const QString& path, QString*) override {
        ADD_FAILURE() << "unexpected document: " << path.toStdString();
        return false;
    }
};

const QString kWorking = QStringLiteral("horiday.txt");
const QString kFactory = QStringLiteral("horiday0.txt");
const QString kCaption = QStringLiteral("年を指定して休日を作成");
const QString kPrompt = QStringLiteral("作成する年を半角数字で入力して下さい（1948～2099）");
const QString kQuestionEnd = QStringLiteral(
    "\n\nこの休日で horiday.txt を作成しますか？\n\n\"はい\"を選ぶと、休日を変更した後\n\n"
    "このソフトは自動で再起動します。");
// Stands in the working file before the command, so a rewrite shows.
const QByteArray kOldWorking = "[h10]\r\n1=10\r\n[HORIDAY]\r\n1=2,0,0,0,0,0,0,0,0,0\r\n";

class HolidayYearTest : public ::testing::Test {
protected:
    void SetUp() override { openFresh(); }
    void TearDown() override {
        m_window.reset();
        setCommitHookForTesting(nullptr);
    }

    // A new program folder with the shipped files and a window on it.
    void openFresh() {
        QApplication::setQuitOnLastWindowClosed(false);
        m_window.reset();
        m_dirHolder = std::make_unique<TempProgramDir>();
        dir().installAllShipped();
        dir().write(kWorking, kOldWorking);
        m_factory = dir().read(kFactory);
        m_window = std::make_unique<TF_MAIN>(AppPaths::fromFolder(dir().dir()));
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_dialogs.clear();
        m_shell.started.clear();
    }

    void choose() {
        QAction* a = m_window->action("POP_KYUJITSU_NEN");
        ASSERT_NE(a, nullptr);
        ASSERT_TRUE(a->isEnabled());
        a->trigger();
    }

    // Nothing written, nothing started, the window still open.
    void expectUnchanged() {
        EXPECT_EQ(dir().read(kWorking), kOldWorking);
        EXPECT_EQ(dir().read(kFactory), m_factory);
        EXPECT_TRUE(m_shell.started.isEmpty());
        EXPECT_TRUE(m_window->isVisible());
        EXPECT_FALSE(dir().exists(QStringLiteral("mkri.ini")));
    }

    std::unique_ptr<TempProgramDir> m_dirHolder;
    // The current program folder.
    TempProgramDir& dir() const { return *m_dirHolder; }
    ScriptedDialogs m_dialogs;
    RecordingShell m_shell;
    std::unique_ptr<TF_MAIN> m_window;
    QByteArray m_factory;
};

TEST_F(HolidayYearTest, EntrySitsAfterTheOtherHolidayEntries) {
    QMenu* menu = m_window->menu("POP_SETTEI_MN");
    ASSERT_NE(menu, nullptr);
    QAction* entry = m_window->action("POP_KYUJITSU_NEN");
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isEnabled());
    EXPECT_EQ(entry->text(), QStringLiteral("年を指定して休日を作成..."));
    EXPECT_EQ(TF_MAIN::hintOf(entry), QStringLiteral("指定した年の休日(horiday.txt)を作成します"));

    const QList<QAction*> entries = menu->actions();
    const qsizetype at = entries.indexOf(entry);
    ASSERT_GT(at, 0);
    ASSERT_LT(at + 2, entries.size());
    EXPECT_EQ(entries[at - 1], m_window->action("POP_KYUJITSU"));
    EXPECT_TRUE(entries[at + 1]->isSeparator());
    EXPECT_EQ(entries[at + 2], m_window->action("POP_HELP"));
}

// On Yes the working file is exactly the generated file of the year, the
// program reads it without a fault, the factory file is untouched, and the
// program restarts as "終了" does.
TEST_F(HolidayYearTest, YesWritesTheYearAndRestarts) {
    struct Case {
        QDate selected;
        QString proposed;
        QString typed;
        int year;
    } cases[] = {
        {QDate(2026, 12, 11), QStringLiteral("2026"), QStringLiteral("2027"), 2027},
        {QDate(2019, 5, 1), QStringLiteral("2019"), QStringLiteral("2019"), 2019},
        // Blanks around the digits are not part of the number.
        {QDate(2020, 1, 1), QStringLiteral("2020"), QStringLiteral(" 2021 "), 2021},
        // Before the law: the first year it covers is offered.
        {QDate(1900, 1, 1), QStringLiteral("1948"), QStringLiteral("1948"), 1948},
        {QDate(2087, 12, 31), QStringLiteral("2087"), QStringLiteral("2099"), 2099},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        openFresh();
        m_window->MonthCalendar1()->setSelectedDate(c.selected);
        m_dialogs.inputAnswers.push_back(c.typed);
        m_dialogs.confirmAnswers.push_back(Answer::Yes);
        choose();

        ASSERT_EQ(m_dialogs.prompts.size(), 1u);
        EXPECT_EQ(m_dialogs.prompts[0].kind, ScriptedDialogs::Prompt::Input);
        EXPECT_EQ(m_dialogs.prompts[0].caption, kCaption);
        EXPECT_EQ(m_dialogs.prompts[0].text, kPrompt);
        EXPECT_EQ(m_dialogs.prompts[0].initial, c.proposed);
        ASSERT_EQ(m_dialogs.messages.size(), 1u);
        EXPECT_EQ(m_dialogs.messages[0].kind, MessageIcon::Question);
        EXPECT_TRUE(m_dialogs.messages[0].focusNo);

        const Expected<std::vector<Holiday>> holidays = calculateHolidays(c.year);
        ASSERT_TRUE(holidays.ok());
        const Expected<QByteArray> expected = holidayFileBytes(c.year, *holidays);
        ASSERT_TRUE(expected.ok());
        EXPECT_EQ(dir().read(kWorking), *expected);
        EXPECT_EQ(dir().read(kFactory), m_factory);
        const HolidayLoad load = loadHolidayFile(dir().path(kWorking));
        EXPECT_FALSE(load.fault.has_value());
        for (const Holiday& h : *holidays) {
            EXPECT_TRUE(load.table.boldMask(h.date.month()) & (1u << (h.date.day() - 1)))
                << h.date.toString(Qt::ISODate).toStdString();
        }

        EXPECT_EQ(m_shell.started, QStringList{QCoreApplication::applicationFilePath()});
        EXPECT_FALSE(m_window->isVisible());
        const IniFile ini = IniFile::loadOrEmpty(dir().path(QStringLiteral("mkri.ini")));
        EXPECT_TRUE(ini.value(QStringLiteral("Form"), QStringLiteral("WIDTH")).has_value());
    }
}

// The question lists every holiday of the year with its weekday, then asks.
TEST_F(HolidayYearTest, QuestionListsEachHolidayOfTheYear) {
    m_dialogs.inputAnswers.push_back(QStringLiteral("2027"));
    m_dialogs.confirmAnswers.push_back(Answer::No);
    choose();
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    // 2027 as the Cabinet Office lists it.
    const QString expected = QStringLiteral(
        "2027年の休日\n\n"
        "1月1日(金) 元日\n"
        "1月11日(月) 成人の日\n"
        "2月11日(木) 建国記念の日\n"
        "2月23日(火) 天皇誕生日\n"
        "3月21日(日) 春分の日\n"
        "3月22日(月) 振替休日\n"
        "4月29日(木) 昭和の日\n"
        "5月3日(月) 憲法記念日\n"
        "5月4日(火) みどりの日\n"
        "5月5日(水) こどもの日\n"
        "7月19日(月) 海の日\n"
        "8月11日(水) 山の日\n"
        "9月20日(月) 敬老の日\n"
        "9月23日(木) 秋分の日\n"
        "10月11日(月) スポーツの日\n"
        "11月3日(水) 文化の日\n"
        "11月23日(火) 勤労感謝の日") + kQuestionEnd;
    EXPECT_EQ(m_dialogs.messages[0].text, expected);
}

// A year with one-off days and a citizen's holiday: every day the file will
// hold is in the list.
TEST_F(HolidayYearTest, QuestionOf2019HoldsTheOneOffDays) {
    m_dialogs.inputAnswers.push_back(QStringLiteral("2019"));
    m_dialogs.confirmAnswers.push_back(Answer::No);
    choose();
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    const QString text = m_dialogs.messages[0].text;
    const Expected<std::vector<Holiday>> holidays = calculateHolidays(2019);
    ASSERT_TRUE(holidays.ok());
    for (const Holiday& h : *holidays) {
        const QString line = QString::number(h.date.month()) + QStringLiteral("月") +
                             QString::number(h.date.day()) + QStringLiteral("日(");
        EXPECT_TRUE(text.contains(u'\n' + line)) << line.toStdString();
        EXPECT_TRUE(text.contains(h.name)) << h.name.toStdString();
    }
    for (const char16_t* line : {u"\n4月30日(火) 国民の休日\n", u"\n5月2日(木) 国民の休日\n",
                                 u"\n10月22日(火) 即位礼正殿の儀\n", u"\n8月12日(月) 振替休日\n"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf16(line))) << QString::fromUtf16(line).toStdString();
    }
    EXPECT_TRUE(text.startsWith(QStringLiteral("2019年の休日\n\n")));
    EXPECT_TRUE(text.endsWith(kQuestionEnd));
}

TEST_F(HolidayYearTest, NoOrCancelChangesNothing) {
    m_dialogs.inputAnswers.push_back(QStringLiteral("2027"));
    m_dialogs.confirmAnswers.push_back(Answer::No);
    choose();
    EXPECT_EQ(m_dialogs.messages.size(), 1u);
    expectUnchanged();

    m_dialogs.clear();
    m_dialogs.inputAnswers.push_back(std::nullopt);
    choose();
    EXPECT_EQ(m_dialogs.prompts.size(), 1u);
    EXPECT_TRUE(m_dialogs.messages.empty());
    expectUnchanged();
}

// Full-width digits are refused like any other non-number: the prompt asks
// for half-width digits, as the program's other number prompts do.
TEST_F(HolidayYearTest, NotAYearInRangeWarnsAndAsksNothingMore) {
    const QString notANumber = QStringLiteral("入力エラー\n半角数字を入力して下さい");
    const QString outOfRange = QStringLiteral("入力エラー\n1948～2099 の年を入力して下さい");
    struct Case {
        QString typed;
        QString warning;
    } cases[] = {
        {QStringLiteral("1947"), outOfRange},
        {QStringLiteral("2100"), outOfRange},
        {QStringLiteral("0"), outOfRange},
        {QStringLiteral("99999999999"), outOfRange},
        {QStringLiteral("abc"), notANumber},
        {QStringLiteral("２０２７"), notANumber},
        {QString(), notANumber},
        {QStringLiteral("-2027"), notANumber},
        {QStringLiteral("+2027"), notANumber},
        {QStringLiteral("2027年"), notANumber},
        {QStringLiteral("20 27"), notANumber},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        m_dialogs.clear();
        m_dialogs.inputAnswers.push_back(c.typed);
        choose();
        EXPECT_EQ(m_dialogs.allTexts(), QStringList{c.warning});
        EXPECT_EQ(m_dialogs.texts(MessageIcon::Warning).size(), 1);
        expectUnchanged();
    }
}

// A write that fails is reported by the standard error report; the old file
// stays whole and the program does not restart.
TEST_F(HolidayYearTest, FailedWriteIsReportedWithoutRestart) {
    setCommitHookForTesting([](const QString&) { return false; });
    m_dialogs.inputAnswers.push_back(QStringLiteral("2027"));
    m_dialogs.confirmAnswers.push_back(Answer::Yes);
    choose();
    const QStringList errors = m_dialogs.texts(MessageIcon::Error);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("horiday.txt"))) << errors[0].toStdString();
    expectUnchanged();
}

// The import's side of the government's list, where no other test reaches:
// a damaged list is refused before any year is asked, with its line named,
// and both holiday files stay as they were.
TEST_F(HolidayYearTest, ImportRefusesAMalformedGovernmentListNamingTheLine) {
    m_dialogs.confirmAnswers.push_back(Answer::Yes);
    m_dialogs.openFileAnswers.push_back(test::testDataDir() +
                                        QStringLiteral("/holidays/syukujitsu_malformed.csv"));
    QAction* import = m_window->action("MN_IMPORT_HORI");
    ASSERT_NE(import, nullptr);
    import->trigger();
    const QStringList warnings = m_dialogs.texts(MessageIcon::Warning);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("5行目"))) << warnings[0].toStdString();
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("2027/2/29"))) << warnings[0].toStdString();
    EXPECT_EQ(m_dialogs.prompts.size(), 1u);  // the file chooser only
    expectUnchanged();
}

}  // namespace
}  // namespace mekuri
