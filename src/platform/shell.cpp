#include "platform/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QUrl>

namespace mekuri {

namespace {

class DesktopShell : public ShellLauncher {
public:
    bool startDetached(const QString& program, const QStringList& args,
                       QString* error) override {
        QProcess process;
        process.setProgram(program);
        process.setArguments(args);
        if (process.startDetached()) return true;
        if (error) *error = process.errorString();
        return false;
    }

    bool openDocument(const QString& path, QString* error) override {
        if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return true;
        // The desktop gives no reason; name the file at least.
        if (error) {
            *error = QDir::toNativeSeparators(path) + QStringLiteral(" を開けませんでした");
        }
        return false;
    }
};

ShellLauncher* g_override = nullptr;

}  // namespace

ShellLauncher& shell() {
    if (g_override) return *g_override;
    static DesktopShell real;
    return real;
}

void setShellForTesting(ShellLauncher* launcher) { g_override = launcher; }

}  // namespace mekuri
