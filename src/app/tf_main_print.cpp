// Printing the calendar as shown: the commands of this feature on the main window.
// Not built yet: set-up leaves its entries disabled and the handlers do nothing.
#include "app/tf_main.h"

namespace mekuri {

void TF_MAIN::setUpPrintFeature() {}

void TF_MAIN::POP_PRINTClick() {}

}  // namespace mekuri
