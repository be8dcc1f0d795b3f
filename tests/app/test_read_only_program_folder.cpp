// A program folder the user cannot write to (installed by an administrator,
// a write-protected stick): every change and the close report their failure
// once, naming the file, the program goes on showing the change, and no file
// in the folder changes or appears. As root the test takes the effective
// user id of "nobody" for the session, since root may write anywhere.

#include "app/tf_main.h"

#include "platform/month_calendar.h"
#include "scripted_dialogs.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace mekuri {
namespace {

using test::ScriptedDialogs;
using test::TempProgramDir;

constexpr QFileDevice::Permissions kReadOnly =
    QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
constexpr QFileDevice::Permissions kFolderReadOnly =
    kReadOnly | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;

constexpr QFileDevice::Permissions kEveryoneWrites = kReadOnly | QFileDevice::WriteOwner |
                                                     QFileDevice::WriteGroup | QFileDevice::WriteOther;

struct FolderCase {
    const char* name;
    // The files' own permissions: read-only too, or writable so that only
    // the folder (no temporary file, no rename) stops the save.
    QFileDevice::Permissions files;
};

class ReadOnlyFolderTest : public ::testing::TestWithParam<FolderCase> {
protected:
    void SetUp() override {
        dir.installAllShipped();
        dir.write(QStringLiteral("mkri.ini"), QByteArrayLiteral("[Form]\r\nLEFT=60\r\nTOP=40\r\n\r\n"));
        for (const QString& name : files()) {
            before.insert(name, dir.read(name));
            ASSERT_TRUE(QFile::setPermissions(dir.path(name), GetParam().files));
        }
        ASSERT_TRUE(QFile::setPermissions(folder(), kFolderReadOnly));
#ifdef Q_OS_UNIX
        if (geteuid() == 0) {
            ASSERT_EQ(seteuid(65534), 0) << "cannot act as nobody";
            m_wasRoot = true;
        }
#endif
    }

    void TearDown() override {
#ifdef Q_OS_UNIX
        if (m_wasRoot) EXPECT_EQ(seteuid(0), 0);
#endif
        QFile::setPermissions(folder(), kFolderReadOnly | QFileDevice::WriteOwner);
        for (const QString& name : files()) {
            QFile::setPermissions(dir.path(name), kReadOnly | QFileDevice::WriteOwner);
        }
    }

    QString folder() const { return QDir(dir.dir()).absolutePath(); }
    QStringList files() const { return QDir(dir.dir()).entryList(QDir::Files | QDir::Hidden); }

    // The error boxes since the last call.
    QStringList newErrors() {
        QStringList errors = dialogs.texts(MessageIcon::Error);
        dialogs.clear();
        return errors;
    }

    TempProgramDir dir;
    ScriptedDialogs dialogs;
    QMap<QString, QByteArray> before;

private:
    bool m_wasRoot = false;
};

TEST_P(ReadOnlyFolderTest, EachChangeAndTheCloseReportOnceAndNothingIsLost) {
    auto w = std::make_unique<TF_MAIN>(AppPaths::fromFolder(dir.dir()));
    ASSERT_FALSE(w->quitRequested());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    ASSERT_EQ(newErrors(), QStringList()) << "reading a read-only folder is no failure";

    const struct {
        const char* entry;
        const char* file;  // the file the report must name
    } changes[] = {
        {"POP_KAISHI_ADD", "mkri.ini"},
        {"POP_SUN", "mkri.ini"},
        {"POP_RENAME", "mkri.ini"},
        {"POP_BODY_C", "mkribodc.dat"},
    };
    dialogs.inputAnswers.push_back(QStringLiteral("読み取り専用のめくり"));
    dialogs.colorAnswers.push_back(0x000000FFu);
    for (const auto& c : changes) {
        QAction* entry = w->action(c.entry);
        ASSERT_TRUE(entry && entry->isEnabled()) << c.entry;
        entry->trigger();
        const QStringList errors = newErrors();
        ASSERT_EQ(errors.size(), 1) << c.entry;
        EXPECT_TRUE(errors[0].contains(QLatin1String(c.file))) << c.entry << ": " << errors[0].toStdString();
        EXPECT_TRUE(w->isVisible()) << c.entry;
    }
    // The program goes on with what it shows (the week start it was told).
    EXPECT_EQ(w->MonthCalendar1()->firstDayOfWeek(), 6);

    w->close();
    EXPECT_FALSE(w->isVisible());
    const QStringList atClose = newErrors();
    ASSERT_EQ(atClose.size(), 1);
    EXPECT_TRUE(atClose[0].contains(QStringLiteral("mkri.ini"))) << atClose[0].toStdString();

    QStringList now = files();
    now.sort();
    QStringList expected = before.keys();
    expected.sort();
    EXPECT_EQ(now, expected) << "a file appeared or went";
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        EXPECT_EQ(dir.read(it.key()), it.value()) << qPrintable(it.key());
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, ReadOnlyFolderTest,
                         ::testing::Values(FolderCase{"read_only_files_too", kReadOnly},
                                           FolderCase{"writable_files", kEveryoneWrites}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mekuri
