#include "cli/commands.h"

#include "settings/color_file.h"

namespace mekuri::cli {

namespace {

const char* kColorFileUsage =
    "usage: mekuri-cli colorfile show FILE\n"
    "       mekuri-cli colorfile write FILE --color NAME|HEX\n"
    "\n"
    "  NAME is a colour identifier such as clRed or clBtnFace (any letter case);\n"
    "  HEX is the 32-bit value 00BBGGRR (or FF0000nn for a system colour), 1 to 8\n"
    "  hex digits with an optional 0x. write makes a fresh chooser state: that\n"
    "  colour, no custom colours, the program's options and position.\n";

QString hexValue(quint32 value) {
    return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<quint32> parseColorArgument(const QString& text) {
    if (const std::optional<quint32> named = colorFromIdentifier(text)) return named;
    QString digits = text;
    if (digits.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) digits = digits.mid(2);
    if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
    for (QChar c : digits) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))) {
            return std::nullopt;
        }
    }
    return digits.toUInt(nullptr, 16);
}

int show(const QString& path, Io io) {
    ColorDialogState state;
    const Status read = ReadColorFile(path, state);
    if (!read.ok()) {
        io.err << read.error() << '\n';
        return 1;
    }
    const std::optional<QString> id = colorIdentifier(state.color);
    io.out << "Color: " << (id ? *id + QStringLiteral(" (") + hexValue(state.color) + u')' : hexValue(state.color))
           << '\n';
    if (state.customColors.isEmpty()) {
        io.out << "CustomColors: none\n";
    } else {
        io.out << "CustomColors: " << state.customColors.size() << " lines\n";
        for (const QString& line : state.customColors) io.out << "  " << line << '\n';
    }
    io.out << "Options: " << (state.options.isEmpty() ? QStringLiteral("none") : state.options.join(u' ')) << '\n';
    io.out << "Position: " << state.left << ", " << state.top << '\n';
    return 0;
}

int write(const QString& path, const QString& colorText, Io io) {
    const std::optional<quint32> color = parseColorArgument(colorText);
    if (!color) {
        io.err << "mekuri-cli: '" << colorText << "' is neither a colour identifier nor a hex value\n\n"
               << kColorFileUsage;
        return 2;
    }
    ColorDialogState state;
    state.color = *color;
    const Status written = WriteColorFile(path, state);
    if (!written.ok()) {
        io.err << written.error() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace

int runColorFile(const QStringList& args, Io io) {
    if (args.size() == 2 && args[0] == QStringLiteral("show")) return show(args[1], io);
    if (args.size() == 4 && args[0] == QStringLiteral("write") && args[2] == QStringLiteral("--color")) {
        return write(args[1], args[3], io);
    }
    io.err << kColorFileUsage;
    return 2;
}

}  // namespace mekuri::cli
