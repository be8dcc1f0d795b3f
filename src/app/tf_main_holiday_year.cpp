// "年を指定して休日を作成...": the working holiday file for a year the user
// names, worked out from the holiday law, so nobody has to type next year's
// holidays by hand. The factory file stays as it is, so "出荷時の休日にする"
// still goes back to the shipped set. Like the factory restore, the new file
// takes effect through a restart.
#include "app/tf_main.h"

#include "holidays/holiday_calculator.h"
#include "holidays/holiday_file_writer.h"
#include "platform/command_guard.h"
#include "platform/dialogs.h"
#include "platform/month_calendar.h"
#include "settings/text_file.h"

#include <QDate>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace mekuri {

namespace {

QString rangeText() {
    return QString::number(kFirstHolidayYear) + QStringLiteral("～") + QString::number(kLastHolidayYear);
}

// The typed year, or nullopt after the warning. Half-width digits only, as
// the prompt says and as the program's other number prompts accept.
std::optional<int> parseYear(const QString& typed) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const QString text = trimControl(typed);
    if (!digits.match(text).hasMatch()) {
        dialogs().warning(QStringLiteral("入力エラー\n半角数字を入力して下さい"));
        return std::nullopt;
    }
    bool fits = false;
    const int year = text.toInt(&fits);
    if (!fits || year < kFirstHolidayYear || year > kLastHolidayYear) {
        dialogs().warning(QStringLiteral("入力エラー\n") + rangeText() + QStringLiteral(" の年を入力して下さい"));
        return std::nullopt;
    }
    return year;
}

QString weekdayText(const QDate& date) {
    static const char16_t* const names[] = {u"月", u"火", u"水", u"木", u"金", u"土", u"日"};
    return QString::fromUtf16(names[date.dayOfWeek() - 1]);
}

// "2027年の休日" with one "1月1日(金) 元日" line per holiday, then the
// question and the restart note of the factory restore.
QString questionText(int year, const std::vector<Holiday>& holidays) {
    QString text = QString::number(year) + QStringLiteral("年の休日\n\n");
    for (const Holiday& h : holidays) {
        text += QString::number(h.date.month()) + QStringLiteral("月") + QString::number(h.date.day()) +
                QStringLiteral("日(") + weekdayText(h.date) + QStringLiteral(") ") + h.name + u'\n';
    }
    text += QStringLiteral(
        "\nこの休日で horiday.txt を作成しますか？\n\n"
        "\"はい\"を選ぶと、休日を変更した後\n\n"
        "このソフトは自動で再起動します。");
    return text;
}

}  // namespace

void TF_MAIN::setUpHolidayYearFeature() {
    connectEntry("POP_KYUJITSU_NEN", &TF_MAIN::POP_KYUJITSU_NENClick);
}

void TF_MAIN::POP_KYUJITSU_NENClick() {
    // The calendar reaches years the law does not cover; the nearest covered
    // year is offered then.
    const int proposed = std::clamp(m_calendar->selectedDate().year(), kFirstHolidayYear, kLastHolidayYear);
    const std::optional<QString> typed = dialogs().inputQuery(
        QStringLiteral("年を指定して休日を作成"),
        QStringLiteral("作成する年を半角数字で入力して下さい（") + rangeText() + QStringLiteral("）"),
        QString::number(proposed));
    if (!typed) return;
    const std::optional<int> year = parseYear(*typed);
    if (!year) return;

    const Expected<std::vector<Holiday>> holidays = calculateHolidays(*year);
    if (!holidays.ok()) throw CommandError(holidays.error());
    if (dialogs().confirm(questionText(*year, *holidays), true) != Answer::Yes) return;

    // A failed write leaves the old file whole and is reported; no restart.
    throwIfFailed(writeHolidayFile(m_paths.file(QStringLiteral("horiday.txt")), *year, *holidays));
    RestartProgram();
}

}  // namespace mekuri
