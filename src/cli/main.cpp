// mekuri-cli: the program's libraries for scripting and for checking files
// without the window.
#include "cli/commands.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

const char* kUsage =
    "usage: mekuri-cli COMMAND ...\n"
    "\n"
    "  holidays check FILE                    check a holiday file\n"
    "  holidays generate YEAR [--out FILE]    write a holiday file for YEAR\n"
    "  holidays from-csv FILE --year YEAR [--out FILE]\n"
    "                                         turn the government's CSV into a holiday file\n"
    "  colorfile show FILE                    print a colour file\n"
    "  colorfile write FILE --color NAME|HEX  write a colour file\n"
    "  ini get FILE SECTION KEY               read a settings value\n"
    "  ini set FILE SECTION KEY VALUE         write a settings value\n"
    "  date format FMT_NAME YYYY-MM-DD        format a date\n"
    "  date parse TEXT                        read a date text\n"
    "  page --month YYYY-MM --out FILE [--dir DIR] [--divisor N]\n"
    "  page --year YYYY (--out-dir DIR | --out FILE.pdf) [--dir DIR]\n"
    "                                         render My Calendar pages\n"
    "\n"
    "exit codes: 0 done, 1 fault found, 2 usage\n";

}  // namespace

namespace mekuri::cli {
QString toolFolder() { return QCoreApplication::applicationDirPath(); }
}  // namespace mekuri::cli

int main(int argc, char** argv) {
    // Rendering pages needs fonts and a paint device, not a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    mekuri::cli::Io io{out, err};

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args[0] == QStringLiteral("--help") || args[0] == QStringLiteral("-h")) {
        (args.isEmpty() ? err : out) << kUsage;
        return args.isEmpty() ? 2 : 0;
    }
    const QString command = args.takeFirst();
    int code = 2;
    if (command == QStringLiteral("holidays")) code = mekuri::cli::runHolidays(args, io);
    else if (command == QStringLiteral("colorfile")) code = mekuri::cli::runColorFile(args, io);
    else if (command == QStringLiteral("ini")) code = mekuri::cli::runIni(args, io);
    else if (command == QStringLiteral("date")) code = mekuri::cli::runDate(args, io);
    else if (command == QStringLiteral("page")) code = mekuri::cli::runPage(args, io);
    else err << "mekuri-cli: unknown command '" << command << "'\n\n" << kUsage;
    out.flush();
    err.flush();
    return code;
}
