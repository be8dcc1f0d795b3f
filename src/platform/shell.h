#pragma once

// Handing things to the desktop: starting a program (the self-restart) and
// opening a document with its associated program (the manual, the read-me).
// One interface, so tests can record launches instead of starting anything.

#include <QString>
#include <QStringList>

namespace mekuri {

class ShellLauncher {
public:
    virtual ~ShellLauncher() = default;

    // Starts program with args as a new, independent process and does not
    // wait for it. On failure returns false and sets *error (if given) to
    // the system's message.
    virtual bool startDetached(const QString& program, const QStringList& args,
                               QString* error) = 0;
    // Opens path with the program the desktop associates with it. On
    // failure returns false and sets *error (if given).
    virtual bool openDocument(const QString& path, QString* error) = 0;
};

// The launcher in use: the real desktop unless a test installed another.
ShellLauncher& shell();
// Installs a stand-in (not owned); nullptr returns to the real desktop.
void setShellForTesting(ShellLauncher* launcher);

}  // namespace mekuri
