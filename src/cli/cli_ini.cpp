#include "cli/commands.h"

#include "settings/ini_file.h"

namespace mekuri::cli {

int runIni(const QStringList& args, Io io) {
    const QString usage = QStringLiteral(
        "usage: mekuri-cli ini get FILE SECTION KEY\n"
        "       mekuri-cli ini set FILE SECTION KEY VALUE\n");
    if (args.size() == 4 && args[0] == QStringLiteral("get")) {
        Expected<IniFile> ini = IniFile::load(args[1]);
        if (!ini.ok()) {
            io.err << ini.error() << '\n';
            return 1;
        }
        const std::optional<QString> value = ini->value(args[2], args[3]);
        if (!value) {
            io.err << "mekuri-cli: no key " << args[3] << " in section " << args[2] << '\n';
            return 1;
        }
        io.out << *value << '\n';
        return 0;
    }
    if (args.size() == 5 && args[0] == QStringLiteral("set")) {
        const Status saved = changeIniFile(args[1], [&](IniFile& ini) {
            ini.writeString(args[2], args[3], args[4]);
        });
        if (!saved.ok()) {
            io.err << saved.error() << '\n';
            return 1;
        }
        return 0;
    }
    io.err << usage;
    return 2;
}

}  // namespace mekuri::cli
