// Bookmarks on the main window: the menu built from SHIORI_DAY, adding,
// jumping, re-dating, renaming and deleting, checked against the settings
// file and a restart on the same program folder. Dialogs are scripted.
#include "app/tf_main.h"

#include "platform/month_calendar.h"
#include "scripted_dialogs.h"
#include "settings/ini_file.h"
#include "settings/save_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTest>

#include <memory>

namespace mekuri {
namespace {

using test::ScriptedDialogs;
using test::TempProgramDir;

struct Shown {
    QString title;
    QString date;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
    *os << s.title.toStdString() << " @ " << s.date.toStdString();
}

class BookmarkTest : public ::testing::Test {
protected:
    void SetUp() override { dir.installAllShipped(); }

    std::unique_ptr<TF_MAIN> open() {
        auto w = std::make_unique<TF_MAIN>(AppPaths::fromFolder(dir.dir()));
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }

    void writeSettings(const QString& text) const {
        dir.write(QStringLiteral("mkri.ini"), test::cp932(text));
    }
    QStringList bookmarkLines() const {
        return IniFile::loadOrEmpty(dir.path(QStringLiteral("mkri.ini")))
            .sectionLines(QStringLiteral("SHIORI_DAY"));
    }

    static QMenu* shioriMenu(TF_MAIN& w) { return w.menu("POP_SHIORI_MN"); }
    // Bookmark k (1-based) by its place in the menu.
    static QMenu* bookmark(TF_MAIN& w, int k) {
        QAction* entry = shioriMenu(w)->actions().value(k + 1);
        return entry ? entry->menu() : nullptr;
    }
    static QAction* subEntry(TF_MAIN& w, int k, int index) {
        QMenu* b = bookmark(w, k);
        return b ? b->actions().value(index) : nullptr;
    }
    // What the menu shows: each bookmark's caption and its date entry's caption.
    static std::vector<Shown> shown(TF_MAIN& w) {
        std::vector<Shown> out;
        const QList<QAction*> entries = shioriMenu(w)->actions();
        for (qsizetype i = 2; i < entries.size(); ++i) {
            QMenu* b = entries[i]->menu();
            out.push_back({b->title(), b->actions().value(0)->text()});
        }
        return out;
    }

    void select(TF_MAIN& w, QDate date) { w.MonthCalendar1()->setSelectedDate(date); }

    TempProgramDir dir;
    ScriptedDialogs dialogs;
};

const QString kThreeBookmarks = QStringLiteral(
    "[SHIORI_DAY]\r\n101=誕生日\r\n201=2019/5/1\r\n102=クリスマス\r\n202=2019/12/24\r\n"
    "103=a=b\r\n203=2020/1/1\r\n\r\n[MENU]\r\n0=1\r\n");

// ---- the menu ----

TEST_F(BookmarkTest, FixedEntriesWithoutBookmarks) {
    auto w = open();
    const QList<QAction*> entries = shioriMenu(*w)->actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->objectName(), QStringLiteral("POP_SHIORI_ADD"));
    EXPECT_EQ(entries[0]->text(), QStringLiteral("しおり日の追加..."));
    EXPECT_TRUE(entries[0]->isEnabled());
    EXPECT_TRUE(entries[1]->isSeparator());
    EXPECT_EQ(entries[1]->objectName(), QStringLiteral("N8"));
}

TEST_F(BookmarkTest, EachBookmarkHasItsSubmenu) {
    writeSettings(kThreeBookmarks);
    auto w = open();
    EXPECT_EQ(shown(*w), (std::vector<Shown>{{QStringLiteral("誕生日"), "2019/5/1"},
                                             {QStringLiteral("クリスマス"), "2019/12/24"},
                                             {"a=b", "2020/1/1"}}));
    QMenu* b = bookmark(*w, 2);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->menuAction()->objectName(), QStringLiteral("POP_MN_SHIORI_2"));
    const QList<QAction*> sub = b->actions();
    ASSERT_EQ(sub.size(), 5);
    EXPECT_EQ(sub[0]->text(), QStringLiteral("2019/12/24"));
    EXPECT_EQ(sub[0]->objectName(), QStringLiteral("POP_MN_SHIORI_JUMP2"));
    EXPECT_EQ(b->defaultAction(), sub[0]);
    EXPECT_TRUE(sub[0]->font().bold());
    EXPECT_TRUE(sub[1]->isSeparator());
    EXPECT_EQ(sub[1]->objectName(), QStringLiteral("POP_MN_SHIORI_SUB_HAIFUN2"));
    EXPECT_EQ(sub[2]->text(), QStringLiteral("日付変更"));
    EXPECT_EQ(sub[3]->text(), QStringLiteral("ﾀｲﾄﾙ変更..."));
    EXPECT_EQ(sub[3]->objectName(), QStringLiteral("POP_MN_SHIORI_RENAME2"));
    EXPECT_EQ(sub[4]->text(), QStringLiteral("削除"));
    EXPECT_EQ(sub[4]->objectName(), QStringLiteral("POP_MN_SHIORI_SAKUJYO2"));
    for (int i : {0, 2, 3, 4}) EXPECT_TRUE(sub[i]->isEnabled()) << i;
}

TEST_F(BookmarkTest, DanglingTitleOfAHandEditedFileIsIgnored) {
    writeSettings(QStringLiteral("[SHIORI_DAY]\r\n101=A\r\n201=2019/5/1\r\n102=B\r\n"));
    auto w = open();
    EXPECT_EQ(shown(*w), (std::vector<Shown>{{"A", "2019/5/1"}}));
}

// ---- adding ----

TEST_F(BookmarkTest, FirstAddWrites101Then201) {
    auto w = open();
    select(*w, QDate(2019, 5, 1));
    dialogs.inputAnswers.push_back(QStringLiteral("誕生日"));
    w->action("POP_SHIORI_ADD")->trigger();
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].caption, QStringLiteral("しおり日の追加"));
    EXPECT_EQ(dialogs.prompts[0].text, QStringLiteral("2019/5/1 のタイトルを入力して下さい"));
    EXPECT_EQ(dialogs.prompts[0].initial, QString());
    EXPECT_EQ(bookmarkLines(), QStringList({QStringLiteral("101=誕生日"), "201=2019/5/1"}));
    EXPECT_EQ(shown(*w), (std::vector<Shown>{{QStringLiteral("誕生日"), "2019/5/1"}}));
    EXPECT_EQ(bookmark(*w, 1)->menuAction()->objectName(), QStringLiteral("POP_MN_SHIORI_1"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(BookmarkTest, TenthWrites110And210AndTheEleventhWarnsBeforeAnyPrompt) {
    auto w = open();
    for (int k = 1; k <= 10; ++k) {
        select(*w, QDate(2020, 2, k));
        dialogs.inputAnswers.push_back(QStringLiteral("T%1").arg(k));
        w->action("POP_SHIORI_ADD")->trigger();
    }
    const QStringList lines = bookmarkLines();
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines[18], QStringLiteral("110=T10"));
    EXPECT_EQ(lines[19], QStringLiteral("210=2020/2/10"));
    EXPECT_EQ(shown(*w).size(), 10u);

    dialogs.clear();
    const QByteArray before = dir.read(QStringLiteral("mkri.ini"));
    w->action("POP_SHIORI_ADD")->trigger();
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_EQ(dialogs.texts(MessageIcon::Warning), QStringList{QStringLiteral("しおり日は最大で１０件までです")});
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), before);
    EXPECT_EQ(shown(*w).size(), 10u);
}

TEST_F(BookmarkTest, EmptyTitleWarnsAndPromptsAgain) {
    auto w = open();
    select(*w, QDate(2019, 5, 1));
    dialogs.inputAnswers = {QString(), QString(), QStringLiteral(" ")};
    w->action("POP_SHIORI_ADD")->trigger();
    ASSERT_EQ(dialogs.prompts.size(), 3u);
    for (const auto& p : dialogs.prompts) EXPECT_EQ(p.initial, QString());
    EXPECT_EQ(dialogs.texts(MessageIcon::Warning),
              QStringList(2, QStringLiteral("タイトルが未入力では作成できません")));
    // Blanks are a title.
    EXPECT_EQ(shown(*w), (std::vector<Shown>{{" ", "2019/5/1"}}));
    EXPECT_EQ(bookmarkLines().size(), 2);
}

TEST_F(BookmarkTest, CancelAddsNothing) {
    auto w = open();
    dialogs.inputAnswers = {QString(), std::nullopt};
    w->action("POP_SHIORI_ADD")->trigger();
    EXPECT_FALSE(dir.exists(QStringLiteral("mkri.ini")));
    EXPECT_TRUE(shown(*w).empty());
}

// Titles the user may type: "=", "&" (no mnemonic), Japanese, and
// characters CP932 cannot hold; all come back after a restart.
TEST_F(BookmarkTest, UnusualTitlesSurviveARestart) {
    const QStringList titles = {QStringLiteral("x=y"), QStringLiteral("A&B"),
                                QStringLiteral("旅行〜帰宅 🎂")};
    {
        auto w = open();
        select(*w, QDate(2019, 5, 1));
        for (const QString& t : titles) {
            dialogs.inputAnswers.push_back(t);
            w->action("POP_SHIORI_ADD")->trigger();
        }
    }
    auto w = open();
    ASSERT_EQ(shown(*w).size(), 3u);
    for (int k = 1; k <= 3; ++k) {
        dialogs.inputAnswers.push_back(std::nullopt);
        subEntry(*w, k, 3)->trigger();  // rename: the prompt starts with the title as stored
        EXPECT_EQ(dialogs.prompts.back().initial, titles[k - 1]);
    }
    EXPECT_EQ(bookmark(*w, 2)->title(), QStringLiteral("A&&B"));  // shown as "A&B"
}

// ---- jumping ----

TEST_F(BookmarkTest, JumpSelectsTheDateAndLeavesTheStatusLine) {
    writeSettings(kThreeBookmarks);
    auto w = open();
    w->setStatusText(QStringLiteral("前の表示"));
    subEntry(*w, 1, 0)->trigger();
    EXPECT_EQ(w->MonthCalendar1()->selectedDate(), QDate(2019, 5, 1));
    EXPECT_EQ(w->statusText(), QStringLiteral("前の表示"));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(dir.read(QStringLiteral("mkri.ini")).isEmpty());
}

TEST_F(BookmarkTest, StoredDateThatCannotBeUsedFailsTheJump) {
    const QStringList dates = {QStringLiteral("2019/13/1"), QStringLiteral("いつか"),
                               QStringLiteral("1899/12/31"), QStringLiteral("2088/1/1")};
    for (const QString& date : dates) {
        writeSettings(QStringLiteral("[SHIORI_DAY]\r\n101=A\r\n201=") + date + QStringLiteral("\r\n"));
        auto w = open();
        select(*w, QDate(2010, 10, 10));
        dialogs.clear();
        subEntry(*w, 1, 0)->trigger();
        EXPECT_EQ(w->MonthCalendar1()->selectedDate(), QDate(2010, 10, 10)) << qPrintable(date);
        ASSERT_EQ(dialogs.texts(MessageIcon::Error).size(), 1) << qPrintable(date);
        EXPECT_TRUE(dialogs.texts(MessageIcon::Error)[0].contains(date));
    }
}

// ---- re-dating and renaming ----

TEST_F(BookmarkTest, RedatingAsksAndWritesOnlyTheDateKey) {
    writeSettings(kThreeBookmarks);
    auto w = open();
    select(*w, QDate(2021, 3, 3));
    dialogs.confirmAnswers.push_back(Answer::Yes);
    subEntry(*w, 2, 2)->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("しおり：　クリスマス　の日付を \n\n2019/12/24 → 2021/3/3 へと変更しますか？"));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(bookmarkLines(),
              QStringList({QStringLiteral("101=誕生日"), "201=2019/5/1", QStringLiteral("102=クリスマス"),
                           "202=2021/3/3", "103=a=b", "203=2020/1/1"}));
    EXPECT_EQ(subEntry(*w, 2, 0)->text(), QStringLiteral("2021/3/3"));
}

TEST_F(BookmarkTest, RedatingAnsweredNoChangesNothing) {
    writeSettings(kThreeBookmarks);
    auto w = open();
    const QByteArray before = dir.read(QStringLiteral("mkri.ini"));
    dialogs.confirmAnswers.push_back(Answer::No);
    subEntry(*w, 1, 2)->trigger();
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), before);
    EXPECT_EQ(subEntry(*w, 1, 0)->text(), QStringLiteral("2019/5/1"));
}

TEST_F(BookmarkTest, RenamingWritesOnlyTheTitleKeyAndEmptyTitlesPromptAgain) {
    writeSettings(kThreeBookmarks);
    auto w = open();
    dialogs.inputAnswers = {QString(), QStringLiteral("新年")};
    subEntry(*w, 3, 3)->trigger();
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    for (const auto& p : dialogs.prompts) {
        EXPECT_EQ(p.caption, QStringLiteral("しおり日のタイトルの変更"));
        EXPECT_EQ(p.text, QStringLiteral("2020/1/1 の新しいﾀｲﾄﾙを入力して下さい"));
        EXPECT_EQ(p.initial, QStringLiteral("a=b"));
    }
    EXPECT_EQ(dialogs.texts(MessageIcon::Warning),
              QStringList{QStringLiteral("タイトルが未入力では変更できません")});
    EXPECT_EQ(bookmarkLines(),
              QStringList({QStringLiteral("101=誕生日"), "201=2019/5/1", QStringLiteral("102=クリスマス"),
                           "202=2019/12/24", QStringLiteral("103=新年"), "203=2020/1/1"}));
    EXPECT_EQ(bookmark(*w, 3)->title(), QStringLiteral("新年"));
}

// ---- deleting ----

TEST_F(BookmarkTest, DeletingTheSecondOfThreeMovesTheThirdDown) {
    writeSettings(kThreeBookmarks);
    {
        auto w = open();
        dialogs.confirmAnswers.push_back(Answer::Yes);
        subEntry(*w, 2, 4)->trigger();
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("クリスマス を削除しますか？"));
        EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(bookmarkLines(),
                  QStringList({QStringLiteral("101=誕生日"), "201=2019/5/1", "102=a=b", "202=2020/1/1"}));
        const std::vector<Shown> expected = {{QStringLiteral("誕生日"), "2019/5/1"}, {"a=b", "2020/1/1"}};
        EXPECT_EQ(shown(*w), expected);

        // The former third bookmark is found by its place now, not its name.
        dialogs.inputAnswers.push_back(QStringLiteral("元日"));
        QAction* rename = bookmark(*w, 2)->findChild<QAction*>(QStringLiteral("POP_MN_SHIORI_RENAME3"));
        ASSERT_TRUE(rename);
        rename->trigger();
        EXPECT_EQ(bookmarkLines(), QStringList({QStringLiteral("101=誕生日"), "201=2019/5/1",
                                                QStringLiteral("102=元日"), "202=2020/1/1"}));
        w->close();
    }
    auto restarted = open();
    EXPECT_EQ(shown(*restarted), (std::vector<Shown>{{QStringLiteral("誕生日"), "2019/5/1"},
                                                     {QStringLiteral("元日"), "2020/1/1"}}));
}

TEST_F(BookmarkTest, DeletingTheOnlyOneLeavesNoKeys) {
    writeSettings(QStringLiteral("[SHIORI_DAY]\r\n101=A\r\n201=2019/5/1\r\n"));
    auto w = open();
    dialogs.confirmAnswers.push_back(Answer::Yes);
    subEntry(*w, 1, 4)->trigger();
    EXPECT_TRUE(bookmarkLines().isEmpty());
    EXPECT_TRUE(shown(*w).empty());
    // A new bookmark starts at 101 again.
    dialogs.inputAnswers.push_back(QStringLiteral("B"));
    select(*w, QDate(2019, 5, 2));
    w->action("POP_SHIORI_ADD")->trigger();
    EXPECT_EQ(bookmarkLines(), QStringList({"101=B", "201=2019/5/2"}));
}

TEST_F(BookmarkTest, DeletingAnsweredNoKeepsTheBookmark) {
    writeSettings(kThreeBookmarks);
    auto w = open();
    const QByteArray before = dir.read(QStringLiteral("mkri.ini"));
    dialogs.confirmAnswers.push_back(Answer::No);
    subEntry(*w, 1, 4)->trigger();
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), before);
    EXPECT_EQ(shown(*w).size(), 3u);
}

// A settings file that cannot be written: the failure is reported and the
// menu keeps showing what the file holds.
TEST_F(BookmarkTest, FailedSaveIsReportedAndLeavesTheMenu) {
    writeSettings(kThreeBookmarks);
    auto w = open();
    const std::vector<Shown> before = shown(*w);
    setCommitHookForTesting([](const QString&) { return false; });
    dialogs.inputAnswers = {QStringLiteral("D"), QStringLiteral("E")};
    dialogs.confirmAnswers = {Answer::Yes, Answer::Yes};
    w->action("POP_SHIORI_ADD")->trigger();
    subEntry(*w, 1, 2)->trigger();  // re-date
    subEntry(*w, 1, 3)->trigger();  // rename
    subEntry(*w, 1, 4)->trigger();  // delete
    setCommitHookForTesting({});
    EXPECT_EQ(dialogs.texts(MessageIcon::Error).size(), 4);
    EXPECT_EQ(shown(*w), before);
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), test::cp932(kThreeBookmarks));
}

}  // namespace
}  // namespace mekuri
