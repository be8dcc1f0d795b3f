// Figures 2, 4 and 8: the preview zoom step, saving the page as JPEG and the
// command-line year export.
#include "bench_figures.h"

#include "bench_fixtures.h"
#include "bench_page.h"

#include "mycal/page_drawing.h"
#include "mycal/page_image.h"
#include "mycal/tf_prev.h"
#include "platform/fonts.h"
#include "platform/printer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>

#include <cstdio>
#include <functional>
#include <malloc.h>
#include <stdexcept>

namespace mekuri::bench {

namespace {

QString verdict(bool met) { return met ? QStringLiteral("ok") : QStringLiteral("MISS"); }

// The naive preview image: the whole screen image drawn at printer
// resolution, (PaperWidth + 150) x (PaperHeight + 150), then scaled down to
// the zoom's size. The same marks as the preview draws.
QImage naiveScreenImage(const RecordedPage& page, const PrinterPageMetrics& m, int leftMm, int topMm,
                        double ratio, double dpiX, double dpiY) {
    const int PW = m.PaperWidth;
    const int PH = m.PaperHeight;
    QImage big(PW + 150, PH + 150, QImage::Format_RGB32);
    if (big.isNull()) throw std::runtime_error("no memory for the naive screen image");
    big.fill(Qt::white);
    const int L = mmToPixels(leftMm, m.PixelsPerInchX);
    const int T = mmToPixels(topMm, m.PixelsPerInchY);
    {
        QPainter p(&big);
        const QColor grey(128, 128, 128);
        p.fillRect(QRect(QPoint(100, 100), QPoint(PW + 100 - 1, PH + 100 - 1)), grey);
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(50, 50, PW, PH));
        p.save();
        p.translate(m.OffsetX + 50, m.OffsetY + 50);
        page.replay(p);
        p.restore();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(192, 192, 192), 0));
        p.drawRect(QRectF(m.OffsetX + 50, m.OffsetY + 50, m.PrintableWidth, m.PrintableHeight));
        p.setPen(QPen(Qt::black, 0, Qt::DotLine));
        p.drawRect(QRectF(QPointF(L + 50, T + 50), QPointF(PW + 50 - L, PH + 50 - m.BottomUnprintable)));
        p.drawLine(QPointF(L + 50, 50), QPointF(L + 50, T + 50));
        p.drawLine(QPointF(L + 50, T + 50), QPointF(50, T + 50));
        p.setPen(QPen(Qt::black, 0));
        p.drawLine(QPointF(L + 50, T + 50), QPointF(L + 35, T + 35));
        p.drawLine(QPointF(L + 50, T + 50), QPointF(L + 65, T + 35));
        p.drawLine(QPointF(L + 50, T + 50), QPointF(L + 35, T + 65));
        const QFont font = fontWithCellHeight(QApplication::font().family(), mmToPixels(6, m.PixelsPerInchY));
        p.setFont(font);
        p.setPen(grey);
        const QFontMetrics fm(font);
        p.drawText(QPointF((L + 50) / 2, T + 50 + fm.ascent()), QString::number(leftMm));
        p.drawText(QPointF(L + 50 - fm.horizontalAdvance(QString::number(topMm)), (T + 50) / 2 + fm.ascent()),
                   QString::number(topMm));
    }
    return big.scaled(screenImageSize(m, ratio, dpiX, dpiY), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QString mb(long kb) { return formatMb(kb / 1024.0); }

// Parses "key=value" words of a child's output line.
long field(const QString& line, const QString& key) {
    for (const QString& word : line.split(u' ', Qt::SkipEmptyParts)) {
        if (word.startsWith(key + u'=')) return word.mid(key.size() + 1).toLong();
    }
    throw std::runtime_error("child output without " + key.toStdString() + ": " + line.toStdString());
}

// The preview window on the folder's page with its picture, and the naive
// way's label beside it.
struct ZoomSetup {
    explicit ZoomSetup(const QString& folder)
        : preview(AppPaths::fromFolder(folder), benchPage(folder, true), nullptr) {
        preview.prepare();
        page = preview.currentPage();
        if (!page) throw std::runtime_error("the preview recorded no page");
        // Shown, so that a step includes painting what the window shows.
        preview.show();
        QApplication::processEvents();
    }
    void display(double ratio) {
        preview.FRatio = ratio;
        preview.Display();
        preview.ScrollBox1->viewport()->repaint();
    }
    void naive(double ratio) {
        const PrinterPageMetrics& m = preview.pageMetrics();
        naiveLabel.setPixmap(QPixmap::fromImage(
            naiveScreenImage(*page, m, 17, 20, ratio, preview.logicalDpiX(), preview.logicalDpiY())));
    }
    TF_PREV preview;
    std::shared_ptr<const RecordedPage> page;
    QLabel naiveLabel;
};

const double kZoomRatios[] = {0.5, 1.0, 3.0};

}  // namespace

std::vector<Row> figureZoom(const Context& context) {
    // Memory in a child of its own (see runChildMode), time here.
    const ChildRun memory = runChild(context.self, {QStringLiteral("--child"), QStringLiteral("zoom-memory"),
                                                    context.programFolder});
    if (memory.exitCode != 0) throw std::runtime_error("zoom-memory child failed: " + memory.output.toStdString());
    const QString line = memory.output.trimmed();

    ZoomSetup setup(context.programFolder);
    std::vector<Row> rows;
    const char* const numbers[] = {"2a", "2b", "2c"};
    for (int i = 0; i < 3; ++i) {
        const double r = kZoomRatios[i];
        const double mine = medianMs(context.runs, [&] { setup.display(r); });
        const double naive = medianMs(context.runs, [&] { setup.naive(r); });
        const long mineKb = field(line, QStringLiteral("z%1").arg(i));
        const long naiveKb = field(line, QStringLiteral("n%1").arg(i));
        const double ratio = mine / naive;
        const bool ratioTarget = r <= 1.0;
        const bool met = mineKb < 32 * 1024 && (!ratioTarget || ratio <= 0.1);
        rows.push_back({QString::fromLatin1(numbers[i]),
                        QStringLiteral("preview zoom step (Display + paint of what shows) at %1 %, %2 dpi A4, 24 MP picture vs naive")
                            .arg(int(r * 100))
                            .arg(setup.preview.pageMetrics().PixelsPerInchX),
                        formatMs(mine) + QStringLiteral(", +") + mb(mineKb),
                        formatMs(naive) + QStringLiteral(", +") + mb(naiveKb), formatRatio(ratio),
                        (ratioTarget ? QStringLiteral("ratio ≤ 0.1; ") : QString()) + QStringLiteral("+mem < 32 MB"),
                        verdict(met)});
    }
    return rows;
}

std::vector<Row> figureSaveJpeg(const Context& context) {
    const QString out = QDir(context.work).filePath(QStringLiteral("page.jpg"));
    const QString ppm = QDir(context.work).filePath(QStringLiteral("page.ppm"));
    std::vector<Row> rows;
    for (const bool picture : {true, false}) {
        const QStringList args = {QStringLiteral("--child"), QStringLiteral("save-jpeg"), context.programFolder,
                                  out, picture ? QStringLiteral("1") : QStringLiteral("0")};
        // The first run also leaves the rendered pixels as a PPM for cjpeg.
        const ChildRun first = runChild(context.self, args + QStringList{ppm});
        if (first.exitCode != 0) throw std::runtime_error("save-jpeg child failed: " + first.output.toStdString());
        std::vector<double> times;
        long hwm = 0, rss0 = 0;
        QString line;
        for (int i = 0; i < context.runs; ++i) {
            const ChildRun run = runChild(context.self, args);
            if (run.exitCode != 0) throw std::runtime_error("save-jpeg child failed: " + run.output.toStdString());
            line = run.output.trimmed();
            times.push_back(field(line, QStringLiteral("us")));
            hwm = std::max(hwm, field(line, QStringLiteral("hwm")));
            rss0 = std::max(rss0, field(line, QStringLiteral("rss0")));
        }
        const double mine = median(times) / 1000.0;  // the child reports microseconds
        const long width = field(line, QStringLiteral("w"));
        const long height = field(line, QStringLiteral("h"));
        const double bitmapMb = double(width) * height * 3 / (1024.0 * 1024.0);
        const double limitMb = 1.5 * bitmapMb + 60;
        const ChildMedian cjpeg = medianChild(
            context.runs, QStringLiteral("/usr/bin/cjpeg"),
            {QStringLiteral("-quality"), QStringLiteral("90"), QStringLiteral("-outfile"),
             QDir(context.work).filePath(QStringLiteral("cjpeg.jpg")), ppm},
            false, true);
        const QString what = picture ? QStringLiteral("page with 24 MP picture") : QStringLiteral("page without picture");
        if (picture) {
            const double ratio = mine / cjpeg.ms;
            rows.push_back({QStringLiteral("4a"),
                            QStringLiteral("save page as JPEG, divisor 1 (%1×%2), %3: render+encode+write vs cjpeg -quality 90")
                                .arg(width)
                                .arg(height)
                                .arg(what),
                            formatMs(mine), formatMs(cjpeg.ms), formatRatio(ratio), QStringLiteral("ratio ≤ 1.5"),
                            verdict(ratio <= 1.5)});
        }
        rows.push_back({picture ? QStringLiteral("4b") : QStringLiteral("4c"),
                        QStringLiteral("peak resident memory of that save, %1 (resident before the save %2)")
                            .arg(what, mb(rss0)),
                        mb(hwm), mb(cjpeg.maxRssKb) + QStringLiteral(" (cjpeg)"), QStringLiteral("—"),
                        QStringLiteral("≤ 1.5 × %1 + 60 MB = %2").arg(formatMb(bitmapMb), formatMb(limitMb)),
                        verdict(hwm / 1024.0 <= limitMb)});
    }
    return rows;
}

std::vector<Row> figureCliYear(const Context& context) {
    const QString out = QDir(context.work).filePath(QStringLiteral("year.pdf"));
    const ChildMedian cli = medianChild(std::max(3, context.runs / 2), QStringLiteral(MEKURI_CLI),
                                        {QStringLiteral("page"), QStringLiteral("--year"), QStringLiteral("2027"),
                                         QStringLiteral("--out"), out, QStringLiteral("--dir"), context.programFolder},
                                        false, true);
    return {{QStringLiteral("8"),
             QStringLiteral("mekuri-cli page --year 2027 --out year.pdf (24 MP picture); peak %1").arg(mb(cli.maxRssKb)),
             formatMs(cli.ms) + QStringLiteral(", ") + formatMb(QFile(out).size() / (1024.0 * 1024.0)),
             QStringLiteral("—"), QStringLiteral("—"), QStringLiteral("report"), QStringLiteral("—")}};
}

namespace {

// --child zoom-memory FOLDER: the resident memory one zoom step needs above
// what was resident before it, for the preview and for the naive way.
// Large blocks go straight to the system and back here, so that a step's
// peak shows what it needs rather than what an earlier step left in the heap.
int zoomMemoryChild(const QString& folder) {
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    ZoomSetup setup(folder);
    auto extraKb = [](const std::function<void()>& step) {
        step();
        step();  // the window now holds a picture of this size, as in use
        resetPeakResident();
        const long before = residentKb();
        step();
        return peakResidentKb() - before;
    };
    QString line;
    for (int i = 0; i < 3; ++i) {
        const double r = kZoomRatios[i];
        line += QStringLiteral("z%1=%2 ").arg(i).arg(extraKb([&] { setup.display(r); }));
        line += QStringLiteral("n%1=%2 ").arg(i).arg(extraKb([&] { setup.naive(r); }));
    }
    std::printf("%s\n", qPrintable(line));
    return 0;
}

}  // namespace

int runChildMode(const QStringList& args) {
    if (args.value(0) == QStringLiteral("zoom-memory") && args.size() == 2) {
        try {
            return zoomMemoryChild(args[1]);
        } catch (const std::exception& e) {
            std::printf("error %s\n", e.what());
            return 1;
        }
    }
    // --child save-jpeg FOLDER OUT PICTURE(0|1) [PPM]
    if (args.value(0) != QStringLiteral("save-jpeg") || args.size() < 4) {
        std::fprintf(stderr, "mekuri-bench: unknown child mode\n");
        return 2;
    }
    try {
        const std::shared_ptr<const RecordedPage> page =
            recordPage(benchPage(args[1], args[3] == QStringLiteral("1")), pdfPrinterPageMetrics());
        resetPeakResident();
        const long rss0 = residentKb();
        QElapsedTimer timer;
        timer.start();
        Expected<QImage> image = renderPageImage(*page, 1);
        if (!image) throw std::runtime_error(image.error().toStdString());
        const qint64 renderUs = timer.nsecsElapsed() / 1000;
        const Status saved = saveJpegFile(image.value(), args[2]);
        if (!saved.ok()) throw std::runtime_error(saved.error().toStdString());
        const qint64 us = timer.nsecsElapsed() / 1000;
        const long hwm = peakResidentKb();
        if (args.size() > 4) writePpm(args[4], image.value());
        std::printf("us=%lld render_us=%lld rss0=%ld hwm=%ld w=%d h=%d\n", static_cast<long long>(us),
                    static_cast<long long>(renderUs), rss0, hwm, image->width(), image->height());
        return 0;
    } catch (const std::exception& e) {
        std::printf("error %s\n", e.what());
        return 1;
    }
}

}  // namespace mekuri::bench
