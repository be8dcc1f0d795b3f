// Date readout, day counting and the date tools: the commands of this feature on the main window.
// Not built yet: set-up leaves its entries disabled and the handlers do nothing.
#include "app/tf_main.h"

namespace mekuri {

void TF_MAIN::setUpDatesFeature() {}

void TF_MAIN::TOOL_BAR_DATEClick() {}
void TF_MAIN::MonthCalendar1Click() {}
void TF_MAIN::POP_KAISHI_ADDClick() {}
void TF_MAIN::POP_TODAYClick() {}
void TF_MAIN::POP_SHITEIClick() {}
void TF_MAIN::POP_KEIKAClick() {}
void TF_MAIN::POP_HEISEIClick() {}
void TF_MAIN::POP_SYOUWAClick() {}
void TF_MAIN::POP_WASEIClick() {}
void TF_MAIN::POP_SEIWAClick() {}
void TF_MAIN::POP_COPY_WAREKIClick(QAction*) {}
void TF_MAIN::POP_EDIT_MNPopup() {}

}  // namespace mekuri
