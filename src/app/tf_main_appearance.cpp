// Calendar colours, week start, nickname and window reset: the commands of this feature on the main window.
// Not built yet: set-up leaves its entries disabled and the handlers do nothing.
#include "app/tf_main.h"

namespace mekuri {

void TF_MAIN::setUpAppearanceFeature() {}

void TF_MAIN::POP_TITLE_CClick(QAction*) {}
void TF_MAIN::AC_LIST_COLORExecute(QAction*) {}
void TF_MAIN::POP_SYOKI_IRO_RECOVClick() {}
void TF_MAIN::POP_SUNClick(QAction*) {}
void TF_MAIN::POP_RENAMEClick() {}
void TF_MAIN::POP_SYUKKA_SIZEClick() {}

}  // namespace mekuri
