#include "dates/era_calendar.h"

namespace mekuri {

const std::array<Era, 5>& EraTable() {
    // 明治 starts on the day of the proclamation, 1868-10-23 (明治元年9月8日
    // of the old calendar), so typed Meiji dates before it are refused.
    static const std::array<Era, 5> table{{
        {u"明治", 'M', DateSerial::fromCivil(1868, 10, 23)},
        {u"大正", 'T', DateSerial::fromCivil(1912, 7, 30)},
        {u"昭和", 'S', DateSerial::fromCivil(1926, 12, 25)},
        {u"平成", 'H', DateSerial::fromCivil(1989, 1, 8)},
        {u"令和", 'R', DateSerial::fromCivil(2019, 5, 1)},
    }};
    return table;
}

const Era& eraOf(DateSerial date) {
    const auto& table = EraTable();
    const Era* found = &table.front();
    for (const Era& era : table) {
        if (era.EraFirstDay <= date) found = &era;
    }
    return *found;
}

int eraYearOf(DateSerial date) { return date.year() - eraOf(date).EraFirstDay.year() + 1; }

int westernYearOfEra(const Era& era, int eraYear) { return era.EraFirstDay.year() + eraYear - 1; }

const Era* eraByLetter(QChar letter) {
    // ASCII only: QChar::toUpper would also turn U+017F (long s) into 'S'.
    if (letter.unicode() >= 0x80) return nullptr;
    const QChar upper = letter.toUpper();
    for (const Era& era : EraTable()) {
        if (upper == QLatin1Char(era.EraLetter)) return &era;
    }
    return nullptr;
}

const Era* eraByName(QStringView name) {
    for (const Era& era : EraTable()) {
        if (name == era.EraName) return &era;
    }
    return nullptr;
}

}  // namespace mekuri
