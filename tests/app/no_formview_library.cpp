// A shared library that looks like the version library but lacks its entry
// point, so the version window's second warning can be tested.
extern "C" int AboutWindowWithoutEntryPoint() { return 370; }
