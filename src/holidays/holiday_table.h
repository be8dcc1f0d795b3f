#pragma once

// The holiday file ("horiday.txt", factory copy "horiday0.txt") and the
// in-memory HolidayTable: twelve months of ten signed 32-bit day numbers, no
// year. Section HORIDAY holds keys "1".."12" whose values are comma texts of
// day numbers; a non-empty section h10 selects the ten-slot layout, otherwise
// four slots are used. The file is read by the INI rules of settings/ini_file.h.

#include "settings/app_paths.h"
#include "settings/expected.h"
#include "settings/ini_file.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace mekuri {

struct HolidayTable {
    // rows[m-1][s-1]: month m (1..12), slot s (1..10). 0 is an empty slot.
    std::array<std::array<qint32, 10>, 12> rows{};
    // HolidaySlotCount: 10 (h10 present) or 4.
    int slotCount = 4;

    // The bold-day mask of month (1..12): bit d-1 for every one of the ten
    // slots whose value d is 1..31. Months past 12 wrap to January.
    quint32 boldMask(int month) const;
};

// Where a load stopped: month (1..12), item (1-based) and why, in Japanese.
struct HolidayFault {
    int month = 0;
    int item = 0;
    QString reason;
};

struct HolidayLoad {
    // Rows before a fault stay filled; no later month is read.
    HolidayTable table;
    std::optional<HolidayFault> fault;
};

// Comma-text splitting: "," separates; codes 1..32 around items are skipped
// and end an unquoted item; a quoted item runs to its matching quote ("" is
// one quote); ",," gives an empty item, a trailing comma a final empty item;
// an empty value gives no items.
QStringList splitCommaText(const QString& value);

// LoadHolidayTable's rules over an already-read INI file.
HolidayLoad loadHolidayTable(const IniFile& ini);
// Reads path (a missing file is an empty file, no fault).
HolidayLoad loadHolidayFile(const QString& path);

// RestoreFactoryHolidays: copies "horiday0.txt" over "horiday.txt" byte for
// byte, atomically. When keepUserCopy is set and "horiday.txt" exists, its
// text is first kept as "horiday.bak.txt" so one typo never destroys a
// year of edits.
Status RestoreFactoryHolidays(const AppPaths& paths, bool keepUserCopy);

}  // namespace mekuri
