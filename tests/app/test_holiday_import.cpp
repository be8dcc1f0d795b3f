// Importing a holiday file: the same-folder refusal, the exact marker line,
// the line-by-line copy with CR LF, and the atomic replacement of the
// factory file.
#include "app/holiday_import.h"

#include "settings/save_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mekuri {
namespace {

using test::TempProgramDir;

const QByteArray kHolidays =
    "[h10]\r\n1\r\n[HORIDAY]\r\n1=1,2,3,0,0,0,0,0,0,0\r\n5=3,4,5,6,0,0,0,0,0,0\r\n";

class HolidayImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_paths = AppPaths::fromFolder(m_program.dir());
        m_program.write(QStringLiteral("horiday0.txt"), QByteArray("[HORIDAY]\r\n1=1,0,0,0\r\n"));
        m_program.write(QStringLiteral("horiday.txt"), QByteArray("[HORIDAY]\r\n1=2,0,0,0\r\n"));
    }
    void TearDown() override {
        setCommitHookForTesting(nullptr);
        QDir::setCurrent(m_savedCwd);
    }
    QString program() const { return QDir(m_program.dir()).absolutePath(); }

    TempProgramDir m_program;
    TempProgramDir m_elsewhere;
    AppPaths m_paths;
    QString m_savedCwd = QDir::currentPath();
};

// However the program folder is written or reached, a file in it is refused.
TEST_F(HolidayImportTest, FileInTheProgramFolderIsRefusedHoweverItIsWritten) {
    const QString prog = program();
    const QString parent = QFileInfo(prog).path();
    const QString leaf = QFileInfo(prog).fileName();
    ASSERT_TRUE(QFile::link(prog, m_elsewhere.path(QStringLiteral("linked_folder"))));
    ASSERT_TRUE(QFile::link(prog + QStringLiteral("/horiday0.txt"),
                            m_elsewhere.path(QStringLiteral("linked_file.txt"))));
    QDir::setCurrent(parent);

    struct Case {
        const char* name;
        QString chosen;
    } cases[] = {
        {"the factory file itself", prog + QStringLiteral("/horiday0.txt")},
        {"the working file", prog + QStringLiteral("/horiday.txt")},
        {"a file that does not exist", prog + QStringLiteral("/new.txt")},
        {"folder in upper case", prog.toUpper() + QStringLiteral("/horiday0.txt")},
        {"folder in lower case", prog.toLower() + QStringLiteral("/HORIDAY0.TXT")},
        {"with ./", prog + QStringLiteral("/./horiday0.txt")},
        {"through a subfolder and ..", prog + QStringLiteral("/sub/../horiday0.txt")},
        {"relative to the current folder", leaf + QStringLiteral("/horiday0.txt")},
        {"relative with ./", QStringLiteral("./") + leaf + QStringLiteral("/horiday0.txt")},
        {"through a linked folder", m_elsewhere.path(QStringLiteral("linked_folder/horiday0.txt"))},
        {"a link to a file in it", m_elsewhere.path(QStringLiteral("linked_file.txt"))},
        {"native separators", QDir::toNativeSeparators(prog + QStringLiteral("/horiday0.txt"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(isInProgramFolder(c.chosen, m_paths.appDir)) << c.chosen.toStdString();
        EXPECT_EQ(checkImportFile(c.chosen, m_paths).refusal, ImportRefusal::SameFolder);
    }
    // The program folder reached through a link is the same folder too.
    ASSERT_TRUE(QFile::link(prog, m_elsewhere.path(QStringLiteral("program_link"))));
    const AppPaths viaLink = AppPaths::fromFolder(m_elsewhere.path(QStringLiteral("program_link")));
    EXPECT_TRUE(isInProgramFolder(prog + QStringLiteral("/horiday0.txt"), viaLink.appDir));
}

TEST_F(HolidayImportTest, FileInAnotherFolderIsNotTheProgramFolder) {
    QDir(program()).mkdir(QStringLiteral("sub"));
    struct Case {
        const char* name;
        QString chosen;
    } cases[] = {
        {"another folder", m_elsewhere.path(QStringLiteral("horiday0.txt"))},
        {"a subfolder of the program folder", program() + QStringLiteral("/sub/horiday0.txt")},
        {"the parent folder", QFileInfo(program()).path() + QStringLiteral("/horiday0.txt")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(isInProgramFolder(c.chosen, m_paths.appDir)) << c.chosen.toStdString();
    }
}

TEST_F(HolidayImportTest, MarkerMustBeTheExactLine) {
    struct Case {
        const char* name;
        QByteArray bytes;
        bool accepted;
    } cases[] = {
        {"marker first", "[HORIDAY]\r\n1=1,0,0,0\r\n", true},
        {"marker in the middle", "; comment\r\n[h10]\r\n1\r\n[HORIDAY]\r\n1=1\r\n", true},
        {"marker as last line with break", "1=1\r\n[HORIDAY]\r\n", true},
        {"marker as last line without break", "1=1\r\n[HORIDAY]", true},
        {"LF line ends", "x\n[HORIDAY]\n1=1\n", true},
        {"CR line ends", "x\r[HORIDAY]\r1=1\r", true},
        {"blank before", " [HORIDAY]\r\n1=1\r\n", false},
        {"blank after", "[HORIDAY] \r\n1=1\r\n", false},
        {"tab before", "\t[HORIDAY]\r\n", false},
        {"blanks inside the brackets", "[ HORIDAY ]\r\n", false},
        {"lower case", "[horiday]\r\n1=1\r\n", false},
        {"mixed case", "[Horiday]\r\n1=1\r\n", false},
        {"marker with text after it", "[HORIDAY]x\r\n", false},
        {"empty file", "", false},
        {"full-width brackets", QByteArray("\x81\x6DHORIDAY\x81\x6E\r\n"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString chosen = m_elsewhere.path(QStringLiteral("chosen.txt"));
        m_elsewhere.write(QStringLiteral("chosen.txt"), c.bytes);
        const ImportCheck check = checkImportFile(chosen, m_paths);
        EXPECT_EQ(check.refusal, c.accepted ? ImportRefusal::None : ImportRefusal::NotHolidayFile);
    }
}

TEST_F(HolidayImportTest, FileThatCannotBeOpenedIsRefused) {
    QDir(m_elsewhere.dir()).mkdir(QStringLiteral("folder.txt"));
    for (const QString& name : {QStringLiteral("missing.txt"), QStringLiteral("folder.txt")}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(checkImportFile(m_elsewhere.path(name), m_paths).refusal, ImportRefusal::CannotOpen);
    }
}

TEST_F(HolidayImportTest, RefusalTexts) {
    EXPECT_EQ(importRefusalText(ImportRefusal::SameFolder), QStringLiteral("同じフォルダ内のファイルは指定できません"));
    EXPECT_EQ(importRefusalText(ImportRefusal::CannotOpen),
              QStringLiteral("ファイルが存在しないためインポート処理でエラーが発生しました"));
    EXPECT_EQ(importRefusalText(ImportRefusal::NotHolidayFile),
              QStringLiteral("指定したファイルは休日データ( horiday0.txt )ではありません！"));
    EXPECT_TRUE(importRefusalText(ImportRefusal::None).isEmpty());
}

// Every line arrives with CR LF, the last one included; nothing else changes
// (Japanese comments keep their CP932 bytes, empty lines stay).
TEST_F(HolidayImportTest, LinesArriveWithCrLf) {
    const QByteArray comment = test::cp932(QStringLiteral("; ２０２６年の休日～振替休日"));
    struct Case {
        const char* name;
        QByteArray in;
        QByteArray out;
    } cases[] = {
        {"last line without break", "[HORIDAY]\r\n1=1,0,0,0", "[HORIDAY]\r\n1=1,0,0,0\r\n"},
        {"LF only", "[HORIDAY]\n1=1\n", "[HORIDAY]\r\n1=1\r\n"},
        {"CR only", "[HORIDAY]\r1=1\r", "[HORIDAY]\r\n1=1\r\n"},
        {"empty lines kept", "[HORIDAY]\r\n\r\n\n1=1\r\n", "[HORIDAY]\r\n\r\n\r\n1=1\r\n"},
        {"blanks kept", "[HORIDAY]\r\n 1 = 1 , 2 \r\n", "[HORIDAY]\r\n 1 = 1 , 2 \r\n"},
        {"CP932 comment", comment + "\r\n[HORIDAY]", comment + "\r\n[HORIDAY]\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_elsewhere.write(QStringLiteral("chosen.txt"), c.in);
        const ImportCheck check = checkImportFile(m_elsewhere.path(QStringLiteral("chosen.txt")), m_paths);
        ASSERT_EQ(check.refusal, ImportRefusal::None);
        ASSERT_TRUE(writeImportedFactoryFile(check.lines, m_paths).ok());
        EXPECT_EQ(m_program.read(QStringLiteral("horiday0.txt")), c.out);
    }
}

TEST_F(HolidayImportTest, FactoryFileIsCreatedWhenMissing) {
    QFile::remove(m_program.path(QStringLiteral("horiday0.txt")));
    ASSERT_TRUE(writeImportedFactoryFile(splitByteLines(kHolidays), m_paths).ok());
    EXPECT_EQ(m_program.read(QStringLiteral("horiday0.txt")), kHolidays);
}

// A write that fails at the last moment leaves the old factory file whole.
TEST_F(HolidayImportTest, FailedWriteKeepsTheOldFactoryFile) {
    const QByteArray before = m_program.read(QStringLiteral("horiday0.txt"));
    setCommitHookForTesting([](const QString&) { return false; });
    const Status status = writeImportedFactoryFile(splitByteLines(kHolidays), m_paths);
    EXPECT_FALSE(status.ok());
    EXPECT_FALSE(status.error().isEmpty());
    EXPECT_EQ(m_program.read(QStringLiteral("horiday0.txt")), before);
    EXPECT_EQ(QDir(m_program.dir()).entryList(QDir::Files).size(), 2);  // no temporary file left
}

TEST_F(HolidayImportTest, WorkingFileBecomesTheFactoryFileByteForByte) {
    m_program.write(QStringLiteral("horiday0.txt"), kHolidays);
    ASSERT_TRUE(copyFactoryOverWorking(m_paths).ok());
    EXPECT_EQ(m_program.read(QStringLiteral("horiday.txt")), kHolidays);
}

TEST_F(HolidayImportTest, FailedCopyLeavesTheWorkingFile) {
    const QByteArray before = m_program.read(QStringLiteral("horiday.txt"));
    m_program.write(QStringLiteral("horiday0.txt"), kHolidays);
    QFile::setPermissions(m_program.path(QStringLiteral("horiday.txt")), QFile::ReadOwner);
    EXPECT_FALSE(copyFactoryOverWorking(m_paths).ok());
    QFile::setPermissions(m_program.path(QStringLiteral("horiday.txt")), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(m_program.read(QStringLiteral("horiday.txt")), before);
}

TEST(SplitByteLines, FinalBreakOpensNoEmptyLine) {
    EXPECT_EQ(splitByteLines("a\r\nb\r\n"), (QList<QByteArray>{"a", "b"}));
    EXPECT_EQ(splitByteLines("a\r\n\r\n"), (QList<QByteArray>{"a", ""}));
    EXPECT_EQ(splitByteLines("a\n\rb"), (QList<QByteArray>{"a", "", "b"}));
    EXPECT_TRUE(splitByteLines("").isEmpty());
}

}  // namespace
}  // namespace mekuri
