// Calendar colours, week start, nickname and window reset: the settings menu
// commands that shape the main window. Colours go to the colour files (each
// write atomic, so a failed write keeps the old file), the week start and
// the nickname to the settings file at once.
#include "app/tf_main.h"

#include "platform/command_guard.h"
#include "platform/dialogs.h"
#include "platform/month_calendar.h"
#include "platform/system_colors.h"

#include <QAction>

namespace mekuri {

namespace {

// The colour target of the window body (F_MAIN and StatusBar1).
constexpr int kBodyColorTag = 4;

const char* const kWeekdayEntries[] = {"POP_SUN", "POP_MON", "POP_TUES", "POP_WED",
                                       "POP_THUR", "POP_FRI", "POP_SAT"};

// The chooser reads each custom-colour value as hexadecimal when it opens; a
// value that is not stops the command before anything changes.
void checkCustomColorLines(const QStringList& lines) {
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        const QString value = eq < 0 ? QString() : line.mid(eq + 1);
        if (value.isEmpty()) continue;
        bool ok = false;
        value.toUInt(&ok, 16);
        if (!ok) throw CommandError(QStringLiteral("'%1' は有効な整数値ではありません").arg(value));
    }
}

}  // namespace

void TF_MAIN::setUpAppearanceFeature() {
    connectEntry("POP_BODY_C", &TF_MAIN::POP_TITLE_CClick);
    connectEntry("POP_SYOKI_IRO_RECOV", &TF_MAIN::POP_SYOKI_IRO_RECOVClick);
    for (const char* name : kWeekdayEntries) connectEntry(name, &TF_MAIN::POP_SUNClick);
    connectEntry("POP_RENAME", &TF_MAIN::POP_RENAMEClick);
    connectEntry("POP_SYUKKA_SIZE", &TF_MAIN::POP_SYUKKA_SIZEClick);
}

void TF_MAIN::POP_TITLE_CClick(QAction* sender) { AC_LIST_COLORExecute(sender); }

void TF_MAIN::AC_LIST_COLORExecute(QAction* sender) {
    // The window body is the only colour target the menu offers.
    if (!sender || sender->data().toInt() != kBodyColorTag) return;
    const QString file = m_paths.file(QStringLiteral("mkribodc.dat"));
    // 1. The chooser opens with the stored colour and custom colours.
    throwIfFailed(ReadColorFile(file, m_colorDialog));
    checkCustomColorLines(m_colorDialog.customColors);
    // 2.
    if (!dialogs().chooseColor(m_colorDialog)) return;
    // 3. Shown even if the file cannot be written.
    setBodyColor(colorFromValue(m_colorDialog.color));
    // 4.
    throwIfFailed(WriteColorFile(file, m_colorDialog));
    // 5.
    nudgeWidth();
}

void TF_MAIN::POP_SYOKI_IRO_RECOVClick() {
    if (dialogs().confirm(QStringLiteral("ｶﾚﾝﾀﾞｰの色を出荷時に戻しますか？"), true) != Answer::Yes) {
        return;
    }
    // Each file carries the chooser's current custom colours and options.
    const auto store = [this](const char16_t* name, quint32 value) {
        m_colorDialog.color = value;
        throwIfFailed(WriteColorFile(m_paths.file(QString::fromUtf16(name)), m_colorDialog));
    };
    m_calendar->setColor(MonthCalendar::TitleBackground, colorFromValue(kClActiveCaption));
    store(u"mkrittlc.dat", kClActiveCaption);
    m_calendar->setColor(MonthCalendar::Text, colorFromValue(kClWindowText));
    store(u"mkritexc.dat", kClWindowText);
    m_calendar->setColor(MonthCalendar::MonthBackground, colorFromValue(kClInfoBk));
    store(u"mkrimonc.dat", kClInfoBk);
    setBodyColor(colorFromValue(kClBtnFace));
    store(u"mkribodc.dat", kClBtnFace);
    nudgeWidth();
}

void TF_MAIN::POP_SUNClick(QAction* sender) {
    const int day = sender->data().toInt();  // 0 Monday .. 6 Sunday
    m_calendar->setFirstDayOfWeek(day);
    throwIfFailed(changeIniFile(Ini_File(), [day](IniFile& ini) {
        ini.writeInteger(QStringLiteral("FIRST_DAY"), QStringLiteral("0"), day);
    }));
}

void TF_MAIN::POP_RENAMEClick() {
    const std::optional<QString> name =
        dialogs().inputQuery(QStringLiteral("このソフトに愛称をつける"),
                             QStringLiteral("本名：") + applicationTitle(), windowTitle());
    if (!name) return;
    // Any text, the empty one included, is a nickname.
    throwIfFailed(changeIniFile(Ini_File(), [&](IniFile& ini) {
        ini.writeString(QStringLiteral("MY_NAME"), QStringLiteral("0"), *name);
    }));
    setWindowTitle(*name);
}

void TF_MAIN::POP_SYUKKA_SIZEClick() {
    const Answer answer = dialogs().confirm(
        QStringLiteral("当ソフトを出荷時のサイズ・位置に戻しますか？\n\n[画面外に隠れた場合などの対処用]"),
        true);
    // Only a Yes moves the window; closing the box is no consent.
    if (answer != Answer::Yes) return;
    // Stored at close, like any other geometry.
    setOuterBounds(QRect(kFactoryLeft, kFactoryTop, kFactoryWidth, kFactoryHeight));
}

}  // namespace mekuri
