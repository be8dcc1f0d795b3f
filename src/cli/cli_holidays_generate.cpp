#include "cli/cli_holidays_generate.h"

#include "holidays/holiday_calculator.h"
#include "holidays/holiday_csv.h"
#include "holidays/holiday_file_writer.h"

#include <QRegularExpression>

#include <cstdio>
#include <optional>

namespace mekuri::cli {

namespace {

const char* kUsage =
    "usage: mekuri-cli holidays generate YEAR [--out FILE]\n"
    "       mekuri-cli holidays from-csv FILE --year YEAR [--out FILE]\n"
    "\n"
    "  generate  the national holidays of YEAR (1948-2099) from the holiday law\n"
    "  from-csv  the holidays of YEAR from the Cabinet Office's CSV (syukujitsu.csv)\n"
    "  Both write a ten-slot holiday file (CP932, CR LF) to FILE, or to stdout.\n";

struct Options {
    QStringList positional;
    std::optional<QString> out;
    std::optional<QString> year;
};

// Splits args into positional words and the options named in allowed;
// nullopt (after a usage message) on anything else.
std::optional<Options> parseOptions(const QStringList& args, const QStringList& allowed, Io io) {
    Options o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QStringLiteral("--"))) {
            o.positional << a;
            continue;
        }
        if (!allowed.contains(a) || i + 1 >= args.size()) {
            io.err << "mekuri-cli: " << (allowed.contains(a) ? "missing value for " : "unknown option ") << a
                   << "\n\n" << kUsage;
            return std::nullopt;
        }
        (a == QStringLiteral("--out") ? o.out : o.year) = args[++i];
    }
    return o;
}

// The year as a number; nullopt (after a usage message) when it is not one.
std::optional<int> parseYear(const QString& text, Io io) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]{1,9}$"));
    if (!number.match(text).hasMatch()) {
        io.err << "mekuri-cli: '" << text << "' is not a year\n\n" << kUsage;
        return std::nullopt;
    }
    return text.toInt();
}

int writeOut(int year, const std::vector<Holiday>& holidays, const std::optional<QString>& out, Io io) {
    if (out) {
        const Status written = writeHolidayFile(*out, year, holidays);
        if (!written) {
            io.err << "mekuri-cli: " << written.error() << "\n";
            return 1;
        }
        return 0;
    }
    Expected<QByteArray> bytes = holidayFileBytes(year, holidays);
    if (!bytes) {
        io.err << "mekuri-cli: " << bytes.error() << "\n";
        return 1;
    }
    // The file's own bytes (CP932), not text re-encoded by the stream.
    io.out.flush();
    if (std::fwrite(bytes->constData(), 1, size_t(bytes->size()), stdout) != size_t(bytes->size()) ||
        std::fflush(stdout) != 0) {
        io.err << "mekuri-cli: cannot write to stdout\n";
        return 1;
    }
    return 0;
}

}  // namespace

int runHolidaysGenerate(const QStringList& args, Io io) {
    const std::optional<Options> o = parseOptions(args, {QStringLiteral("--out")}, io);
    if (!o) return 2;
    if (o->positional.size() != 1) {
        io.err << kUsage;
        return 2;
    }
    const std::optional<int> year = parseYear(o->positional[0], io);
    if (!year) return 2;
    Expected<std::vector<Holiday>> holidays = calculateHolidays(*year);
    if (!holidays) {
        io.err << "mekuri-cli: " << holidays.error() << "\n";
        return 1;
    }
    return writeOut(*year, *holidays, o->out, io);
}

int runHolidaysFromCsv(const QStringList& args, Io io) {
    const std::optional<Options> o = parseOptions(args, {QStringLiteral("--out"), QStringLiteral("--year")}, io);
    if (!o) return 2;
    if (o->positional.size() != 1 || !o->year) {
        io.err << kUsage;
        return 2;
    }
    const std::optional<int> year = parseYear(*o->year, io);
    if (!year) return 2;
    Expected<HolidayCsv> csv = readHolidayCsv(o->positional[0]);
    if (!csv) {
        io.err << "mekuri-cli: " << csv.error() << "\n";
        return 1;
    }
    Expected<std::vector<Holiday>> holidays = holidaysOfYear(*csv, *year);
    if (!holidays) {
        io.err << "mekuri-cli: " << holidays.error() << "\n";
        return 1;
    }
    return writeOut(*year, *holidays, o->out, io);
}

}  // namespace mekuri::cli
