#pragma once

#include <QString>

namespace mekuri {

// The program folder: every file of the program lives there.
// appDir always ends in exactly one native separator ("\" on Windows, "/"
// elsewhere).
struct AppPaths {
    QString appDir;

    // From the running executable's folder.
    static AppPaths fromExecutable();
    // From any folder (tests use temporary program folders).
    static AppPaths fromFolder(const QString& folder);

    QString file(const QString& name) const { return appDir + name; }
    // Ini_File: the settings file.
    QString iniFile() const { return appDir + QStringLiteral("mkri.ini"); }
};

}  // namespace mekuri
