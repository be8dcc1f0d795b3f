// My Calendar: the edit menu's "マイカレンダー作成..." opens the settings
// window F_PV_SET, which lives hidden from program start until the end.
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
    // Tests build the main window without the program entry's hook.
    createMyCalendarSettingsWindow();
    m_pvSet->prepareOpening(MonthCalendar1()->selectedDate());
    const int result = m_pvSet->exec();
    // The closing writes are reported on their own, so "ソフト終了" still ends
    // the program when one of them failed.
    runCommand([this] { m_pvSet->finishClosing(); });
    if (result == TF_PV_SET::mrSoftEnd) close();
}

}  // namespace mekuri
