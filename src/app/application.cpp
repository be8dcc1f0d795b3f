#include "app/application.h"

#include "app/tf_main.h"
#include "platform/fonts.h"
#include "settings/app_paths.h"

#include <QApplication>

namespace mekuri {

int runApplication(int argc, char** argv) {
    // The windows are laid out in pixels for 96 dpi; the program does not
    // scale to the screen's pixel density.
    if (!qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING")) {
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    }
    QApplication app(argc, argv);
    // The application title (applicationTitle(), platform/dialogs.h) captions
    // every message box. It is not set as Qt's display name, which some
    // desktops would append to the window caption (the nickname).
    QApplication::setApplicationName(QStringLiteral("mekuri"));
    installFontSubstitutions();

    TF_MAIN F_MAIN(AppPaths::fromExecutable());

    // The automatic restore after a faulty holiday file asked to end: the
    // program ends before its event loop runs, without FormCloseQuery.
    if (F_MAIN.quitRequested()) return 0;

    F_MAIN.show();
    return app.exec();
}

}  // namespace mekuri
