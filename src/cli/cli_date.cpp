#include "cli/commands.h"

#include "dates/date_serial.h"
#include "dates/date_text.h"
#include "dates/era_calendar.h"

#include <QRegularExpression>

#include <utility>

namespace mekuri::cli {

namespace {

const std::pair<const char*, QStringView> kFormats[] = {
    {"FMT_WAREKI_STATUS", FMT_WAREKI_STATUS}, {"FMT_WAREKI_SPACED", FMT_WAREKI_SPACED},
    {"FMT_WAREKI", FMT_WAREKI},               {"FMT_WAREKI_YOUBI", FMT_WAREKI_YOUBI},
    {"FMT_SEIREKI", FMT_SEIREKI},             {"FMT_SEIREKI_YOUBI", FMT_SEIREKI_YOUBI},
    {"FMT_KINEN", FMT_KINEN},                 {"FMT_FILE_DATE", FMT_FILE_DATE},
    {"FMT_SHORT", FMT_SHORT},
};

const char* kUsage =
    "usage: mekuri-cli date format FMT_NAME YYYY-MM-DD\n"
    "       mekuri-cli date parse TEXT\n"
    "\n"
    "  format  prints the date (1900-01-01 to 2087-12-31) in a named format:\n"
    "          FMT_WAREKI_STATUS FMT_WAREKI_SPACED FMT_WAREKI FMT_WAREKI_YOUBI\n"
    "          FMT_SEIREKI FMT_SEIREKI_YOUBI FMT_KINEN FMT_FILE_DATE FMT_SHORT\n"
    "  parse   reads a date text as the program does and prints YYYY-MM-DD and,\n"
    "          from the first era on, the era form (FMT_WAREKI); 1 if not a date\n";

QString isoText(DateSerial date) {
    const CivilDate c = date.civil();
    return QStringLiteral("%1-%2-%3")
        .arg(c.year, 4, 10, QLatin1Char('0'))
        .arg(c.month, 2, 10, QLatin1Char('0'))
        .arg(c.day, 2, 10, QLatin1Char('0'));
}

int formatCommand(const QString& name, const QString& dateText, Io io) {
    const QStringView* format = nullptr;
    for (const auto& [formatName, text] : kFormats) {
        if (name == QLatin1String(formatName)) format = &text;
    }
    if (!format) {
        io.err << "mekuri-cli: unknown format '" << name << "'\n\n" << kUsage;
        return 2;
    }
    static const QRegularExpression iso(QStringLiteral("^([0-9]{4})-([0-9]{2})-([0-9]{2})$"));
    const QRegularExpressionMatch m = iso.match(dateText);
    if (!m.hasMatch()) {
        io.err << "mekuri-cli: '" << dateText << "' is not written YYYY-MM-DD\n";
        return 2;
    }
    const CivilDate civil{m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()};
    if (!civil.ok()) {
        io.err << "mekuri-cli: " << dateText << " does not exist\n";
        return 1;
    }
    const DateSerial date = DateSerial::fromCivil(civil);
    if (!isInSupportedRange(date)) {
        io.err << "mekuri-cli: " << dateText << " lies outside 1900-01-01 to 2087-12-31\n";
        return 1;
    }
    io.out << FormatDateText(*format, date) << '\n';
    return 0;
}

int parseCommand(const QString& text, Io io) {
    const std::optional<DateSerial> date = ParseDateText(text);
    if (!date) {
        io.err << "mekuri-cli: '" << text << "' is not a date\n";
        return 1;
    }
    io.out << isoText(*date);
    // The era form of a day before the first era would name no real era year.
    if (*date >= EraTable().front().EraFirstDay) io.out << ' ' << FormatDateText(FMT_WAREKI, *date);
    io.out << '\n';
    return 0;
}

}  // namespace

int runDate(const QStringList& args, Io io) {
    if (args.size() == 3 && args[0] == QStringLiteral("format")) return formatCommand(args[1], args[2], io);
    // A text typed with blanks may arrive as several words.
    if (args.size() >= 2 && args[0] == QStringLiteral("parse")) return parseCommand(args.mid(1).join(u' '), io);
    io.err << kUsage;
    return 2;
}

}  // namespace mekuri::cli
