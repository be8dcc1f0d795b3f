// mekuri-cli page: My Calendar pages of a program folder rendered to files,
// run as a program and checked by exit code, stderr and the files written.
#include "support/test_support.h"

#include "cli/cli_runner.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>

using mekuri::test::cp932;
using mekuri::test::readFileBytes;
using mekuri::test::TempProgramDir;
using mekuri::test::testDataDir;

namespace {

using mekuri::test::CliRun;

CliRun runPage(const QStringList& args) {
    return mekuri::test::runMekuriCli(QStringList{QStringLiteral("page")} + args);
}

class CliPage : public ::testing::Test {
protected:
    CliPage() {
        dir.installAllShipped();
        // No picture, so the folder is complete without one.
        dir.write(QStringLiteral("mkri.ini"), cp932(QStringLiteral("[SETTEI]\r\nDisp=0\r\n")));
    }
    CliRun run(QStringList args) { return runPage(args << QStringLiteral("--dir") << dir.dir()); }
    QString out(const QString& name) const { return outDir.path() + u'/' + name; }
    // The full page size, from a BMP at divisor 1.
    QSize fullPageSize() {
        const CliRun r = run({QStringLiteral("--month"), QStringLiteral("2019-05"), QStringLiteral("--out"),
                              out(QStringLiteral("full.bmp")), QStringLiteral("--divisor"), QStringLiteral("1")});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return QImage(out(QStringLiteral("full.bmp"))).size();
    }

    TempProgramDir dir;
    QTemporaryDir outDir;
};

TEST_F(CliPage, MonthGoesToTheFormatOfTheExtensionAtTheDivisor) {
    const QSize full = fullPageSize();
    ASSERT_GT(full.width(), 1000);
    const struct {
        const char* name;
        const char* divisor;
        QByteArray magic;
        int d;
    } cases[] = {
        {"may.jpg", "3", "\xFF\xD8\xFF", 3},
        {"may.JPEG", "4", "\xFF\xD8\xFF", 4},
        {"may.bmp", "15", "BM", 15},
        {"may.png", "2", "\x89PNG", 2},
        {"may.pdf", "3", "%PDF", 0},
    };
    for (const auto& c : cases) {
        const QString path = out(QString::fromLatin1(c.name));
        const CliRun r = run({QStringLiteral("--month"), QStringLiteral("2019-05"), QStringLiteral("--out"), path,
                              QStringLiteral("--divisor"), QString::fromLatin1(c.divisor)});
        ASSERT_EQ(r.code, 0) << c.name << ": " << r.err.toStdString();
        EXPECT_TRUE(readFileBytes(path).startsWith(c.magic)) << c.name;
        if (c.d > 0) {
            const QImage img(path);
            EXPECT_EQ(img.size(), QSize(full.width() / c.d, full.height() / c.d)) << c.name;
        }
    }
}

TEST_F(CliPage, DivisorDefaultsToTheFoldersSetting) {
    const QSize full = fullPageSize();
    dir.write(QStringLiteral("mkri.ini"), cp932(QStringLiteral("[SETTEI]\r\nDisp=0\r\nSyuku=5\r\n")));
    const CliRun r = run({QStringLiteral("--month"), QStringLiteral("2019-05"), QStringLiteral("--out"),
                          out(QStringLiteral("m.png"))});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(out(QStringLiteral("m.png"))).size(), QSize(full.width() / 5, full.height() / 5));
}

TEST_F(CliPage, PageShowsThePictureAndTheMonthsDays) {
    dir.write(QStringLiteral("p.jpg"), readFileBytes(testDataDir() + QStringLiteral("/pictures/photo.jpg")));
    dir.write(QStringLiteral("mkri.ini"),
              cp932(QStringLiteral("[SETTEI]\r\nPicture=") + dir.path(QStringLiteral("p.jpg")) + QStringLiteral("\r\n")));
    const CliRun with = run({QStringLiteral("--month"), QStringLiteral("2019-05"), QStringLiteral("--out"),
                             out(QStringLiteral("with.png")), QStringLiteral("--divisor"), QStringLiteral("8")});
    ASSERT_EQ(with.code, 0) << with.err.toStdString();
    const QImage img(out(QStringLiteral("with.png")));
    // The picture area is the upper part of the page: not all white there.
    int coloured = 0;
    for (int y = img.height() / 10; y < img.height() * 4 / 10; y += 4) {
        for (int x = img.width() / 5; x < img.width() * 4 / 5; x += 4) {
            const QColor c = img.pixelColor(x, y);
            if (c.saturation() > 40) ++coloured;
        }
    }
    EXPECT_GT(coloured, 100);
    // Sundays are red somewhere in the lower half.
    bool red = false;
    for (int y = img.height() / 2; y < img.height() && !red; ++y) {
        for (int x = 0; x < img.width() && !red; ++x) {
            const QColor c = img.pixelColor(x, y);
            red = c.red() > 200 && c.green() < 60 && c.blue() < 60;
        }
    }
    EXPECT_TRUE(red);
}

TEST_F(CliPage, YearToAFolderWritesTwelveMonthsWithProgress) {
    const QString folder = out(QStringLiteral("2019"));
    const CliRun r = run({QStringLiteral("--year"), QStringLiteral("2019"), QStringLiteral("--out-dir"), folder,
                          QStringLiteral("--divisor"), QStringLiteral("10")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QStringList expected;
    for (int m = 1; m <= 12; ++m) expected.append(QStringLiteral("2019-%1.jpg").arg(m, 2, 10, QLatin1Char('0')));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), expected);
    EXPECT_TRUE(r.err.contains(QStringLiteral("1/12 2019-01")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("12/12 2019-12")));
    // Different months, different pages.
    EXPECT_NE(readFileBytes(folder + QStringLiteral("/2019-01.jpg")), readFileBytes(folder + QStringLiteral("/2019-02.jpg")));
}

TEST_F(CliPage, YearToOnePdfHasTwelvePages) {
    const QString path = out(QStringLiteral("2019.pdf"));
    const CliRun r = run({QStringLiteral("--year"), QStringLiteral("2019"), QStringLiteral("--out"), path});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QByteArray pdf = readFileBytes(path);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    EXPECT_EQ(QString::fromLatin1(pdf).count(page), 12);
}

TEST_F(CliPage, FolderFaultsAreReported) {
    const struct {
        const char* name;
        std::function<void(TempProgramDir&)> spoil;
        const char16_t* message;
    } cases[] = {
        {"missing picture",
         [](TempProgramDir& d) { d.write(QStringLiteral("mkri.ini"), "[SETTEI]\r\nPicture=/no/such.jpg\r\n"); },
         u"前回指定した画像が移動または削除されています"},
        {"missing anniversary list", [](TempProgramDir& d) { QFile::remove(d.path(QStringLiteral("mkrikils.txt"))); },
         u"mkrikils.txt"},
        {"anniversary that is no date", [](TempProgramDir& d) { d.write(QStringLiteral("mkrikils.txt"), "tomorrow\r\n"); },
         u"tomorrow"},
    };
    for (const auto& c : cases) {
        TempProgramDir fresh;
        fresh.installAllShipped();
        fresh.write(QStringLiteral("mkri.ini"), "[SETTEI]\r\nDisp=0\r\n");
        c.spoil(fresh);
        const QString path = out(QStringLiteral("x.jpg"));
        const CliRun r = runPage({QStringLiteral("--month"), QStringLiteral("2019-05"), QStringLiteral("--out"), path,
                                  QStringLiteral("--dir"), fresh.dir()});
        EXPECT_EQ(r.code, 1) << c.name;
        EXPECT_TRUE(r.err.contains(QString::fromUtf16(c.message))) << c.name << ": " << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path)) << c.name;
    }
}

TEST_F(CliPage, UsageErrors) {
    const QString jpg = out(QStringLiteral("x.jpg"));
    const QStringList cases[] = {
        {},
        {QStringLiteral("--month"), QStringLiteral("2019-13"), QStringLiteral("--out"), jpg},
        {QStringLiteral("--month"), QStringLiteral("1899-12"), QStringLiteral("--out"), jpg},
        {QStringLiteral("--month"), QStringLiteral("2019-05"), QStringLiteral("--out"), out(QStringLiteral("x.gif"))},
        {QStringLiteral("--month"), QStringLiteral("2019-05")},
        {QStringLiteral("--year"), QStringLiteral("2019"), QStringLiteral("--out"), jpg},
        {QStringLiteral("--month"), QStringLiteral("2019-05"), QStringLiteral("--out"), jpg, QStringLiteral("--divisor"),
         QStringLiteral("0")},
        {QStringLiteral("--month"), QStringLiteral("2019-05"), QStringLiteral("--year"), QStringLiteral("2019"),
         QStringLiteral("--out"), jpg},
    };
    for (const QStringList& args : cases) {
        const CliRun r = run(args);
        EXPECT_EQ(r.code, 2) << args.join(u' ').toStdString();
        EXPECT_FALSE(QFile::exists(jpg));
    }
}

}  // namespace
