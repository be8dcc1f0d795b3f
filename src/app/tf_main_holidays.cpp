// Holiday maintenance, self-restart, help and version: the commands of this feature on the main window.
// Not built yet: set-up leaves its entries disabled and the handlers do nothing.
#include "app/tf_main.h"

namespace mekuri {

void TF_MAIN::setUpHolidaysFeature() {}

void TF_MAIN::POP_KYUJITSUClick() {}
void TF_MAIN::POP_KYUJITSU_RECOVClick() {}
void TF_MAIN::MN_IMPORT_HORIClick() {}
void TF_MAIN::RestartProgram() {}
void TF_MAIN::OpenAppDirFile(const QString&) {}
void TF_MAIN::POP_HELPClick() {}
void TF_MAIN::POP_READMEClick() {}
void TF_MAIN::POP_VERClick() {}

}  // namespace mekuri
