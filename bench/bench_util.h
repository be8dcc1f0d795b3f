#pragma once

// Timing helpers of the benchmark runner: medians after a warm-up, child
// processes timed from spawn to exit (or to their first output line) with
// their peak resident memory, and the result table. POSIX only: the
// benchmarks run on the build machine, not on the user's.

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <vector>

namespace mekuri::bench {

// How many timed runs each figure takes after its warm-up run.
struct RunCount {
    int runs = 7;
};

// Median of the values (the mean of the two middle ones for an even count).
double median(std::vector<double> values);

// Milliseconds one call of work takes: one warm-up call, then the median of
// runs timed calls.
double medianMs(int runs, const std::function<void()>& work);

// A finished child process.
struct ChildRun {
    double ms = 0;            // spawn to exit, or to the first output line
    long maxRssKb = 0;        // peak resident set of the child (0 unless asked for)
    int exitCode = -1;        // -1: killed or not started
    QString output;           // standard output (first line only when untilLine)
};

// Runs program with arguments, waits for it and times it. With untilLine the
// time stops at the first line on its standard output. With peakMemory the
// child runs under bench_peak, which reports its peak resident set. The
// child's standard error is dropped (Qt's notes on the offscreen platform).
ChildRun runChild(const QString& program, const QStringList& arguments, bool untilLine = false,
                  bool peakMemory = false);

// Median of runs child runs after one warm-up run; throws std::runtime_error
// if one of them fails.
struct ChildMedian {
    double ms = 0;
    long maxRssKb = 0;  // the largest of the runs
    QString output;     // of the last run
};
ChildMedian medianChild(int runs, const QString& program, const QStringList& arguments,
                        bool untilLine = false, bool peakMemory = false);

// One line of the result table.
struct Row {
    QString number;    // "1", "2a", ...
    QString figure;    // what was measured
    QString value;     // the program's figure
    QString baseline;  // the baseline in the same run, or "—"
    QString ratio;     // value / baseline, or "—"
    QString target;
    QString verdict;   // "ok", "MISS" or "—" (report only)
};

QString formatMs(double ms);
QString formatRatio(double ratio);
QString formatMb(double megabytes);

// Prints the rows as one aligned table (Markdown pipes) to standard output.
void printTable(const std::vector<Row>& rows);

}  // namespace mekuri::bench
