#include "settings/save_file.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace mekuri;
using mekuri::test::TempProgramDir;

namespace {

// Resets the commit hook however the test ends.
struct FailingCommits {
    FailingCommits() {
        setCommitHookForTesting([](const QString&) { return false; });
    }
    ~FailingCommits() { setCommitHookForTesting(nullptr); }
};

QStringList filesIn(const TempProgramDir& dir) {
    return QDir(dir.dir()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

TEST(SaveFile, WritesAndReplaces) {
    TempProgramDir dir;
    const QString path = dir.path(QStringLiteral("a.dat"));
    ASSERT_TRUE(writeFileAtomic(path, "first").ok());
    EXPECT_EQ(dir.read(QStringLiteral("a.dat")), QByteArray("first"));
    ASSERT_TRUE(writeFileAtomic(path, "2").ok());
    EXPECT_EQ(dir.read(QStringLiteral("a.dat")), QByteArray("2"));
    ASSERT_TRUE(writeFileAtomic(path, QByteArray()).ok());
    EXPECT_EQ(dir.read(QStringLiteral("a.dat")), QByteArray());
    EXPECT_EQ(filesIn(dir), QStringList{QStringLiteral("a.dat")});
}

TEST(SaveFile, FailedCommitLeavesTheOldFileAndNoTemporary) {
    TempProgramDir dir;
    const QByteArray old = QByteArray("[Form]\r\nLEFT=1\r\n");
    dir.write(QStringLiteral("mkri.ini"), old);
    {
        FailingCommits failing;
        const Status st = writeFileAtomic(dir.path(QStringLiteral("mkri.ini")), "new");
        EXPECT_FALSE(st.ok());
        EXPECT_TRUE(st.error().contains(QStringLiteral("mkri.ini")));
    }
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), old);
    EXPECT_EQ(filesIn(dir), QStringList{QStringLiteral("mkri.ini")});
}

TEST(SaveFile, FailedCommitOfANewFileCreatesNothing) {
    TempProgramDir dir;
    FailingCommits failing;
    EXPECT_FALSE(writeFileAtomic(dir.path(QStringLiteral("new.ini")), "x").ok());
    EXPECT_TRUE(filesIn(dir).isEmpty());
}

TEST(SaveFile, ReadOnlyFileIsRefusedAndUntouched) {
    TempProgramDir dir;
    dir.write(QStringLiteral("ro.ini"), "keep");
    const QString path = dir.path(QStringLiteral("ro.ini"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const Status st = writeFileAtomic(path, "changed");
    EXPECT_FALSE(st.ok());
    EXPECT_TRUE(st.error().contains(QStringLiteral("ro.ini")));
    EXPECT_EQ(dir.read(QStringLiteral("ro.ini")), QByteArray("keep"));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(SaveFile, MissingFolderIsAnError) {
    TempProgramDir dir;
    const Status st = writeFileAtomic(dir.path(QStringLiteral("no/such/a.dat")), "x");
    EXPECT_FALSE(st.ok());
    EXPECT_FALSE(st.error().isEmpty());
}

TEST(SaveFile, CopyFileAtomic) {
    TempProgramDir dir;
    const QByteArray bytes("\x00\xFF\r\n\x81\x60", 6);
    dir.write(QStringLiteral("horiday0.txt"), bytes);
    dir.write(QStringLiteral("horiday.txt"), "old");
    ASSERT_TRUE(copyFileAtomic(dir.path(QStringLiteral("horiday0.txt")), dir.path(QStringLiteral("horiday.txt"))).ok());
    EXPECT_EQ(dir.read(QStringLiteral("horiday.txt")), bytes);

    dir.write(QStringLiteral("horiday.txt"), "old");
    const Status missing =
        copyFileAtomic(dir.path(QStringLiteral("none.txt")), dir.path(QStringLiteral("horiday.txt")));
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error().contains(QStringLiteral("none.txt")));
    EXPECT_EQ(dir.read(QStringLiteral("horiday.txt")), QByteArray("old"));
}

}  // namespace
