#include "cli/commands.h"

namespace mekuri::cli {

// Not built yet.
int runColorFile(const QStringList&, Io io) {
    io.err << "mekuri-cli: 'colorfile' is not available in this build\n";
    return 2;
}

}  // namespace mekuri::cli
