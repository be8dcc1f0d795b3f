#include "fuzz_target.h"

#include <cstdio>
#include <cstdlib>

namespace mekuri::fuzz {

void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

}  // namespace mekuri::fuzz
