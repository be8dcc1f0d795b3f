#pragma once

// Reports the first paint of the process's main window: once a widget of a
// shown window has had its first paint event (the whole window paints in
// that one pass), a line "painted" goes to standard output and the process
// ends at once, so the parent that started it can time process start to
// first paint. Installed by a Qt start-up function, so the program's own
// entry runs unchanged.

namespace mekuri::bench {

void installFirstPaintProbe();

}  // namespace mekuri::bench
