// Holiday maintenance, self-restart, help, read-me and version commands of
// the main window, driven on a real window offscreen with scripted dialogs
// and a stand-in for the desktop shell.
#include "app/tf_main.h"

#include "app/tf_hori.h"
#include "app/version_window.h"
#include "holidays/holiday_table.h"
#include "platform/command_guard.h"
#include "platform/shell.h"
#include "settings/ini_file.h"
#include "settings/save_file.h"
#include "settings/text_file.h"
#include "support/test_support.h"
#include "app/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QDeadlineTimer>
#include <QSaveFile>
#include <QThread>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

namespace mekuri {
namespace {

using test::ScriptedDialogs;
using test::TempProgramDir;

// Records launches instead of starting anything.
class RecordingShell : public ShellLauncher {
public:
    struct Start {
        QString program;
        QStringList args;
    };
    std::vector<Start> started;
    QStringList opened;
    bool fail = false;

    RecordingShell() { setShellForTesting(this); }
    ~RecordingShell() override { setShellForTesting(nullptr); }

    bool startDetached(const QString& program, const QStringList& args, QString* error) override {
        if (fail) {
            if (error) *error = QStringLiteral("指定されたファイルが見つかりません。");
            return false;
        }
        started.push_back({program, args});
        return true;
    }
    bool openDocument(const QString& path, QString* error) override {
        if (fail) {
            if (error) *error = QStringLiteral("関連付けられたプログラムがありません。");
            return false;
        }
        opened.append(path);
        return true;
    }
};

// Acts on the holiday editor each time it comes up modally, one action per
// showing, in order.
class EditorScript {
public:
    std::deque<std::function<void(TF_HORI&)>> actions;
    int shown = 0;

    EditorScript() {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* editor = qobject_cast<TF_HORI*>(QApplication::activeModalWidget());
            if (!editor || !editor->isVisible() || editor == m_handled) return;
            m_handled = editor;
            ++shown;
            if (actions.empty()) {
                ADD_FAILURE() << "the editor came up once more than expected";
                editor->reject();
                return;
            }
            auto act = actions.front();
            actions.pop_front();
            act(*editor);
            // Ready for the next showing of the same window.
            QTimer::singleShot(0, [this] { m_handled = nullptr; });
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
    TF_HORI* m_handled = nullptr;
};

void pressOk(TF_HORI& e) { QTest::mouseClick(e.OKBtn, Qt::LeftButton); }
void pressCancel(TF_HORI& e) { QTest::mouseClick(e.CancelBtn, Qt::LeftButton); }

const QString kFactoryQuestion = QStringLiteral(
    "出荷時の休日に戻しますか？\n\n\"はい\"を選ぶと、休日を変更した後\n\nこのソフトは自動で再起動します。");
const QString kImportQuestion = QStringLiteral(
    "休日データを最新にするために最新の horiday0.txt を指定して下さい。\n\n"
    "　\"はい\"を選ぶと、ファイルの指定画面が表示されます。\n\n"
    "　ファイルが指定されると、最新の休日データを取込み\n\n"
    "　このソフトは自動で再起動します。");
const QString kRestartNote = QStringLiteral("変更が有効になるのはこのソフトが再起動してからです");
const QByteArray kImported =
    "; new set\r\n[h10]\r\n1=10\r\n[HORIDAY]\r\n1=1,12,0,0,0,0,0,0,0,0\r\n";

class HolidayCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        m_dir.installAllShipped();
        openWindow();
        m_factory = m_dir.read(QStringLiteral("horiday0.txt"));
    }
    void TearDown() override {
        m_window.reset();
        setCommitHookForTesting(nullptr);
    }

    void openWindow() {
        m_window = std::make_unique<TF_MAIN>(AppPaths::fromFolder(m_dir.dir()));
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // Chooses the entry through its menu action, as the user does (failures
    // go to the standard error report).
    void choose(const char* entry) {
        QAction* a = m_window->action(entry);
        ASSERT_NE(a, nullptr) << entry;
        ASSERT_TRUE(a->isEnabled()) << entry;
        a->trigger();
    }

    // The program restarted itself: a new instance of the running executable
    // was started and this window closed as "終了" does (settings written).
    void expectRestarted() {
        ASSERT_EQ(m_shell.started.size(), 1u);
        EXPECT_EQ(m_shell.started[0].program, QCoreApplication::applicationFilePath());
        EXPECT_TRUE(m_shell.started[0].args.isEmpty());
        EXPECT_FALSE(m_window->isVisible());
        ASSERT_TRUE(m_dir.exists(QStringLiteral("mkri.ini")));
        const IniFile ini = IniFile::loadOrEmpty(m_dir.path(QStringLiteral("mkri.ini")));
        EXPECT_TRUE(ini.value(QStringLiteral("Form"), QStringLiteral("WIDTH")).has_value());
        EXPECT_TRUE(ini.value(QStringLiteral("MENU"), QStringLiteral("0")).has_value());
    }
    void expectNotRestarted() {
        EXPECT_TRUE(m_shell.started.empty());
        EXPECT_TRUE(m_window->isVisible());
        EXPECT_FALSE(m_dir.exists(QStringLiteral("mkri.ini")));
    }

    TempProgramDir m_dir;
    TempProgramDir m_elsewhere;
    ScriptedDialogs m_dialogs;
    RecordingShell m_shell;
    std::unique_ptr<TF_MAIN> m_window;
    QByteArray m_factory;
};

TEST_F(HolidayCommandsTest, EntriesAreEnabled) {
    for (const char* name : {"MN_IMPORT_HORI", "POP_KYUJITSU_RECOV", "POP_KYUJITSU", "POP_HELP",
                             "POP_README", "POP_VER"}) {
        ASSERT_NE(m_window->action(name), nullptr) << name;
        EXPECT_TRUE(m_window->action(name)->isEnabled()) << name;
    }
}

// ---- text editor ----

// Saving without a change rewrites the file in CP932 with CR LF, without a
// mark and without a break after the last line.
TEST_F(HolidayCommandsTest, EditorSaveRewritesCp932) {
    const QString text = QStringLiteral("; 休日～テスト\r\n[HORIDAY]\r\n1=1,2,3,0");
    struct Case {
        const char* name;
        QByteArray file;
        QByteArray saved;
    } cases[] = {
        {"UTF-8 with mark loses it", QByteArray("\xEF\xBB\xBF") + text.toUtf8(), test::cp932(text)},
        {"UTF-16LE with mark", QByteArray("\xFF\xFE") +
                                   QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2),
         test::cp932(text)},
        {"CP932 unchanged", test::cp932(text), test::cp932(text)},
        {"LF breaks become CR LF", test::cp932(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))),
         test::cp932(text)},
        {"final break kept, none added", test::cp932(text + QStringLiteral("\r\n")),
         test::cp932(text + QStringLiteral("\r\n"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_dialogs.clear();
        m_dir.write(QStringLiteral("horiday.txt"), c.file);
        EditorScript editor;
        QString shownText;
        editor.actions.push_back([&](TF_HORI& e) {
            shownText = e.text();
            pressOk(e);
        });
        choose("POP_KYUJITSU");
        EXPECT_EQ(editor.shown, 1);
        EXPECT_FALSE(shownText.contains(u'\r'));
        EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), c.saved);
        EXPECT_EQ(m_dialogs.allTexts(), QStringList{kRestartNote});
        EXPECT_EQ(m_dialogs.texts(MessageIcon::Information), QStringList{kRestartNote});
    }
}

TEST_F(HolidayCommandsTest, EditorCancelLeavesTheFile) {
    const QByteArray before = m_dir.read(QStringLiteral("horiday.txt"));
    EditorScript editor;
    editor.actions.push_back([](TF_HORI& e) {
        e.Memo1->setPlainText(QStringLiteral("changed"));
        pressCancel(e);
    });
    choose("POP_KYUJITSU");
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), before);
    EXPECT_TRUE(m_dialogs.messages.empty());
}

TEST_F(HolidayCommandsTest, EditorWithoutHolidayFileWarns) {
    QFile::remove(m_dir.path(QStringLiteral("horiday.txt")));
    EditorScript editor;
    choose("POP_KYUJITSU");
    EXPECT_EQ(editor.shown, 0);
    EXPECT_EQ(m_dialogs.texts(MessageIcon::Warning),
              QStringList{QStringLiteral("このソフトと同じフォルダに horiday.txt が見つかりません")});
    EXPECT_FALSE(m_dir.exists(QStringLiteral("horiday.txt")));
}

// Bytes that are no CP932 text cannot come back unchanged: the user is told
// before editing, and the editor still opens.
TEST_F(HolidayCommandsTest, EditorWarnsAboutUnreadableBytes) {
    m_dir.write(QStringLiteral("horiday.txt"), QByteArray("; \x81\x20\r\n[HORIDAY]\r\n"));
    EditorScript editor;
    editor.actions.push_back(pressCancel);
    choose("POP_KYUJITSU");
    EXPECT_EQ(editor.shown, 1);
    EXPECT_EQ(m_dialogs.texts(MessageIcon::Warning).size(), 1);
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), QByteArray("; \x81\x20\r\n[HORIDAY]\r\n"));
}

// "〜" (U+301C, what many input methods type) has no CP932 form: the save is
// refused, the editor comes back with the text, and a fixed text is saved.
TEST_F(HolidayCommandsTest, EditorRefusesTextCp932CannotHold) {
    const QByteArray before = m_dir.read(QStringLiteral("horiday.txt"));
    EditorScript editor;
    QString textOnReturn;
    editor.actions.push_back([](TF_HORI& e) {
        e.Memo1->setPlainText(QStringLiteral("; 1月〜3月\n[HORIDAY]\n1=1,0,0,0"));
        pressOk(e);
    });
    editor.actions.push_back([&](TF_HORI& e) {
        textOnReturn = e.text();
        e.Memo1->setPlainText(QString(textOnReturn).replace(QChar(0x301C), QChar(0xFF5E)));
        pressOk(e);
    });
    choose("POP_KYUJITSU");
    EXPECT_EQ(editor.shown, 2);
    EXPECT_EQ(textOnReturn, QStringLiteral("; 1月〜3月\n[HORIDAY]\n1=1,0,0,0"));
    const QStringList warnings = m_dialogs.texts(MessageIcon::Warning);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QChar(0x301C)));
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")),
              test::cp932(QStringLiteral("; 1月～3月\r\n[HORIDAY]\r\n1=1,0,0,0")));
    EXPECT_NE(m_dir.read(QStringLiteral("horiday.txt")), before);
}

TEST_F(HolidayCommandsTest, EditorRefusalThenCancelKeepsTheOldFile) {
    const QByteArray before = m_dir.read(QStringLiteral("horiday.txt"));
    EditorScript editor;
    editor.actions.push_back([](TF_HORI& e) {
        e.Memo1->setPlainText(QStringLiteral("[HORIDAY]\n; 😀"));
        pressOk(e);
    });
    editor.actions.push_back(pressCancel);
    choose("POP_KYUJITSU");
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), before);
    EXPECT_EQ(m_dialogs.texts(MessageIcon::Information), QStringList{});
}

// A broken month line is saved without complaint; the next start finds it,
// warns and restores the factory holidays.
TEST_F(HolidayCommandsTest, BrokenLineIsSavedAndTheNextStartRestores) {
    EditorScript editor;
    editor.actions.push_back([](TF_HORI& e) {
        e.Memo1->setPlainText(QStringLiteral("[h10]\n1=10\n[HORIDAY]\n1=1,,3"));
        pressOk(e);
    });
    choose("POP_KYUJITSU");
    EXPECT_EQ(m_dialogs.allTexts(), QStringList{kRestartNote});
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), QByteArray("[h10]\r\n1=10\r\n[HORIDAY]\r\n1=1,,3"));

    m_window.reset();
    m_dialogs.clear();
    openWindow();
    EXPECT_TRUE(m_window->quitRequested());
    const QStringList warnings = m_dialogs.texts(MessageIcon::Warning);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith(QStringLiteral("休日の設定に間違いがあったようです")));
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), m_factory);
}

// ---- factory restore ----

TEST_F(HolidayCommandsTest, FactoryRestoreOnYesCopiesAndRestarts) {
    m_dir.write(QStringLiteral("horiday.txt"), QByteArray("[HORIDAY]\r\n1=5,0,0,0\r\n"));
    m_dialogs.confirmAnswers.push_back(Answer::Yes);
    choose("POP_KYUJITSU_RECOV");
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text, kFactoryQuestion);
    EXPECT_TRUE(m_dialogs.messages[0].focusNo);
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), m_factory);
    expectRestarted();
}

TEST_F(HolidayCommandsTest, FactoryRestoreOtherAnswersChangeNothing) {
    const QByteArray own("[HORIDAY]\r\n1=5,0,0,0\r\n");
    for (Answer answer : {Answer::No, Answer::Closed}) {
        m_dir.write(QStringLiteral("horiday.txt"), own);
        m_dialogs.confirmAnswers.push_back(answer);
        choose("POP_KYUJITSU_RECOV");
        EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), own);
        expectNotRestarted();
    }
}

// Without a factory file the copy fails and is reported; the working file
// stays and the restart still follows.
TEST_F(HolidayCommandsTest, FactoryRestoreWithoutFactoryFileReportsAndRestarts) {
    const QByteArray own("[HORIDAY]\r\n1=5,0,0,0\r\n");
    m_dir.write(QStringLiteral("horiday.txt"), own);
    QFile::remove(m_dir.path(QStringLiteral("horiday0.txt")));
    m_dialogs.confirmAnswers.push_back(Answer::Yes);
    choose("POP_KYUJITSU_RECOV");
    EXPECT_EQ(m_dialogs.texts(MessageIcon::Error).size(), 1);
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), own);
    expectRestarted();
}

// A restart that cannot start is reported; this instance stays open and the
// holiday file already changed stays changed.
TEST_F(HolidayCommandsTest, FailedRestartIsReportedAndTheWindowStays) {
    m_dir.write(QStringLiteral("horiday.txt"), QByteArray("[HORIDAY]\r\n1=5,0,0,0\r\n"));
    m_shell.fail = true;
    m_dialogs.confirmAnswers.push_back(Answer::Yes);
    choose("POP_KYUJITSU_RECOV");
    EXPECT_EQ(m_dialogs.texts(MessageIcon::Error), QStringList{QStringLiteral("指定されたファイルが見つかりません。")});
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), m_factory);
    expectNotRestarted();
}

// ---- import ----

TEST_F(HolidayCommandsTest, ImportQuestionNoStopsCloseBoxGoesOn) {
    struct Case {
        const char* name;
        Answer answer;
        bool chooserOpens;
    } cases[] = {
        {"No or Esc stops", Answer::No, false},
        {"close box goes on", Answer::Closed, true},
        {"Yes goes on", Answer::Yes, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_dialogs.clear();
        m_dialogs.confirmAnswers.push_back(c.answer);
        if (c.chooserOpens) m_dialogs.openFileAnswers.push_back(std::nullopt);  // then cancelled
        choose("MN_IMPORT_HORI");
        ASSERT_EQ(m_dialogs.messages.size(), 1u);
        EXPECT_EQ(m_dialogs.messages[0].text, kImportQuestion);
        EXPECT_TRUE(m_dialogs.messages[0].focusNo);
        ASSERT_EQ(m_dialogs.prompts.size(), c.chooserOpens ? 1u : 0u);
        if (c.chooserOpens) {
            EXPECT_EQ(m_dialogs.prompts[0].kind, ScriptedDialogs::Prompt::OpenFile);
            EXPECT_EQ(m_dialogs.prompts[0].text, QStringLiteral("テキストファイル|*.txt|すべて|*.*|祝日一覧CSV|*.csv"));
        }
        EXPECT_EQ(m_dir.read(QStringLiteral("horiday0.txt")), m_factory);
        expectNotRestarted();
    }
}

// Refusals leave every holiday file as it was and restart nothing.
TEST_F(HolidayCommandsTest, ImportRefusals) {
    const QString prog = QDir(m_dir.dir()).absolutePath();
    ASSERT_TRUE(QFile::link(prog, m_elsewhere.path(QStringLiteral("link"))));
    m_elsewhere.write(QStringLiteral("blank.txt"), "1=1\r\n [HORIDAY] \r\n");
    m_elsewhere.write(QStringLiteral("lower.txt"), "[horiday]\r\n1=1,0,0,0\r\n");
    const QString same = QStringLiteral("同じフォルダ内のファイルは指定できません");
    const QString notHoliday = QStringLiteral("指定したファイルは休日データ( horiday0.txt )ではありません！");
    struct Case {
        const char* name;
        QString chosen;
        QString warning;
    } cases[] = {
        {"program folder", prog + QStringLiteral("/horiday0.txt"), same},
        {"program folder in upper case", prog.toUpper() + QStringLiteral("/HORIDAY0.TXT"), same},
        {"program folder with ./", prog + QStringLiteral("/./horiday.txt"), same},
        {"program folder through a link", m_elsewhere.path(QStringLiteral("link/horiday0.txt")), same},
        {"marker with blanks", m_elsewhere.path(QStringLiteral("blank.txt")), notHoliday},
        {"marker in lower case", m_elsewhere.path(QStringLiteral("lower.txt")), notHoliday},
        {"file gone", m_elsewhere.path(QStringLiteral("gone.txt")),
         QStringLiteral("ファイルが存在しないためインポート処理でエラーが発生しました")},
    };
    const QByteArray working = m_dir.read(QStringLiteral("horiday.txt"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_dialogs.clear();
        m_dialogs.confirmAnswers.push_back(Answer::Yes);
        m_dialogs.openFileAnswers.push_back(c.chosen);
        choose("MN_IMPORT_HORI");
        EXPECT_EQ(m_dialogs.texts(MessageIcon::Warning), QStringList{c.warning});
        EXPECT_EQ(m_dir.read(QStringLiteral("horiday0.txt")), m_factory);
        EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), working);
        expectNotRestarted();
    }
}

// The exact marker as the last line, without a break: every line arrives
// with CR LF, both files end equal, and the program restarts.
TEST_F(HolidayCommandsTest, ImportCopiesLinesWithCrLfAndRestarts) {
    m_elsewhere.write(QStringLiteral("horiday0.txt"), "1=1,12,0,0,0,0,0,0,0,0\n[h10]\n1=10\n[HORIDAY]");
    m_dialogs.confirmAnswers.push_back(Answer::Yes);
    m_dialogs.openFileAnswers.push_back(m_elsewhere.path(QStringLiteral("horiday0.txt")));
    choose("MN_IMPORT_HORI");
    EXPECT_EQ(m_dialogs.messages.size(), 1u);  // the question only
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday0.txt")),
              QByteArray("1=1,12,0,0,0,0,0,0,0,0\r\n[h10]\r\n1=10\r\n[HORIDAY]\r\n"));
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), m_dir.read(QStringLiteral("horiday0.txt")));
    expectRestarted();
}

// The second copy failing: warned, no restart, the factory file already new.
TEST_F(HolidayCommandsTest, ImportFailedOverwriteWarnsWithoutRestart) {
    m_elsewhere.write(QStringLiteral("new.txt"), kImported);
    const QByteArray working = m_dir.read(QStringLiteral("horiday.txt"));
    QFile::setPermissions(m_dir.path(QStringLiteral("horiday.txt")), QFile::ReadOwner);
    m_dialogs.confirmAnswers.push_back(Answer::Yes);
    m_dialogs.openFileAnswers.push_back(m_elsewhere.path(QStringLiteral("new.txt")));
    choose("MN_IMPORT_HORI");
    QFile::setPermissions(m_dir.path(QStringLiteral("horiday.txt")), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(m_dialogs.texts(MessageIcon::Warning),
              QStringList{QStringLiteral("インポート処理内の上書きコピーでエラーが発生しました")});
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday0.txt")), kImported);
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), working);
    expectNotRestarted();
}

// The factory file failing to be written: the standard error report, and
// both files exactly as they were (never a program without its factory file).
TEST_F(HolidayCommandsTest, ImportFailedFactoryWriteKeepsBothFiles) {
    m_elsewhere.write(QStringLiteral("new.txt"), kImported);
    const QByteArray working = m_dir.read(QStringLiteral("horiday.txt"));
    setCommitHookForTesting([](const QString&) { return false; });
    m_dialogs.confirmAnswers.push_back(Answer::Yes);
    m_dialogs.openFileAnswers.push_back(m_elsewhere.path(QStringLiteral("new.txt")));
    choose("MN_IMPORT_HORI");
    setCommitHookForTesting(nullptr);
    EXPECT_EQ(m_dialogs.texts(MessageIcon::Error).size(), 1);
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday0.txt")), m_factory);
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), working);
    expectNotRestarted();
}

// The government's list: the year is asked and that year's holidays become
// the new holiday file.
TEST_F(HolidayCommandsTest, ImportFromTheGovernmentListAsksTheYear) {
    const QString csv = test::testDataDir() + QStringLiteral("/holidays/syukujitsu_2026_2027.csv");
    ASSERT_TRUE(QFileInfo::exists(csv));
    m_dialogs.confirmAnswers.push_back(Answer::Yes);
    m_dialogs.openFileAnswers.push_back(csv);
    m_dialogs.inputAnswers.push_back(QStringLiteral("2026"));
    choose("MN_IMPORT_HORI");
    ASSERT_EQ(m_dialogs.prompts.size(), 2u);
    EXPECT_EQ(m_dialogs.prompts[1].kind, ScriptedDialogs::Prompt::Input);
    EXPECT_TRUE(m_dialogs.prompts[1].text.contains(QStringLiteral("2026")));
    EXPECT_TRUE(m_dialogs.texts(MessageIcon::Warning).isEmpty());
    const HolidayLoad load = loadHolidayFile(m_dir.path(QStringLiteral("horiday0.txt")));
    ASSERT_FALSE(load.fault.has_value());
    EXPECT_EQ(load.table.slotCount, 10);
    EXPECT_EQ(load.table.boldMask(1), (1u << 0) | (1u << 11));  // 2026: 1 and 12 January
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday.txt")), m_dir.read(QStringLiteral("horiday0.txt")));
    expectRestarted();
}

TEST_F(HolidayCommandsTest, ImportFromTheGovernmentListYearNotInIt) {
    const QString csv = test::testDataDir() + QStringLiteral("/holidays/syukujitsu_2026_2027.csv");
    m_dialogs.confirmAnswers.push_back(Answer::Yes);
    m_dialogs.openFileAnswers.push_back(csv);
    m_dialogs.inputAnswers.push_back(QStringLiteral("2031"));
    choose("MN_IMPORT_HORI");
    EXPECT_EQ(m_dialogs.texts(MessageIcon::Warning).size(), 1);
    EXPECT_EQ(m_dir.read(QStringLiteral("horiday0.txt")), m_factory);
    expectNotRestarted();
}

// ---- documents and version ----

TEST_F(HolidayCommandsTest, DocumentsAreHandedToTheDesktop) {
    struct Case {
        const char* entry;
        QString name;
    } cases[] = {
        {"POP_HELP", QStringLiteral("mekuri_00.html")},
        {"POP_README", QStringLiteral("お読み下さい.txt")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        m_shell.opened.clear();
        m_dialogs.clear();
        if (!m_dir.exists(c.name)) m_dir.write(c.name, "document");
        choose(c.entry);
        EXPECT_EQ(m_shell.opened, QStringList{m_dir.path(c.name)});
        EXPECT_TRUE(m_dialogs.messages.empty());

        QFile::remove(m_dir.path(c.name));
        choose(c.entry);
        EXPECT_EQ(m_shell.opened.size(), 1);  // nothing more launched
        EXPECT_EQ(m_dialogs.texts(MessageIcon::Warning),
                  QStringList{QStringLiteral("このソフトと同じフォルダに ") + c.name +
                              QStringLiteral(" が見つかりません")});
    }
}

TEST_F(HolidayCommandsTest, MissingReadMeWarnsExactly) {
    QFile::remove(m_dir.path(QStringLiteral("お読み下さい.txt")));
    choose("POP_README");
    EXPECT_EQ(m_dialogs.texts(MessageIcon::Warning),
              QStringList{QStringLiteral("このソフトと同じフォルダに お読み下さい.txt が見つかりません")});
    EXPECT_TRUE(m_shell.opened.isEmpty());
}

TEST_F(HolidayCommandsTest, DesktopFailureIsReported) {
    m_dir.write(QStringLiteral("お読み下さい.txt"), "x");
    m_shell.fail = true;
    choose("POP_README");
    EXPECT_EQ(m_dialogs.texts(MessageIcon::Error), QStringList{QStringLiteral("関連付けられたプログラムがありません。")});
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(HolidayCommandsTest, VersionLibraryMissingOrWithoutEntryPoint) {
    const QString library = m_dir.path(versionLibraryFileName());
    QFile::remove(library);
    choose("POP_VER");
    EXPECT_EQ(m_dialogs.texts(MessageIcon::Warning),
              QStringList{versionLibraryFileName() + QStringLiteral(" が見つかりません")});

    m_dialogs.clear();
    ASSERT_TRUE(QFile::copy(QStringLiteral(MEKURI_NO_FORMVIEW_LIBRARY), library));
    choose("POP_VER");
    EXPECT_EQ(m_dialogs.texts(MessageIcon::Warning), QStringList{QStringLiteral("DLL内の関数が見つかりません")});
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(HolidayCommandsTest, VersionWindowFromTheLibraryBesideTheProgram) {
    ASSERT_TRUE(QFile::copy(QStringLiteral(MEKURI_ABOUTWIN_LIBRARY), m_dir.path(versionLibraryFileName())));
    QWidget* shownOver = nullptr;
    QTimer::singleShot(0, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            shownOver = w->parentWidget();
            w->close();
        }
    });
    choose("POP_VER");
    EXPECT_EQ(shownOver, m_window.get());
    EXPECT_TRUE(m_dialogs.messages.empty());
}


// ---- the shipped documents ----

// The read-me is CP932 with CR LF throughout (what Notepad on a Japanese
// system shows correctly) and names the version and years.
TEST(ShippedDocuments, ReadMeIsCp932WithCrLf) {
    const QByteArray bytes = test::readFileBytes(test::shippedDataDir() + QStringLiteral("/お読み下さい.txt"));
    const DecodedText decoded = decodeText(bytes);
    EXPECT_EQ(decoded.encoding, TextEncoding::Cp932);
    EXPECT_FALSE(decoded.hadInvalidBytes);
    EXPECT_EQ(test::cp932(decoded.text), bytes);  // round trip
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
    EXPECT_EQ(bytes.count("\r"), bytes.count("\r\n"));
    for (const QString& needed : {QStringLiteral("３．７０"), QStringLiteral("2000-2019"),
                                  QStringLiteral("horiday0.txt"), QStringLiteral("mkri.ini"),
                                  QStringLiteral("mekuri_00.html")}) {
        EXPECT_TRUE(decoded.text.contains(needed)) << needed.toStdString();
    }
}

// The manual declares its encoding, is valid UTF-8, and every entry of its
// table of contents leads somewhere.
TEST(ShippedDocuments, ManualIsSelfContainedUtf8WithWorkingContents) {
    const QByteArray bytes = test::readFileBytes(test::shippedDataDir() + QStringLiteral("/mekuri_00.html"));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString html = utf8.decode(bytes);
    ASSERT_FALSE(utf8.hasError());
    EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    EXPECT_TRUE(html.contains(QStringLiteral("name=\"viewport\"")));
    EXPECT_FALSE(html.contains(QStringLiteral("src=\"http")));  // nothing fetched from outside
    const QRegularExpression href(QStringLiteral("href=\"#([^\"]+)\""));
    int links = 0;
    for (auto it = href.globalMatch(html); it.hasNext(); ++links) {
        const QString id = it.next().captured(1);
        EXPECT_TRUE(html.contains(QStringLiteral("id=\"") + id + u'"')) << id.toStdString();
    }
    EXPECT_GT(links, 10);
}


// ---- a real restart ----

// The running executable is started again through the real desktop shell.
// Here that executable is this test program: the environment it inherits
// makes the new instance run only this test, which then just reports in
// with its process id.
TEST(RealRestart, StartsAFreshInstanceOfTheRunningExecutable) {
    const QByteArray reportTo = qgetenv("MEKURI_TEST_RESTART_REPORT");
    if (!reportTo.isEmpty()) {  // the new instance
        QSaveFile report(QString::fromLocal8Bit(reportTo));
        ASSERT_TRUE(report.open(QIODevice::WriteOnly));
        report.write(QByteArray::number(QCoreApplication::applicationPid()));
        ASSERT_TRUE(report.commit());
        return;
    }

    QApplication::setQuitOnLastWindowClosed(false);
    TempProgramDir dir;
    dir.installAllShipped();
    ScriptedDialogs dialogs;
    TF_MAIN window(AppPaths::fromFolder(dir.dir()));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const QString reportPath = dir.path(QStringLiteral("restarted.txt"));
    const bool hadFilter = qEnvironmentVariableIsSet("GTEST_FILTER");
    const QByteArray oldFilter = qgetenv("GTEST_FILTER");
    qputenv("MEKURI_TEST_RESTART_REPORT", reportPath.toLocal8Bit());
    qputenv("GTEST_FILTER", "RealRestart.*");
    dialogs.confirmAnswers.push_back(Answer::Yes);
    window.action("POP_KYUJITSU_RECOV")->trigger();
    qunsetenv("MEKURI_TEST_RESTART_REPORT");
    if (hadFilter) {
        qputenv("GTEST_FILTER", oldFilter);
    } else {
        qunsetenv("GTEST_FILTER");
    }

    EXPECT_TRUE(dialogs.texts(MessageIcon::Error).isEmpty()) << dialogs.allTexts().join(u'\n').toStdString();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(dir.exists(QStringLiteral("mkri.ini")));
    // A guard against a hang, not a measure of speed.
    QDeadlineTimer patience(60000);
    while (!QFile::exists(reportPath) && !patience.hasExpired()) QThread::msleep(50);
    ASSERT_TRUE(QFile::exists(reportPath)) << "the new instance never reported in";
    const qint64 newPid = test::readFileBytes(reportPath).toLongLong();
    EXPECT_GT(newPid, 0);
    EXPECT_NE(newPid, QCoreApplication::applicationPid());
}

}  // namespace
}  // namespace mekuri
