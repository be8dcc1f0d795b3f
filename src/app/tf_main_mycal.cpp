// My Calendar: the edit menu's "マイカレンダー作成..." opens the settings
// window F_PV_SET, which lives hidden from its first opening until the end,
// so its controls keep their state between openings. It reads nothing when
// built, so building it at the first opening rather than at start-up (where
// it cost a twentieth of the time to the first paint) changes nothing else.
#include "app/tf_main.h"

#include "app/tf_splash.h"
#include "mycal/tf_pv_set.h"
#include "platform/command_guard.h"
#include "platform/month_calendar.h"

namespace mekuri {

void TF_MAIN::setUpMyCalFeature() { connectEntry("POP_MYCALEN", &TF_MAIN::POP_MYCALENClick); }

void TF_MAIN::createMyCalendarSettingsWindow() {
    if (m_pvSet) return;
    m_pvSet = new TF_PV_SET(m_paths, m_colorDialog, m_holidayTable, this);
    m_pvSet->setPleaseWait([](QWidget* owner) { TF_SPLASH::showFor(owner); });
}

void TF_MAIN::POP_MYCALENClick() {
    createMyCalendarSettingsWindow();
    m_pvSet->prepareOpening(MonthCalendar1()->selectedDate());
    const int result = m_pvSet->exec();
    // The closing writes are reported on their own, so "ソフト終了" still ends
    // the program when one of them failed.
    runCommand([this] { m_pvSet->finishClosing(); });
    if (result == TF_PV_SET::mrSoftEnd) close();
}

}  // namespace mekuri
