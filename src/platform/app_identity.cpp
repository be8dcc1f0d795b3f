#include "platform/app_identity.h"

#include <QGuiApplication>

#ifdef Q_OS_WIN
#include <QOperatingSystemVersion>

#include <windows.h>
#endif

namespace mekuri {

void declareApplicationIdentity(const QString& identifier) {
#ifdef Q_OS_WIN
    // Only Windows 6.1 and later know the call; look it up at run time so the
    // program still starts where shell32 lacks it.
    if (QOperatingSystemVersion::current() < QOperatingSystemVersion::Windows7) return;
    using SetId = HRESULT(WINAPI*)(PCWSTR);
    if (HMODULE shell32 = ::LoadLibraryW(L"shell32.dll")) {
        if (auto set = reinterpret_cast<SetId>(
                ::GetProcAddress(shell32, "SetCurrentProcessExplicitAppUserModelID"))) {
            set(reinterpret_cast<PCWSTR>(identifier.utf16()));
        }
    }
#else
    QGuiApplication::setDesktopFileName(identifier);
#endif
}

}  // namespace mekuri
