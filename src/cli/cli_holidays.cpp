#include "cli/commands.h"

namespace mekuri::cli {

// Not built yet.
int runHolidays(const QStringList&, Io io) {
    io.err << "mekuri-cli: 'holidays' is not available in this build\n";
    return 2;
}

}  // namespace mekuri::cli
