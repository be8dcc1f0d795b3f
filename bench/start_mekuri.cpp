// The program's own entry, started from a program folder by the benchmark;
// the first paint probe linked in ends it at the main window's first paint.
#include "app/application.h"

int main(int argc, char** argv) { return mekuri::runApplication(argc, argv); }
