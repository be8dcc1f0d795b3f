#include "app/application.h"

#include <cstdio>

namespace mekuri {

// The main window is not built yet: say so rather than pretend.
int runApplication(int, char**) {
    std::fprintf(stderr, "mekuri: the main window is not built yet\n");
    return 1;
}

}  // namespace mekuri
