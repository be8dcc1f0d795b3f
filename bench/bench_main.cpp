// mekuri-bench: measures the program's speed and memory against baselines
// measured in the same run and prints one table. Each figure is the median
// of several runs after a warm-up run.
//
//   mekuri-bench [--runs N] [--only 1,3,...] [--keep]
//   mekuri-bench --child save-jpeg ...   (a measurement in its own process)
#include "bench_figures.h"
#include "bench_fixtures.h"

#include "platform/fonts.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <exception>
#include <functional>
#include <map>

using namespace mekuri::bench;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mekuri"));
    mekuri::installFontSubstitutions();

    Context context;
    QStringList only;
    bool keep = false;  // leaves the scratch folder for profiling
    const QStringList args = QApplication::arguments();
    if (args.value(1) == QStringLiteral("--child")) return runChildMode(args.mid(2));
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--runs") && i + 1 < args.size()) {
            context.runs = qMax(1, args[++i].toInt());
        } else if (args[i] == QStringLiteral("--only") && i + 1 < args.size()) {
            only = args[++i].split(u',');
        } else if (args[i] == QStringLiteral("--keep")) {
            keep = true;
        } else {
            std::fprintf(stderr, "usage: mekuri-bench [--runs N] [--only 1,3,...] [--keep]\n");
            return 2;
        }
    }

    QTemporaryDir work(QDir::temp().filePath(QStringLiteral("mekuri-bench-XXXXXX")));
    if (!work.isValid()) {
        std::fprintf(stderr, "mekuri-bench: no scratch folder\n");
        return 1;
    }
    work.setAutoRemove(!keep);
    if (keep) std::fprintf(stderr, "mekuri-bench: scratch folder %s\n", qPrintable(work.path()));
    context.work = work.path();
    context.programFolder = QDir(context.work).filePath(QStringLiteral("program"));
    context.self = QApplication::applicationFilePath();
    QDir().mkpath(context.programFolder);

    const std::vector<std::pair<QString, std::function<std::vector<Row>(const Context&)>>> figures = {
        {QStringLiteral("1"), figureStartup},  {QStringLiteral("2"), figureZoom},
        {QStringLiteral("3"), figureMakePreview}, {QStringLiteral("4"), figureSaveJpeg},
        {QStringLiteral("5"), figureDecode},   {QStringLiteral("6"), figureRepaint},
        {QStringLiteral("7"), figureSettings}, {QStringLiteral("8"), figureCliYear},
    };

    std::vector<Row> rows;
    int failures = 0;
    try {
        makeProgramFolder(context.programFolder);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mekuri-bench: %s\n", e.what());
        return 1;
    }
    for (const auto& [number, run] : figures) {
        if (!only.isEmpty() && !only.contains(number)) continue;
        std::fprintf(stderr, "mekuri-bench: figure %s...\n", qPrintable(number));
        try {
            for (Row& row : run(context)) rows.push_back(std::move(row));
        } catch (const std::exception& e) {
            ++failures;
            rows.push_back({number, QStringLiteral("failed: ") + QString::fromUtf8(e.what()), {}, {}, {}, {},
                            QStringLiteral("ERROR")});
        }
    }
    std::printf("median of %d runs after a warm-up run; baselines measured in the same run\n\n", context.runs);
    printTable(rows);
    return failures ? 1 : 0;
}
