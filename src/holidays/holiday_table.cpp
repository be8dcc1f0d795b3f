#include "holidays/holiday_table.h"

#include "settings/save_file.h"
#include "settings/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace mekuri {

namespace {

// Codes 1..32 are the blanks of a comma text; code 0 ends the text.
bool isBlank(QChar c) { return c.unicode() >= 1 && c.unicode() <= 32; }

// A whole number in the signed 32-bit range: decimal with an optional sign.
// Hexadecimal spellings are not taken: a holiday file holds day numbers.
std::optional<qint32> parseDayNumber(const QString& item) {
    qsizetype i = 0;
    if (!item.isEmpty() && (item[0] == u'+' || item[0] == u'-')) i = 1;
    if (i >= item.size()) return std::nullopt;
    qint64 v = 0;
    for (qsizetype j = i; j < item.size(); ++j) {
        const char16_t c = item[j].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        v = v * 10 + (c - u'0');
        if (v > qint64(std::numeric_limits<qint32>::max()) + 1) return std::nullopt;
    }
    if (item[0] == u'-') v = -v;
    if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max()) return std::nullopt;
    return qint32(v);
}

QString itemFault(const QString& item) {
    if (item.isEmpty()) return QStringLiteral("項目が空です");
    bool digitsOnly = !item.isEmpty();
    for (qsizetype j = (item[0] == u'+' || item[0] == u'-') ? 1 : 0; j < item.size(); ++j) {
        if (item[j] < u'0' || item[j] > u'9') digitsOnly = false;
    }
    if (digitsOnly && item.size() > 1) {
        return QStringLiteral("「%1」は32ビット整数の範囲を超えています").arg(item);
    }
    return QStringLiteral("「%1」は整数ではありません").arg(item);
}

}  // namespace

quint32 HolidayTable::boldMask(int month) const {
    const int row = ((month - 1) % 12 + 12) % 12;  // [0, 11]; 13 is January again
    quint32 mask = 0;
    for (qint32 d : rows[row]) {
        if (d >= 1 && d <= 31) mask |= quint32(1) << (d - 1);
    }
    return mask;
}

QStringList splitCommaText(const QString& value) {
    QStringList items;
    const qsizetype n = value.indexOf(QChar(0)) >= 0 ? value.indexOf(QChar(0)) : value.size();
    qsizetype p = 0;
    while (p < n && isBlank(value[p])) ++p;
    while (p < n) {
        QString item;
        if (value[p] == u'"') {
            // Runs to the matching quote; "" inside stands for one quote. An
            // unmatched quote runs to the end.
            ++p;
            while (p < n) {
                if (value[p] == u'"') {
                    if (p + 1 < n && value[p + 1] == u'"') {
                        item += u'"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += value[p++];
            }
        } else {
            const qsizetype start = p;
            while (p < n && value[p].unicode() > 32 && value[p] != u',') ++p;
            item = value.mid(start, p - start);
        }
        items.append(item);
        while (p < n && isBlank(value[p])) ++p;
        if (p < n && value[p] == u',') {
            if (p + 1 == n) items.append(QString());  // a final comma: a final empty item
            do {
                ++p;
            } while (p < n && isBlank(value[p]));
        }
    }
    return items;
}

HolidayLoad loadHolidayTable(const IniFile& ini) {
    HolidayLoad load;
    HolidayTable& table = load.table;
    // The marker counts only with an entry; an empty [h10] is the old layout.
    table.slotCount = ini.entryCount(QStringLiteral("h10")) > 0 ? 10 : 4;
    const QString fallback = table.slotCount == 10 ? QStringLiteral("0,0,0,0,0,0,0,0,0,0")
                                                   : QStringLiteral("0,0,0,0");
    for (int month = 1; month <= 12; ++month) {
        const QString value = ini.readString(QStringLiteral("HORIDAY"), QString::number(month), fallback);
        const QStringList items = splitCommaText(value);
        for (int slot = 1; slot <= table.slotCount; ++slot) {
            if (slot > items.size()) {
                const QString reason =
                    items.isEmpty()
                        ? QStringLiteral("値が空です（%1個の日付が必要です）").arg(table.slotCount)
                        : QStringLiteral("項目が%1個しかありません（%2個必要です）")
                              .arg(items.size())
                              .arg(table.slotCount);
                load.fault = HolidayFault{month, slot, reason};
                return load;
            }
            const std::optional<qint32> day = parseDayNumber(items[slot - 1]);
            if (!day) {
                load.fault = HolidayFault{month, slot, itemFault(items[slot - 1])};
                return load;
            }
            table.rows[month - 1][slot - 1] = *day;
        }
    }
    return load;
}

HolidayLoad loadHolidayFile(const QString& path) {
    Expected<IniFile> ini = IniFile::load(path);
    if (!ini.ok()) {
        // A file that exists but cannot be read is as faulty as a broken one.
        HolidayLoad load;
        load.fault = HolidayFault{0, 0, ini.error()};
        return load;
    }
    return loadHolidayTable(ini.value());
}

Status RestoreFactoryHolidays(const AppPaths& paths, bool keepUserCopy) {
    const QString factory = paths.file(QStringLiteral("horiday0.txt"));
    const QString working = paths.file(QStringLiteral("horiday.txt"));
    const Expected<QByteArray> read = readWholeFile(factory);
    if (!read.ok()) return Error{read.error()};
    const QByteArray& bytes = *read;
    if (keepUserCopy && QFileInfo::exists(working)) {
        // Without the copy of the user's text the restore does not go ahead.
        const Status kept = copyFileAtomic(working, paths.file(QStringLiteral("horiday.bak.txt")));
        if (!kept.ok()) return kept;
    }
    return writeFileAtomic(working, bytes);
}

}  // namespace mekuri
