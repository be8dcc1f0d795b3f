#pragma once

// Writing a holiday file for one year in the ten-slot layout, from the
// calculator or from the government's list:
//
//   ; 2027年の休日
//   [h10]
//   1=10
//
//   [HORIDAY]
//   ; 1月 1日 元日、11日 成人の日
//   1=1,11,0,0,0,0,0,0,0,0
//   ...
//
// Each month's days stand packed to the left, rising, zeros after; the ";"
// lines name the holidays for whoever edits the file by hand and are skipped
// by the reader. CP932 without a byte-order mark, CR LF after every line.

#include "holidays/holiday_calculator.h"
#include "holidays/holiday_table.h"
#include "settings/expected.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace mekuri {

// The ten-slot table of year's holidays; a day listed twice counts once.
// Refused: a holiday outside year, or a month with more than ten holiday
// days (no year 1948-2099 has more than six in any month, but a list read
// from a file might).
Expected<HolidayTable> holidayTableOf(int year, const std::vector<Holiday>& holidays);

// The file text, lines ended by CR LF. Characters of a name that CP932
// cannot hold become "?" in its comment; the numbers are never affected.
Expected<QString> holidayFileText(int year, const std::vector<Holiday>& holidays);

// holidayFileText in CP932.
Expected<QByteArray> holidayFileBytes(int year, const std::vector<Holiday>& holidays);

// Writes the file to path atomically: path keeps its old content unless the
// new file is complete.
Status writeHolidayFile(const QString& path, int year, const std::vector<Holiday>& holidays);

}  // namespace mekuri
