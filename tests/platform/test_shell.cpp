// The shell launcher: starting a program reports the system's failure text,
// and a test stand-in replaces the desktop for every caller.
#include "platform/shell.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

namespace mekuri {
namespace {

TEST(Shell, StartDetachedRunsTheProgramWithItsArguments) {
    test::TempProgramDir dir;
    const QString marker = dir.path(QStringLiteral("started"));
    QString error;
    ASSERT_TRUE(shell().startDetached(QStringLiteral("/bin/sh"),
                                      {QStringLiteral("-c"), QStringLiteral("echo started > \"$0\""), marker},
                                      &error))
        << error.toStdString();
    // The new process runs on its own; give it a moment to write.
    for (int i = 0; i < 100 && !QFile::exists(marker); ++i) QTest::qWait(20);
    EXPECT_EQ(dir.read(QStringLiteral("started")), QByteArrayLiteral("started\n"));
}

TEST(Shell, StartDetachedOfAMissingProgramFailsWithAReason) {
    QString error;
    EXPECT_FALSE(shell().startDetached(QStringLiteral("/nonexistent/mekuri"), {}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(shell().startDetached(QStringLiteral("/nonexistent/mekuri"), {}, nullptr));
}

class RecordingShell : public ShellLauncher {
public:
    bool startDetached(const QString& program, const QStringList&, QString*) override {
        started.append(program);
        return true;
    }
    bool openDocument(const QString& path, QString* error) override {
        opened.append(path);
        if (error) *error = QStringLiteral("refused");
        return false;
    }
    QStringList started, opened;
};

TEST(Shell, AStandInReplacesTheDesktopUntilRemoved) {
    RecordingShell fake;
    setShellForTesting(&fake);
    QString error;
    EXPECT_TRUE(shell().startDetached(QStringLiteral("/nonexistent/mekuri"), {}, &error));
    EXPECT_FALSE(shell().openDocument(QStringLiteral("/x/お読み下さい.txt"), &error));
    EXPECT_EQ(error, QStringLiteral("refused"));
    setShellForTesting(nullptr);
    EXPECT_EQ(fake.started, QStringList{QStringLiteral("/nonexistent/mekuri")});
    EXPECT_EQ(fake.opened, QStringList{QStringLiteral("/x/お読み下さい.txt")});
    EXPECT_FALSE(shell().startDetached(QStringLiteral("/nonexistent/mekuri"), {}, nullptr));
}

}  // namespace
}  // namespace mekuri
