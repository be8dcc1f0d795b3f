#pragma once

// Date texts: how a DateSerial becomes a text and a text becomes a date,
// with the Japanese locale settings fixed (separator "/", weekday names
// 日 月 火 水 木 金 土, the era calendar of era_calendar.h), so the texts come
// out the same on every platform.

#include "dates/date_serial.h"
#include "dates/era_calendar.h"
#include "settings/expected.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace mekuri {

// Format strings. Text between double quotes is literal.
inline constexpr QStringView FMT_WAREKI_STATUS = u"gg e\" 年 \"m\" 月 \"d\" 日\" ";  // 昭和 63 年 12 月 31 日 + space
inline constexpr QStringView FMT_WAREKI_SPACED = u"gg e\" 年 \"m\" 月 \"d\" 日\"";   // 昭和 63 年 12 月 31 日
inline constexpr QStringView FMT_WAREKI = u"gge\"年\"m\"月\"d\"日\"";                // 昭和63年12月31日
inline constexpr QStringView FMT_WAREKI_YOUBI = u"gge\"年\"m\"月\"d\"日(\"ddd\")\"";  // 昭和63年12月31日(土)
inline constexpr QStringView FMT_SEIREKI = u"yyyy/m/d";                            // 2019/5/1
inline constexpr QStringView FMT_SEIREKI_YOUBI = u"yyyy/m/d\"(\"ddd\")\"";          // 2019/5/1(水)
inline constexpr QStringView FMT_KINEN = u"yyyy/mm/dd";                            // 2019/05/01
inline constexpr QStringView FMT_FILE_DATE = u"yyyymmdd";                          // 20190501
// The short date form of the fixed locale settings (the same text as FMT_KINEN).
inline constexpr QStringView FMT_SHORT = u"yyyy/mm/dd";                            // 2019/05/01

// Formats date by format, scanned left to right:
//   "..."  copied without the quotes (an unclosed quote runs to the end)
//   /      the date separator "/"
//   a run of one repeated ASCII letter, taken whole, is a token:
//     yyyy  Western year, four digits     gg  era name (eraOf)
//     mm    month, two digits             e   year within the era, no leading zero
//     m     month                         dd  day, two digits
//     d     day                           ddd weekday name 日..土
//   any other run or character is copied unchanged.
// Never fails; meant for the supported range (eras from 明治 on).
QString FormatDateText(QStringView format, DateSerial date);

// Reads a typed or stored date text. Accepted, after full-width digits,
// letters, "／" and the ideographic space are read as their ASCII forms, with
// any blanks (space, tab, ideographic space) around the parts:
//   Y/M/D          Western: four-digit year, month and day of one or two
//                  digits, leading zeros optional (2019/5/1, 2019/05/01)
//   Y年M月D日       the same written with 年 月 日 (2019年5月1日)
//   E y/M/D        era: E an era letter M T S H R in either case or an era
//   E y年M月D日     name 明治 大正 昭和 平成 令和, y the year within the era
//                  (one to four digits, or 元 for year 1): H25/3/8,
//                  r1/5/1, 令和元年5月1日, 平成 31 年 4 月 30 日
// Refused: any other text (no time of day, no bare number, no weekday), a
// month or day that does not exist (2019/13/1, 2019/2/29), year 0, and an era
// date before that era's first day (H1/1/7, M1/1/1). An era date after the
// era's end is counted by that era's years (平成31年5月1日 is 2019-05-01,
// H32/1/1 is 2020-01-01). The supported range is not applied.
std::optional<DateSerial> ParseDateText(QStringView text);

// Reads only the short date form as FMT_SHORT writes it: four ASCII digits,
// "/", month, "/", day (one or two digits each, nothing around them). Any
// other text is a conversion error whose message names the text.
Expected<DateSerial> ParseShortDate(QStringView text);

}  // namespace mekuri
