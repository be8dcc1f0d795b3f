#pragma once

// The version window (POP_VERClick): the maker's version library is loaded
// only for the moment of showing it, then unloaded again.

#include <QString>

class QWidget;

namespace mekuri {

// The library's file name on this platform: "aboutwin.dll" on Windows,
// "libaboutwin.so" elsewhere. The warnings name it.
QString versionLibraryFileName();

// The three texts handed to FormView.
QString versionProductLine();  // "製品名　" + the application title
QString versionText();         // "３．７０"
QString versionYears();        // "2000-2019"

// Loads the library at libraryPath, calls FormView with owner's window
// handle and the version texts, waits for it, and unloads. A library that
// cannot be loaded gives the warning "<file name> が見つかりません", one
// without FormView "DLL内の関数が見つかりません"; both leave everything as it was.
void showVersionWindow(QWidget* owner, const QString& libraryPath);

}  // namespace mekuri
