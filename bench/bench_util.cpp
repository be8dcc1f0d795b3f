#include "bench_util.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace mekuri::bench {

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double medianMs(int runs, const std::function<void()>& work) {
    using Clock = std::chrono::steady_clock;
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return median(times);
}

ChildRun runChild(const QString& program, const QStringList& arguments, bool untilLine, bool peakMemory) {
    using Clock = std::chrono::steady_clock;
    ChildRun run;
    std::vector<std::string> args;
    char peakFile[] = "/tmp/mekuri-bench-peak-XXXXXX";
    if (peakMemory) {
        const int fd = mkstemp(peakFile);
        if (fd < 0) throw std::runtime_error("no file for the peak memory");
        close(fd);
        args.push_back(MEKURI_BENCH_PEAK);
        args.push_back(peakFile);
    }
    args.push_back(program.toStdString());
    for (const QString& a : arguments) args.push_back(a.toStdString());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    const auto start = Clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        throw std::runtime_error("cannot start " + program.toStdString() + ": " + std::strerror(rc));
    }

    std::string text;
    bool stopped = false;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, size_t(n));
        if (untilLine && !stopped && text.find('\n') != std::string::npos) {
            run.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            stopped = true;
        }
    }
    close(out[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!stopped) run.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (peakMemory) {
        if (FILE* in = std::fopen(peakFile, "r")) {
            if (std::fscanf(in, "%ld", &run.maxRssKb) != 1) run.maxRssKb = 0;
            std::fclose(in);
        }
        unlink(peakFile);
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (untilLine) text = text.substr(0, text.find('\n'));
    run.output = QString::fromStdString(text);
    return run;
}

ChildMedian medianChild(int runs, const QString& program, const QStringList& arguments, bool untilLine,
                        bool peakMemory) {
    ChildMedian result;
    std::vector<double> times;
    for (int i = 0; i <= runs; ++i) {
        const ChildRun run = runChild(program, arguments, untilLine, peakMemory);
        if (run.exitCode != 0) {
            throw std::runtime_error(QFileInfo(program).fileName().toStdString() + " " +
                                     arguments.join(u' ').toStdString() + " failed (exit " +
                                     std::to_string(run.exitCode) + ")");
        }
        if (i == 0) continue;  // warm-up: page cache, font cache
        times.push_back(run.ms);
        result.maxRssKb = std::max(result.maxRssKb, run.maxRssKb);
        result.output = run.output;
    }
    result.ms = median(times);
    return result;
}

QString formatMs(double ms) {
    if (ms >= 1000) return QString::number(ms / 1000, 'f', 2) + QStringLiteral(" s");
    if (ms >= 10) return QString::number(ms, 'f', 1) + QStringLiteral(" ms");
    return QString::number(ms, 'f', 2) + QStringLiteral(" ms");
}

QString formatRatio(double ratio) { return QString::number(ratio, 'f', 2); }

QString formatMb(double megabytes) { return QString::number(megabytes, 'f', 1) + QStringLiteral(" MB"); }

void printTable(const std::vector<Row>& rows) {
    const QStringList header = {QStringLiteral("#"),        QStringLiteral("figure"),
                                QStringLiteral("measured"), QStringLiteral("baseline"),
                                QStringLiteral("ratio"),    QStringLiteral("target"),
                                QStringLiteral("result")};
    std::vector<QStringList> lines = {header};
    for (const Row& r : rows) {
        lines.push_back({r.number, r.figure, r.value, r.baseline, r.ratio, r.target, r.verdict});
    }
    std::vector<int> widths(header.size(), 0);
    for (const QStringList& l : lines) {
        for (int c = 0; c < l.size(); ++c) widths[c] = std::max<int>(widths[c], l[c].size());
    }
    auto print = [&](const QStringList& l) {
        QString text = QStringLiteral("|");
        for (int c = 0; c < l.size(); ++c) text += u' ' + l[c].leftJustified(widths[c]) + QStringLiteral(" |");
        std::printf("%s\n", text.toUtf8().constData());
    };
    print(lines[0]);
    QStringList rule;
    for (int w : widths) rule << QString(w, u'-');
    print(rule);
    for (size_t i = 1; i < lines.size(); ++i) print(lines[i]);
    std::fflush(stdout);
}

}  // namespace mekuri::bench
