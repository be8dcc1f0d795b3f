#include "cli/commands.h"

#include "cli/cli_holidays_generate.h"

#include "holidays/holiday_table.h"

#include <QFileInfo>

namespace mekuri::cli {

namespace {

const char* kHolidaysUsage =
    "usage: mekuri-cli holidays check FILE\n"
    "       mekuri-cli holidays generate YEAR [--out FILE]\n"
    "       mekuri-cli holidays from-csv FILE --year YEAR [--out FILE]\n"
    "\n"
    "  check  load FILE by the program's rules; print the layout and each\n"
    "         month's days, or the first fault (month, item, reason) and exit 1\n";

// The used slots of one month as the check prints them: the day numbers,
// with values that mark no day flagged.
QString monthText(const HolidayTable& table, int month) {
    QStringList days;
    for (int slot = 0; slot < table.slotCount; ++slot) {
        const qint32 d = table.rows[month - 1][slot];
        if (d == 0) continue;
        days << (d >= 1 && d <= 31 ? QString::number(d) : QStringLiteral("%1(no day)").arg(d));
    }
    return days.isEmpty() ? QStringLiteral("-") : days.join(u' ');
}

int check(const QStringList& args, Io io) {
    if (args.size() != 1) {
        io.err << kHolidaysUsage;
        return 2;
    }
    const QString path = args[0];
    // The program reads a missing file as "no holidays"; a check of a file
    // that is not there is a mistake worth saying.
    if (!QFileInfo(path).isFile()) {
        io.err << "mekuri-cli: no such file: " << path << '\n';
        return 1;
    }
    const HolidayLoad load = loadHolidayFile(path);
    if (load.fault && load.fault->month == 0) {
        io.err << load.fault->reason << '\n';
        return 1;
    }
    io.out << "layout: " << load.table.slotCount << " slots"
           << (load.table.slotCount == 10 ? " (h10 present)" : " (no h10 entry)") << '\n';
    const int lastRead = load.fault ? load.fault->month - 1 : 12;
    for (int month = 1; month <= lastRead; ++month) {
        io.out << QStringLiteral("%1").arg(month, 2) << ": " << monthText(load.table, month) << '\n';
    }
    if (load.fault) {
        io.out.flush();
        io.err << "fault: month " << load.fault->month << ", item " << load.fault->item << ": "
               << QStringLiteral("%1月の%2番目の項目: ").arg(load.fault->month).arg(load.fault->item)
               << load.fault->reason << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

int runHolidays(const QStringList& args, Io io) {
    const QString sub = args.value(0);
    const QStringList rest = args.mid(1);
    if (sub == QStringLiteral("check")) return check(rest, io);
    if (sub == QStringLiteral("generate")) return runHolidaysGenerate(rest, io);
    if (sub == QStringLiteral("from-csv")) return runHolidaysFromCsv(rest, io);
    io.err << kHolidaysUsage;
    return 2;
}

}  // namespace mekuri::cli
