// Date readout, day counting and the date tools of the edit menu.
//
// A click on the calendar writes the selected day in the era form with the
// zodiac animal of its year, or, while "開始" is down, the span from the
// marked start day in days. The tools jump, convert and copy the selected
// date; every text comes from the dates library.
#include "app/tf_main.h"

#include "dates/date_serial.h"
#include "dates/date_text.h"
#include "dates/era_calendar.h"
#include "platform/command_guard.h"
#include "platform/dialogs.h"
#include "platform/month_calendar.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QRegularExpression>

#include <limits>

namespace mekuri {

namespace {

// Indexed by the Western year modulo 12.
const char16_t* const kZodiac[12] = {
    u" 申(さる)", u" 酉(とり)", u" 戌(いぬ)", u" 亥(い)",   u" 子(ね)", u" 丑(うし)",
    u" 寅(とら)", u" 卯(う)",   u" 辰(たつ)", u" 巳(み)",   u" 午(うま)", u" 未(ひつじ)",
};

// Indexed by the month 1..12.
const char16_t* const kClassicalMonths[12] = {
    u"睦月 むつき",   u"如月 きさらぎ", u"弥生 やよい",
    u"卯月 うづき",   u"皐月 さつき",   u"水無月 みなづき",
    u"文月 ふみづき, ふづき", u"葉月 はづき", u"長月 ながつき",
    u"神無月 かみなづき, かんなづき", u"霜月 しもつき", u"師走 しわす, しはす",
};

QString startButtonCaption() { return QStringLiteral("開始"); }
QString startButtonHint() { return QStringLiteral("先に開始日を指定して下さい|"); }

QString dateInputError() { return QStringLiteral("日付の入力エラー　あるいは\nその日は存在しません"); }

QString zodiacText(int year) {
    const int index = ((year % 12) + 12) % 12;
    return QString::fromUtf16(kZodiac[index]);
}

QString classicalMonthCaption(int month) {
    return QString::number(month) + QStringLiteral("月は ") + QString::fromUtf16(kClassicalMonths[month - 1]);
}

DateSerial selectedSerial(const TF_MAIN& window) {
    return DateSerial::fromQDate(window.MonthCalendar1()->selectedDate());
}

// Selecting by code is no click: the click readout is not redone.
void selectSerial(TF_MAIN& window, DateSerial date) { window.MonthCalendar1()->setSelectedDate(date.toQDate()); }

}  // namespace

void TF_MAIN::setUpDatesFeature() {
    // The button is already toggled when its handler runs.
    connectEntry("TOOL_BAR_DATE", &TF_MAIN::TOOL_BAR_DATEClick, CheckMark::ByClick);
    // Only a mouse click reports; keyboard moves and jumps by code do not.
    connect(MonthCalendar1(), &MonthCalendar::clicked, this, [this] { runCommand([this] { MonthCalendar1Click(); }); });
    connectEntry("POP_KAISHI_ADD", &TF_MAIN::POP_KAISHI_ADDClick);
    connectEntry("POP_TODAY", &TF_MAIN::POP_TODAYClick);
    connectEntry("POP_SHITEI", &TF_MAIN::POP_SHITEIClick);
    connectEntry("POP_KEIKA", &TF_MAIN::POP_KEIKAClick);
    connectEntry("POP_HEISEI", &TF_MAIN::POP_HEISEIClick);
    connectEntry("POP_SYOUWA", &TF_MAIN::POP_SYOUWAClick);
    connectEntry("POP_WASEI", &TF_MAIN::POP_WASEIClick);
    connectEntry("POP_SEIWA", &TF_MAIN::POP_SEIWAClick);
    for (const char* name : {"POP_COPY_WAREKI", "POP_COPY_WA2", "POP_COPY_SEIREKI", "POP_COPY_SE2"}) {
        connectEntry(name, &TF_MAIN::POP_COPY_WAREKIClick);
    }
    // The classical month name has no command: choosing it only closes the menu.
    if (QAction* inreki = action("POP_INREKI")) inreki->setEnabled(true);
    if (QMenu* edit = menu("POP_EDIT_MN")) {
        connect(edit, &QMenu::aboutToShow, this, [this] { runCommand([this] { POP_EDIT_MNPopup(); }); });
    }
}

void TF_MAIN::releaseStartButton() {
    m_startDay = 0;
    QAction* button = action("TOOL_BAR_DATE");
    button->setChecked(false);
    button->setText(startButtonCaption());
    setHint(button, startButtonHint());
}

// ---- click readout and day count ----

void TF_MAIN::TOOL_BAR_DATEClick() {
    QAction* button = action("TOOL_BAR_DATE");
    if (button->isChecked()) {
        m_startDay = selectedSerial(*this).days();
        button->setText(QStringLiteral("処理中.."));
        setStatusText(QStringLiteral("終了日を指定して下さい"));
        setHint(button, QString());
    } else {
        releaseStartButton();
        setStatusText(QString());
    }
}

void TF_MAIN::MonthCalendar1Click() {
    const DateSerial clicked = selectedSerial(*this);
    if (action("TOOL_BAR_DATE")->isChecked()) {
        const DateSerial start(m_startDay);
        qint64 days = qAbs(qint64(clicked.days()) - start.days());
        // The start day counts in either order: 2019/5/10 back to 2019/5/1
        // spans the same ten days as 2019/5/1 to 2019/5/10.
        if (action("POP_KAISHI_ADD")->isChecked()) ++days;
        setStatusText(FormatDateText(FMT_SEIREKI, start) + QStringLiteral("～") +
                      FormatDateText(FMT_SEIREKI, clicked) + QStringLiteral("は ") + QString::number(days) +
                      QStringLiteral(" 日間"));
        releaseStartButton();
        return;
    }
    setStatusText(FormatDateText(FMT_WAREKI_STATUS, clicked) + zodiacText(clicked.year()));
}

void TF_MAIN::POP_KAISHI_ADDClick() {
    QAction* entry = action("POP_KAISHI_ADD");
    entry->setChecked(!entry->isChecked());
    const bool on = entry->isChecked();
    throwIfFailed(changeIniFile(Ini_File(), [on](IniFile& ini) {
        ini.writeBool(QStringLiteral("KAISHI_ADD"), QStringLiteral("0"), on);
    }));
}

// ---- date tools ----

void TF_MAIN::POP_TODAYClick() { selectSerial(*this, DateSerial::today()); }

void TF_MAIN::POP_SHITEIClick() {
    // The example is built from today, not from the selected date.
    const QDate today = QDate::currentDate();
    const QString y = QString::number(today.year());
    const QString m = QString::number(today.month());
    const QString prompt = QStringLiteral("例.") + y + QStringLiteral("年") + m + QStringLiteral("月1日なら ") + y +
                           QStringLiteral("/") + m + QStringLiteral("/1 と入力");
    const std::optional<QString> text =
        dialogs().inputQuery(QStringLiteral("指定日へジャンプ(半角数字)"), prompt, QString());
    if (!text) return;
    const std::optional<DateSerial> date = ParseDateText(*text);
    if (!date) throw CommandError(dateInputError());
    if (isInSupportedRange(*date)) selectSerial(*this, *date);
}

void TF_MAIN::POP_KEIKAClick() {
    const std::optional<QString> text = dialogs().inputQuery(
        QStringLiteral("日付指定２(半角数字)"), QStringLiteral("例えば10日後なら 10 ，20日前なら -20 と入力"), QString());
    if (!text) return;
    // A whole number in ASCII digits with an optional sign, within 32 bits.
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    bool fits = false;
    const int offset = wholeNumber.match(*text).hasMatch() ? text->toInt(&fits) : 0;
    if (!fits) {
        dialogs().warning(QStringLiteral("入力エラー\n半角数字を入力して下さい"));
        return;
    }
    // In 64 bits: an offset near the 32-bit limit must not wrap into range.
    const qint64 target = qint64(selectedSerial(*this).days()) + offset;
    if (isInSupportedRange(double(target))) selectSerial(*this, DateSerial(int(target)));
}

void TF_MAIN::POP_HEISEIClick() {
    const DateSerial date = selectedSerial(*this);
    const int year = date.year();
    if (year <= 2018) {
        setStatusText(FormatDateText(FMT_WAREKI_SPACED, date));
    } else {
        setStatusText(QStringLiteral("平成でいえば ") + QString::number(HeiseiYearOf(year)) + QStringLiteral(" 年です"));
    }
}

void TF_MAIN::POP_SYOUWAClick() {
    const DateSerial date = selectedSerial(*this);
    const int year = date.year();
    if (year <= 1988) {
        setStatusText(FormatDateText(FMT_WAREKI_SPACED, date));
    } else {
        setStatusText(QStringLiteral("昭和でいえば ") + QString::number(ShowaYearOf(year)) + QStringLiteral(" 年です"));
    }
}

void TF_MAIN::POP_WASEIClick() {
    const std::optional<QString> text = dialogs().inputQuery(
        QStringLiteral("和暦→西暦変換"),
        QStringLiteral("例. 平成25年3月8日なら H25/3/8 と半角で入力\n\n先頭文字\n明治 M 大正 T 昭和 S 平成 H 令和 R"),
        QString());
    if (!text) return;
    const std::optional<DateSerial> date = ParseDateText(*text);
    if (!date) throw CommandError(dateInputError());
    if (!isInSupportedRange(*date)) return;
    selectSerial(*this, *date);
    setStatusText(FormatDateText(FMT_SEIREKI, *date));
}

void TF_MAIN::POP_SEIWAClick() {
    dialogs().information(
        QStringLiteral("西暦→和暦へは、\n\n1. ｶﾚﾝﾀﾞｰ上の日付(西暦表示)をｸﾘｯｸ\n\n2. 画面下に 和暦 が表示されます"));
}

void TF_MAIN::POP_COPY_WAREKIClick(QAction* sender) {
    QStringView format;
    switch (sender ? sender->data().toInt() : 0) {
    case 100: format = FMT_WAREKI; break;
    case 200: format = FMT_WAREKI_YOUBI; break;
    case 300: format = FMT_SEIREKI; break;
    case 400: format = FMT_SEIREKI_YOUBI; break;
    default: return;
    }
    QGuiApplication::clipboard()->setText(FormatDateText(format, selectedSerial(*this)));
}

void TF_MAIN::POP_EDIT_MNPopup() {
    if (QAction* inreki = action("POP_INREKI")) inreki->setText(classicalMonthCaption(selectedSerial(*this).month()));
}

}  // namespace mekuri
