#pragma once

// The application identifier ("HarukazeSoft.mekuri.s.370") declared to the
// desktop, so the taskbar groups the program's windows under one entry. On
// Windows 7 (6.1) and later it is the process's explicit AppUserModelID; on
// other desktops it is the desktop file name (the Wayland app id / the X11
// window class hint the desktop matches against a .desktop file).

#include <QString>

namespace mekuri {

void declareApplicationIdentity(const QString& identifier);

}  // namespace mekuri
