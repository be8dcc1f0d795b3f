#pragma once

// The figures of the benchmark table, one function each; every one measures
// its baseline in the same run and returns its rows of the table.

#include "bench_util.h"

#include <QString>

#include <vector>

namespace mekuri::bench {

struct Context {
    int runs = 7;
    QString work;           // scratch folder of this run
    QString programFolder;  // a complete program folder (work/program)
    QString self;           // this runner, for measurements in a child process
};

std::vector<Row> figureStartup(const Context& context);       // 1
std::vector<Row> figureMakePreview(const Context& context);   // 3
std::vector<Row> figureDecode(const Context& context);        // 5
std::vector<Row> figureRepaint(const Context& context);       // 6
std::vector<Row> figureSettings(const Context& context);      // 7
std::vector<Row> figureZoom(const Context& context);          // 2
std::vector<Row> figureSaveJpeg(const Context& context);      // 4
std::vector<Row> figureCliYear(const Context& context);       // 8

// The measurements that run in a child process of the runner
// ("--child save-jpeg ..."); returns the exit code.
int runChildMode(const QStringList& args);

}  // namespace mekuri::bench
