#pragma once

// mekuri-cli holidays generate / from-csv: a year's holiday file, worked out
// from the holiday law or taken from the Cabinet Office's CSV. Written to
// --out FILE (atomically) or, without it, as the file's bytes to stdout.

#include "cli/commands.h"

namespace mekuri::cli {

// args: the words after "generate": YEAR [--out FILE].
int runHolidaysGenerate(const QStringList& args, Io io);
// args: the words after "from-csv": FILE --year YEAR [--out FILE].
int runHolidaysFromCsv(const QStringList& args, Io io);

}  // namespace mekuri::cli
