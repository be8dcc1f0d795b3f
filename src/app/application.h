#pragma once

namespace mekuri {

// The whole program run; returns the process exit code.
int runApplication(int argc, char** argv);

}  // namespace mekuri
