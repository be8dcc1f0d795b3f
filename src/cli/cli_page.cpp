#include "cli/commands.h"

namespace mekuri::cli {

// Not built yet.
int runPage(const QStringList&, Io io) {
    io.err << "mekuri-cli: 'page' is not available in this build\n";
    return 2;
}

}  // namespace mekuri::cli
