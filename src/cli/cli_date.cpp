#include "cli/commands.h"

namespace mekuri::cli {

// Not built yet.
int runDate(const QStringList&, Io io) {
    io.err << "mekuri-cli: 'date' is not available in this build\n";
    return 2;
}

}  // namespace mekuri::cli
