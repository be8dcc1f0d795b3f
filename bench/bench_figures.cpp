#include "bench_figures.h"

#include "bench_fixtures.h"
#include "bench_page.h"

#include "app/tf_main.h"
#include "holidays/holiday_table.h"
#include "mycal/page_layout.h"
#include "mycal/page_picture.h"
#include "mycal/tf_prev.h"
#include "platform/month_calendar.h"
#include "platform/printer.h"
#include "settings/ini_file.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QWidget>

#include <stdexcept>

#include <sys/resource.h>

namespace mekuri::bench {

namespace {

QString verdict(bool met) { return met ? QStringLiteral("ok") : QStringLiteral("MISS"); }

Row ratioRow(const QString& number, const QString& figure, double value, double baseline, double maxRatio) {
    const double ratio = value / baseline;
    return {number,
            figure,
            formatMs(value),
            formatMs(baseline),
            formatRatio(ratio),
            QStringLiteral("ratio ≤ ") + QString::number(maxRatio),
            verdict(ratio <= maxRatio)};
}

// Lets pending layout and paint events run.
void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

}  // namespace

std::vector<Row> figureStartup(const Context& context) {
    // The program's entry with the probe, started from the program folder as
    // the executable there.
    const QString program = QDir(context.programFolder).filePath(QStringLiteral("mekuri"));
    QFile::remove(program);
    if (!QFile::copy(QStringLiteral(MEKURI_BENCH_START_MEKURI), program)) {
        throw std::runtime_error("cannot copy the start-up probe into the program folder");
    }
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
    // Interleaved, so that a busy moment of the machine hits both alike.
    std::vector<double> mine, bare;
    for (int i = 0; i <= context.runs; ++i) {
        const ChildRun a = runChild(program, {}, true);
        const ChildRun b = runChild(QStringLiteral(MEKURI_BENCH_START_BARE), {}, true);
        if (a.output != QStringLiteral("painted") || b.output != QStringLiteral("painted")) {
            throw std::runtime_error("a start-up probe ended without painting");
        }
        if (i == 0) continue;
        mine.push_back(a.ms);
        bare.push_back(b.ms);
    }
    return {ratioRow(QStringLiteral("1"),
                     QStringLiteral("start-up to first paint (program folder, ten bookmarks) vs bare Qt window"),
                     median(mine), median(bare), 1.25)};
}

std::vector<Row> figureMakePreview(const Context& context) {
    // The preview's own MakePreview (printer metrics read afresh, the page
    // recorded), once with the folder's picture and once without.
    const AppPaths paths = AppPaths::fromFolder(context.programFolder);
    TF_PREV withPicture(paths, benchPage(context.programFolder, true), nullptr);
    TF_PREV plain(paths, benchPage(context.programFolder, false), nullptr);
    withPicture.prepare();
    plain.prepare();
    const double picture = medianMs(context.runs * 3, [&] { withPicture.MakePreview(); });
    const double none = medianMs(context.runs * 3, [&] { plain.MakePreview(); });
    const QString dpi = QString::number(plain.pageMetrics().PixelsPerInchX);
    return {
        {QStringLiteral("3a"), QStringLiteral("MakePreview at %1 dpi with a 24-megapixel picture").arg(dpi),
         formatMs(picture), formatMs(none), formatRatio(picture / none), QStringLiteral("report"),
         QStringLiteral("—")},
        {QStringLiteral("3b"), QStringLiteral("MakePreview at %1 dpi without the picture").arg(dpi), formatMs(none),
         QStringLiteral("—"), QStringLiteral("—"), QStringLiteral("< 20 ms"), verdict(none < 20)},
    };
}

std::vector<Row> figureDecode(const Context& context) {
    const QString path = pictureFile(context.programFolder);
    std::vector<Row> rows;
    for (const bool half : {false, true}) {
        QImage keep;
        const double mine = medianMs(context.runs, [&] {
            Expected<QImage> image = decodeJpegFile(path, half);
            if (!image) throw std::runtime_error(image.error().toStdString());
            keep = image.value();
        });
        if (keep.width() != (half ? 3000 : 6000)) throw std::runtime_error("decoded picture has the wrong size");
        QStringList args = {QStringLiteral("-outfile"), QStringLiteral("/dev/null")};
        if (half) args << QStringLiteral("-scale") << QStringLiteral("1/2");
        args << path;
        const ChildMedian djpeg = medianChild(context.runs, QStringLiteral("/usr/bin/djpeg"), args);
        rows.push_back(ratioRow(half ? QStringLiteral("5b") : QStringLiteral("5a"),
                                half ? QStringLiteral("decode 6000×4000 JPEG at half size vs djpeg -scale 1/2")
                                     : QStringLiteral("decode 6000×4000 JPEG at full size vs djpeg"),
                                mine, djpeg.ms, 1.2));
    }
    return rows;
}

std::vector<Row> figureRepaint(const Context& context) {
    TF_MAIN window(AppPaths::fromFolder(context.programFolder));
    window.show();
    settle();
    // Grow the window until its calendar shows twelve months.
    const QSize block = window.MonthCalendar1()->monthBlockSize();
    window.resize(block.width() * 4 + 80, window.height() - window.MonthCalendar1()->height() + block.height() * 3 + 60);
    settle();
    for (int i = 0; i < 40 && window.MonthCalendar1()->visibleMonthCount() < 12; ++i) {
        window.resize(window.width() + 10, window.height() + 10);
        settle();
    }
    if (window.MonthCalendar1()->visibleMonthCount() != 12) {
        throw std::runtime_error("the main window does not show twelve months");
    }
    // A whole paint of the window and its children into an image of the
    // backing store's format (repaint() may skip an unexposed window).
    QImage canvas(window.size(), QImage::Format_ARGB32_Premultiplied);
    const double mine = medianMs(context.runs * 3, [&] { window.render(&canvas); });
    const QSize size = window.size();
    window.hide();

    QWidget twelve;
    auto* grid = new QGridLayout(&twelve);
    for (int m = 0; m < 12; ++m) {
        auto* calendar = new QCalendarWidget(&twelve);
        calendar->setCurrentPage(2027, m + 1);
        grid->addWidget(calendar, m / 4, m % 4);
    }
    twelve.resize(size);
    twelve.show();
    settle();
    const double base = medianMs(context.runs * 3, [&] { twelve.render(&canvas); });
    return {ratioRow(QStringLiteral("6"),
                     QStringLiteral("repaint main window with 12 months (%1×%2) vs 12 QCalendarWidgets")
                         .arg(size.width())
                         .arg(size.height()),
                     mine, base, 1.0)};
}

std::vector<Row> figureSettings(const Context& context) {
    const QString folder = QDir(context.work).filePath(QStringLiteral("settings"));
    QDir().mkpath(folder);
    writeFullSettingsFile(folder);
    const QString path = QDir(folder).filePath(QStringLiteral("mkri.ini"));
    int day = 0;
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    const double mine = medianMs(context.runs * 3, [&] {
        const Status saved = changeIniFile(path, [&](IniFile& ini) {
            ini.writeInteger(QStringLiteral("FIRST_DAY"), QStringLiteral("0"), day++ % 7);
        });
        if (!saved.ok()) throw std::runtime_error(saved.error().toStdString());
    });
    getrusage(RUSAGE_SELF, &after);
    // Processor time per change; the rest of the wall time is waiting for the
    // disk flush of the atomic save.
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    const double cpuMs = (seconds(after.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_utime) -
                          seconds(before.ru_stime)) * 1000 / (context.runs * 3 + 1);
    const ChildMedian cp = medianChild(context.runs * 3, QStringLiteral("/bin/cp"),
                                       {path, QDir(folder).filePath(QStringLiteral("copy.ini"))});
    return {{QStringLiteral("7"),
             QStringLiteral("one settings change (load, set, atomic rewrite, %1 bytes) vs cp").arg(QFile(path).size()),
             formatMs(mine) + QStringLiteral(" (CPU %1)").arg(formatMs(cpuMs)), formatMs(cp.ms), formatRatio(mine / cp.ms), QStringLiteral("report; < 5 ms"),
             verdict(mine < 5)}};
}

}  // namespace mekuri::bench
