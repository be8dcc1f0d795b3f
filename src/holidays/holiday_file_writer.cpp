#include "holidays/holiday_file_writer.h"

#include "settings/save_file.h"
#include "settings/text_file.h"

#include <QStringList>

#include <map>

namespace mekuri {

namespace {

// Names go into comments only; a character CP932 lacks must not make the
// whole file unwritable.
QString cp932Safe(const QString& name) {
    if (cp932CanHold(name)) return name;
    QString out;
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype len = (name[i].isHighSurrogate() && i + 1 < name.size()) ? 2 : 1;
        const QString ch = name.mid(i, len);
        out += cp932CanHold(ch) ? ch : QStringLiteral("?");
        i += len;
    }
    return out;
}

// Month (1..12) -> day -> names of that day, for the checks and the comments.
using MonthDays = std::map<int, std::map<int, QStringList>>;

Expected<MonthDays> sortIntoMonths(int year, const std::vector<Holiday>& holidays) {
    MonthDays months;
    for (const Holiday& h : holidays) {
        if (!h.date.isValid() || h.date.year() != year) {
            return Error{QStringLiteral("%1年の休日ファイルに %2 の休日は入れられません。")
                             .arg(year)
                             .arg(h.date.toString(QStringLiteral("yyyy/M/d")))};
        }
        QStringList& names = months[h.date.month()][h.date.day()];
        if (!names.contains(h.name)) names << h.name;
    }
    for (const auto& [month, days] : months) {
        if (days.size() > 10) {
            return Error{QStringLiteral("%1年%2月の休日は %3日あり、休日ファイルの1か月10日分に入りません。")
                             .arg(year)
                             .arg(month)
                             .arg(days.size())};
        }
    }
    return months;
}

}  // namespace

Expected<HolidayTable> holidayTableOf(int year, const std::vector<Holiday>& holidays) {
    Expected<MonthDays> months = sortIntoMonths(year, holidays);
    if (!months) return Error{months.error()};
    HolidayTable table;
    table.slotCount = 10;
    for (const auto& [month, days] : *months) {
        int slot = 0;
        for (const auto& entry : days) table.rows[month - 1][slot++] = entry.first;
    }
    return table;
}

Expected<QString> holidayFileText(int year, const std::vector<Holiday>& holidays) {
    Expected<MonthDays> months = sortIntoMonths(year, holidays);
    if (!months) return Error{months.error()};
    Expected<HolidayTable> table = holidayTableOf(year, holidays);
    if (!table) return Error{table.error()};

    QStringList lines;
    lines << QStringLiteral("; %1年の休日").arg(year);
    lines << QStringLiteral("[h10]") << QStringLiteral("1=10") << QString();
    lines << QStringLiteral("[HORIDAY]");
    for (int month = 1; month <= 12; ++month) {
        QStringList named;
        const auto it = months->find(month);
        if (it != months->end()) {
            for (const auto& [day, names] : it->second)
                named << QStringLiteral("%1日 %2").arg(day).arg(cp932Safe(names.join(QStringLiteral("・"))));
        }
        lines << QStringLiteral("; %1月 %2").arg(month).arg(named.isEmpty() ? QStringLiteral("なし")
                                                                            : named.join(QStringLiteral("、")));
        QStringList items;
        for (qint32 day : table->rows[month - 1]) items << QString::number(day);
        lines << QStringLiteral("%1=%2").arg(month).arg(items.join(u','));
    }
    return joinCrLf(lines, true);
}

Expected<QByteArray> holidayFileBytes(int year, const std::vector<Holiday>& holidays) {
    Expected<QString> text = holidayFileText(year, holidays);
    if (!text) return Error{text.error()};
    EncodedText encoded = encodeText(*text, TextEncoding::Cp932);
    if (encoded.lossy) return Error{QStringLiteral("休日ファイルを Shift-JIS で書けません。")};
    return encoded.bytes;
}

Status writeHolidayFile(const QString& path, int year, const std::vector<Holiday>& holidays) {
    Expected<QByteArray> bytes = holidayFileBytes(year, holidays);
    if (!bytes) return Error{bytes.error()};
    return writeFileAtomic(path, *bytes);
}

}  // namespace mekuri
