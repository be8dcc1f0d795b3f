// The SHIORI_DAY key rules: loading by line order, adding, re-dating,
// renaming and the delete loop that moves later bookmarks down.
#include "app/bookmark_store.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mekuri {
namespace {

IniFile iniFromLines(const QStringList& lines) {
    return IniFile::parse(QStringLiteral("[SHIORI_DAY]\r\n") + lines.join(QStringLiteral("\r\n")));
}

// Three bookmarks as the program writes them.
IniFile threeBookmarks() {
    IniFile ini;
    ini.writeInteger(QStringLiteral("FIRST_DAY"), QStringLiteral("0"), 6);
    addBookmark(ini, 1, {QStringLiteral("誕生日"), QStringLiteral("2019/5/1")});
    addBookmark(ini, 2, {QStringLiteral("クリスマス"), QStringLiteral("2019/12/24")});
    addBookmark(ini, 3, {QStringLiteral("a=b"), QStringLiteral("2020/1/1")});
    ini.writeInteger(QStringLiteral("MENU"), QStringLiteral("0"), 1);
    return ini;
}

QStringList section(const IniFile& ini) { return ini.sectionLines(kBookmarkSection); }

TEST(BookmarkKeys, AreThreeDigitsPerPosition) {
    EXPECT_EQ(bookmarkTitleKey(1), QStringLiteral("101"));
    EXPECT_EQ(bookmarkDateKey(1), QStringLiteral("201"));
    EXPECT_EQ(bookmarkTitleKey(10), QStringLiteral("110"));
    EXPECT_EQ(bookmarkDateKey(10), QStringLiteral("210"));
}

struct LoadCase {
    const char* name;
    QStringList lines;
    QVector<Bookmark> expected;
};

TEST(LoadBookmarks, TakesLinePairsInFileOrder) {
    const QVector<LoadCase> cases = {
        {"two pairs", {"101=A", "201=2019/5/1", "102=B", "202=2019/12/24"},
         {{"A", "2019/5/1"}, {"B", "2019/12/24"}}},
        {"keys are not looked at, only the order",
         {"105=A", "209=2019/5/1", "101=B", "201=2020/2/29"},
         {{"A", "2019/5/1"}, {"B", "2020/2/29"}}},
        {"dangling last title is ignored", {"101=A", "201=2019/5/1", "102=B"},
         {{"A", "2019/5/1"}}},
        {"single title only", {"101=A"}, {}},
        {"title with equals sign and Japanese text",
         {QStringLiteral("101=x=y＝ぜ"), "201=2019/5/1"},
         {{QStringLiteral("x=y＝ぜ"), "2019/5/1"}}},
        {"empty values", {"101=", "201="}, {{"", ""}}},
        {"blanks around the equals sign are not part of the title",
         {"101 =  A B ", "201= 2019/5/1"}, {{"A B", "2019/5/1"}}},
    };
    for (const LoadCase& c : cases) {
        EXPECT_EQ(loadBookmarks(iniFromLines(c.lines)), c.expected) << c.name;
    }
}

TEST(LoadBookmarks, NoSectionGivesNone) {
    EXPECT_TRUE(loadBookmarks(IniFile::parse(QStringLiteral("[MENU]\r\n0=1\r\n"))).isEmpty());
    EXPECT_TRUE(loadBookmarks(IniFile()).isEmpty());
}

TEST(LoadBookmarks, StopsAfterTenPairs) {
    QStringList lines;
    for (int k = 1; k <= 12; ++k) {
        lines << QStringLiteral("%1=T%2").arg(100 + k).arg(k)
              << QStringLiteral("%1=2019/1/%2").arg(200 + k).arg(k);
    }
    const QVector<Bookmark> loaded = loadBookmarks(iniFromLines(lines));
    ASSERT_EQ(loaded.size(), 10);
    EXPECT_EQ(loaded.last(), (Bookmark{"T10", "2019/1/10"}));
}

TEST(AddBookmark, WritesTitleThenDateAtItsPosition) {
    IniFile ini;
    addBookmark(ini, 1, {"A", "2019/5/1"});
    EXPECT_EQ(section(ini), QStringList({"101=A", "201=2019/5/1"}));

    for (int k = 2; k <= 10; ++k) addBookmark(ini, k, {QStringLiteral("T%1").arg(k), "2019/1/1"});
    const QStringList lines = section(ini);
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines[18], QStringLiteral("110=T10"));
    EXPECT_EQ(lines[19], QStringLiteral("210=2019/1/1"));
    EXPECT_EQ(loadBookmarks(ini).size(), 10);
}

TEST(AddBookmark, FirstBookmarkFileBytes) {
    test::TempProgramDir dir;
    const QString path = dir.path(QStringLiteral("mkri.ini"));
    ASSERT_TRUE(changeIniFile(path, [](IniFile& ini) {
        addBookmark(ini, 1, {QStringLiteral("誕生日"), "2019/5/1"});
    }));
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")),
              test::cp932(QStringLiteral("[SHIORI_DAY]\r\n101=誕生日\r\n201=2019/5/1\r\n\r\n")));
}

TEST(RedateBookmark, WritesOnlyTheDateKeyInPlace) {
    IniFile ini = threeBookmarks();
    const QStringList before = section(ini);
    redateBookmark(ini, 2, "2021/3/3");
    QStringList expected = before;
    expected[3] = QStringLiteral("202=2021/3/3");
    EXPECT_EQ(section(ini), expected);
    EXPECT_EQ(ini.readInteger("FIRST_DAY", "0", -1), 6);
}

TEST(RenameBookmark, WritesOnlyTheTitleKeyInPlace) {
    IniFile ini = threeBookmarks();
    const QStringList before = section(ini);
    renameBookmark(ini, 3, QStringLiteral("新年"));
    QStringList expected = before;
    expected[4] = QStringLiteral("103=新年");
    EXPECT_EQ(section(ini), expected);
}

struct DeleteCase {
    const char* name;
    int position;
    QStringList expected;
};

TEST(DeleteBookmark, MovesLaterBookmarksDownInPositionOrder) {
    const QVector<DeleteCase> cases = {
        {"first of three", 1,
         {QStringLiteral("101=クリスマス"), "201=2019/12/24", "102=a=b", "202=2020/1/1"}},
        {"second of three", 2,
         {QStringLiteral("101=誕生日"), "201=2019/5/1", "102=a=b", "202=2020/1/1"}},
        {"last of three", 3,
         {QStringLiteral("101=誕生日"), "201=2019/5/1", QStringLiteral("102=クリスマス"),
          "202=2019/12/24"}},
    };
    for (const DeleteCase& c : cases) {
        IniFile ini = threeBookmarks();
        deleteBookmark(ini, c.position, 3);
        EXPECT_EQ(section(ini), c.expected) << c.name;
        EXPECT_FALSE(ini.value(kBookmarkSection, "103")) << c.name;
        EXPECT_FALSE(ini.value(kBookmarkSection, "203")) << c.name;
        // Other sections keep their place and values.
        EXPECT_EQ(ini.sections().first().name, QStringLiteral("FIRST_DAY")) << c.name;
        EXPECT_EQ(ini.sections().last().name, QStringLiteral("MENU")) << c.name;
    }
}

TEST(DeleteBookmark, TheOnlyOneLeavesNoKeys) {
    IniFile ini;
    addBookmark(ini, 1, {"A", "2019/5/1"});
    deleteBookmark(ini, 1, 1);
    EXPECT_EQ(ini.entryCount(kBookmarkSection), 0);
    EXPECT_TRUE(loadBookmarks(ini).isEmpty());
}

TEST(DeleteBookmark, SurvivesSavingAndReloading) {
    test::TempProgramDir dir;
    const QString path = dir.path(QStringLiteral("mkri.ini"));
    ASSERT_TRUE(threeBookmarks().save(path));
    ASSERT_TRUE(changeIniFile(path, [](IniFile& ini) { deleteBookmark(ini, 2, 3); }));
    EXPECT_EQ(loadBookmarks(IniFile::loadOrEmpty(path)),
              (QVector<Bookmark>{{QStringLiteral("誕生日"), "2019/5/1"}, {"a=b", "2020/1/1"}}));
}

// Titles the user may type: "=" inside, Japanese, and text CP932 cannot hold
// (the wave dash most input methods type, emoji), which makes the settings
// file switch to UTF-8 with a mark rather than lose characters.
TEST(BookmarkTitles, SurviveSavingAndReloading) {
    const QStringList titles = {
        QStringLiteral("a=b=c"),
        QStringLiteral("花見　２０１９"),
        QStringLiteral("旅行〜帰宅"),
        QStringLiteral("誕生日 🎂"),
        QStringLiteral("～全角チルダ～"),
    };
    for (const QString& title : titles) {
        test::TempProgramDir dir;
        const QString path = dir.path(QStringLiteral("mkri.ini"));
        ASSERT_TRUE(changeIniFile(path, [&](IniFile& ini) { addBookmark(ini, 1, {title, "2019/5/1"}); }));
        // A second change must keep the encoding the first one chose.
        ASSERT_TRUE(changeIniFile(path, [](IniFile& ini) { addBookmark(ini, 2, {"B", "2019/5/2"}); }));
        const QVector<Bookmark> loaded = loadBookmarks(IniFile::loadOrEmpty(path));
        ASSERT_EQ(loaded.size(), 2) << qPrintable(title);
        EXPECT_EQ(loaded[0].title, title);
        EXPECT_EQ(loaded[1].title, QStringLiteral("B"));
    }
}

}  // namespace
}  // namespace mekuri
