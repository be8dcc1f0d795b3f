#pragma once

// The My Calendar page the page benchmarks draw: May 2027 with the default
// settings, the program folder's holidays, three anniversaries and, when
// asked, the folder's 24-megapixel picture "写真.jpg".

#include "mycal/page_layout.h"

#include <QString>

namespace mekuri::bench {

// The picture file of the program folder (6000 x 4000).
QString pictureFile(const QString& programFolder);

PageInputs benchPage(const QString& programFolder, bool withPicture);

// Peak and current resident set of this process, kilobytes (VmHWM, VmRSS).
long peakResidentKb();
long residentKb();
// Starts a new peak: VmHWM falls back to the current resident set.
void resetPeakResident();

}  // namespace mekuri::bench
