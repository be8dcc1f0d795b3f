// The anniversary list file: CP932, CR LF after every line, empty list empty
// file, byte-order marks honoured on reading, atomic replacement.
#include "mycal/anniversary_list.h"

#include "settings/save_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

using namespace mekuri;
using namespace mekuri::test;

namespace {

TEST(AnniversaryList, SavedBytes) {
    const struct {
        const char* name;
        QStringList lines;
        QByteArray bytes;
    } cases[] = {
        {"empty list is an empty file", {}, QByteArray()},
        {"one line ends in CR LF", {QStringLiteral("2019/05/01")}, "2019/05/01\r\n"},
        {"order is kept", {QStringLiteral("2020/01/01"), QStringLiteral("2019/05/01")},
         "2020/01/01\r\n2019/05/01\r\n"},
    };
    for (const auto& c : cases) {
        TempProgramDir dir;
        ASSERT_TRUE(saveAnniversaryList(dir.path(QStringLiteral("mkrikils.txt")), c.lines).ok()) << c.name;
        EXPECT_EQ(dir.read(QStringLiteral("mkrikils.txt")), c.bytes) << c.name;
        Expected<QStringList> back = loadAnniversaryList(dir.path(QStringLiteral("mkrikils.txt")));
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(back.value(), c.lines) << c.name;
    }
}

TEST(AnniversaryList, ReadingHonoursMarksAndLineBreaks) {
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"UTF-8 mark", "\xEF\xBB\xBF" "2019/05/01\r\n2019/06/01\r\n"},
        {"UTF-16LE mark", QByteArray("\xFF\xFE" "2\0" "0\0" "1\0" "9\0" "/\0" "0\0" "5\0" "/\0" "0\0" "1\0" "\n\0"
                                     "2\0" "0\0" "1\0" "9\0" "/\0" "0\0" "6\0" "/\0" "0\0" "1\0", 44)},
        {"LF only, no final break", "2019/05/01\n2019/06/01"},
        {"blank lines are no dates", "2019/05/01\r\n\r\n  \r\n2019/06/01\r\n\r\n"},
    };
    for (const auto& c : cases) {
        TempProgramDir dir;
        dir.write(QStringLiteral("mkrikils.txt"), c.bytes);
        Expected<QStringList> lines = loadAnniversaryList(dir.path(QStringLiteral("mkrikils.txt")));
        ASSERT_TRUE(lines.ok()) << c.name;
        EXPECT_EQ(lines.value(), (QStringList{QStringLiteral("2019/05/01"), QStringLiteral("2019/06/01")})) << c.name;
    }
}

TEST(AnniversaryList, MissingFileIsAnError) {
    TempProgramDir dir;
    EXPECT_FALSE(loadAnniversaryList(dir.path(QStringLiteral("mkrikils.txt"))).ok());
}

TEST(AnniversaryList, FailedSaveKeepsTheOldFile) {
    TempProgramDir dir;
    dir.write(QStringLiteral("mkrikils.txt"), "2019/05/01\r\n");
    setCommitHookForTesting([](const QString&) { return false; });
    const Status s = saveAnniversaryList(dir.path(QStringLiteral("mkrikils.txt")), {QStringLiteral("2020/01/01")});
    setCommitHookForTesting(nullptr);
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(dir.read(QStringLiteral("mkrikils.txt")), QByteArray("2019/05/01\r\n"));
}

}  // namespace
