#include "settings/app_paths.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

using namespace mekuri;

namespace {

TEST(AppPaths, ExactlyOneTrailingSeparator) {
    const QString sep = QDir::separator();
    struct Case {
        QString folder;
        QString appDir;
    };
    const Case cases[] = {
        {QStringLiteral("/opt/mekuri"), QStringLiteral("/opt/mekuri") + sep},
        {QStringLiteral("/opt/mekuri/"), QStringLiteral("/opt/mekuri") + sep},
        {QStringLiteral("/opt/mekuri///"), QStringLiteral("/opt/mekuri") + sep},
        {QStringLiteral("/"), sep},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AppPaths::fromFolder(c.folder).appDir, QDir::toNativeSeparators(c.appDir))
            << c.folder.toStdString();
    }
}

TEST(AppPaths, FilesLiveInTheProgramFolder) {
    const AppPaths p = AppPaths::fromFolder(QStringLiteral("/opt/mekuri"));
    const QString dir = QDir::toNativeSeparators(QStringLiteral("/opt/mekuri/"));
    EXPECT_EQ(p.iniFile(), dir + QStringLiteral("mkri.ini"));
    EXPECT_EQ(p.file(QStringLiteral("horiday.txt")), dir + QStringLiteral("horiday.txt"));
}

TEST(AppPaths, FromExecutableIsTheExecutablesFolder) {
    const AppPaths p = AppPaths::fromExecutable();
    EXPECT_EQ(p.appDir, QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator());
    EXPECT_FALSE(p.appDir.endsWith(QString(QDir::separator()) + QDir::separator()));
}

}  // namespace
