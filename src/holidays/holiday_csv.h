#pragma once

// The Cabinet Office's list of national holidays ("syukujitsu.csv"): Shift-JIS
// (CP932) text, the header line "国民の祝日・休日月日,国民の祝日・休日名称",
// then one "yyyy/m/d,名称" line per holiday, several years in one file.
//
// Reading is tolerant of what editors do to such a file: a byte-order mark
// (a UTF-8 or UTF-16 copy saved by a spreadsheet), CR LF or LF breaks, blank
// lines, blanks around the fields, fields in double quotes, empty extra
// columns and leading zeros in month and day. Anything else is refused with
// the number of the line and the reason, so a damaged download never turns
// into a wrong holiday file.

#include "holidays/holiday_calculator.h"
#include "settings/expected.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <map>
#include <vector>

namespace mekuri {

struct HolidayCsv {
    // Holidays by year, each year in date order.
    std::map<int, std::vector<Holiday>> byYear;

    // The years present, rising.
    QList<int> years() const;
};

// The header line that marks the file.
QString holidayCsvHeader();

// Whether the first line of bytes (decoded as the program decodes text
// files) is the header: what tells the government's list from a holiday file.
bool looksLikeHolidayCsv(const QByteArray& bytes);

// Parses the whole file. Errors name the line (1-based, counting every line
// of the file) and what is wrong with it; a file without a single holiday is
// an error too.
Expected<HolidayCsv> parseHolidayCsv(const QByteArray& bytes);

// Reads and parses path; a file that cannot be read is an error naming it.
Expected<HolidayCsv> readHolidayCsv(const QString& path);

// The holidays of year; an error that lists the years present when the file
// has none for year.
Expected<std::vector<Holiday>> holidaysOfYear(const HolidayCsv& csv, int year);

// The years as short text, runs joined: "1955年から2027年", "2026年、2028年".
QString yearsText(const QList<int>& years);

}  // namespace mekuri
