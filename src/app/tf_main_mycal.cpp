// My Calendar: the commands of this feature on the main window.
// Not built yet: set-up leaves its entries disabled and the handlers do nothing.
#include "app/tf_main.h"

namespace mekuri {

void TF_MAIN::setUpMyCalFeature() {}

// Hook for the hidden settings window F_PV_SET, created by the program entry
// right after F_MAIN; nothing to create until that window exists.
void TF_MAIN::createMyCalendarSettingsWindow() {}

void TF_MAIN::POP_MYCALENClick() {}

}  // namespace mekuri
