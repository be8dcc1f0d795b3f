// A settings write interrupted at any point, and a second instance reading
// while the first one writes: the settings file is always the complete old or
// the complete new version. The writer runs in a forked child that loops on
// the real settings change (load, set, atomic save) until it is killed.

#include "settings/ini_file.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <chrono>
#include <random>

#ifdef Q_OS_UNIX
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace mekuri;
using mekuri::test::TempProgramDir;

namespace {

#ifdef Q_OS_UNIX

// A file of some 100 KB, so that kills land inside writes as well as
// between them.
constexpr int kKeys = 300;

QString valueFor(int generation, int key) {
    // The two versions differ in length as well as in content, so a torn
    // file cannot look like either.
    return generation == 0 ? QStringLiteral("旧%1 ").arg(key) + QString(200, u'a')
                           : QStringLiteral("新しい値 %1 ").arg(key) + QString(300, u'b');
}

void setGeneration(IniFile& ini, int generation) {
    for (int k = 0; k < kKeys; ++k) {
        ini.writeString(QStringLiteral("SETTEI"), QStringLiteral("K%1").arg(k), valueFor(generation, k));
    }
}

QByteArray versionBytes(int generation) {
    IniFile ini;
    setGeneration(ini, generation);
    return ini.toBytes();
}

// In the child: alternate the two versions through the settings change
// until killed, reporting each completed save with a byte on done. Never
// returns.
[[noreturn]] void writeForever(const QString& path, int done) {
    for (int generation = 1;; generation ^= 1) {
        const Status st = changeIniFile(path, [&](IniFile& ini) { setGeneration(ini, generation); });
        if (!st.ok()) _exit(3);
        const char saved = 1;
        if (write(done, &saved, 1) != 1) _exit(4);
    }
}

// The writing child; killed however the test ends.
struct Writer {
    explicit Writer(const QString& path) {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            writeForever(path, fds[1]);
        }
        close(fds[1]);
        done = fds[0];
    }
    ~Writer() {
        stop();
        if (done >= 0) close(done);
    }
    // Waits until the child has completed count more saves.
    bool waitForSaves(int count) {
        for (int i = 0; i < count; ++i) {
            char saved = 0;
            if (read(done, &saved, 1) != 1) return false;
        }
        return true;
    }
    int stop() {
        int status = 0;
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            pid = -1;
        }
        return status;
    }
    pid_t pid = -1;
    int done = -1;
};

class SettingsWriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldBytes = versionBytes(0);
        newBytes = versionBytes(1);
        ASSERT_NE(oldBytes.size(), newBytes.size());
        dir.write(QStringLiteral("mkri.ini"), oldBytes);
        path = dir.path(QStringLiteral("mkri.ini"));
    }

    // Which version the file holds: 0, 1, or -1 for anything else.
    int versionOnDisk() const {
        const QByteArray bytes = dir.read(QStringLiteral("mkri.ini"));
        if (bytes == oldBytes) return 0;
        if (bytes == newBytes) return 1;
        return -1;
    }

    TempProgramDir dir;
    QString path;
    QByteArray oldBytes;
    QByteArray newBytes;
};

TEST_F(SettingsWriteTest, KilledAtRandomPointsTheFileIsAlwaysOneWholeVersion) {
    std::mt19937 random(20261211);
    // Kill after a random number of completed saves and a random part of
    // the next one: before, inside and after the write and the rename.
    std::uniform_int_distribution<int> savesFirst(0, 3);
    std::uniform_int_distribution<int> delayMicros(0, 4000);
    int seen[2] = {0, 0};
    for (int round = 0; round < 200; ++round) {
        Writer writer(path);
        ASSERT_GT(writer.pid, 0);
        ASSERT_TRUE(writer.waitForSaves(savesFirst(random))) << "the writer stopped in round " << round;
        usleep(useconds_t(delayMicros(random)));
        const int status = writer.stop();
        // Killed, not ended on its own by a failed save.
        ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round;
        const int version = versionOnDisk();
        ASSERT_NE(version, -1) << "torn settings file after kill in round " << round;
        ++seen[version];
    }
    // Kills landed after an even and after an odd number of saves.
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
    // The next start reads the file as a whole and can save over it.
    const Expected<IniFile> ini = IniFile::load(path);
    ASSERT_TRUE(ini.ok());
    EXPECT_EQ(ini->entryCount(QStringLiteral("SETTEI")), kKeys);
    EXPECT_TRUE(changeIniFile(path, [](IniFile& f) { setGeneration(f, 0); }).ok());
    EXPECT_EQ(versionOnDisk(), 0);
}

TEST_F(SettingsWriteTest, AReaderWhileTheOtherInstanceWritesSeesOnlyWholeVersions) {
    Writer writer(path);
    ASSERT_GT(writer.pid, 0);
    int changes = 0;
    int last = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    // Read until the writer has replaced the file many times over.
    while (changes < 30) {
        const int version = versionOnDisk();
        ASSERT_NE(version, -1) << "incomplete file read after " << changes << " changes";
        if (version != last) ++changes;
        last = version;
        // Also through the settings reader, as a starting instance reads it.
        const Expected<IniFile> ini = IniFile::load(path);
        ASSERT_TRUE(ini.ok()) << qPrintable(ini.error());
        ASSERT_EQ(ini->entryCount(QStringLiteral("SETTEI")), kKeys);
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the writer made no progress";
    }
}

#else

TEST(SettingsWriteTest, NeedsFork) { GTEST_SKIP() << "the writer child needs fork()"; }

#endif

}  // namespace
