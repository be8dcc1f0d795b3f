#pragma once

// Colour files ("mkrittlc.dat", "mkritexc.dat", "mkrimonc.dat", "mkribodc.dat",
// "mkrikinc.dat"): the colour chooser's whole state serialised as a component
// stream ("TPF0") inside a 16-bit resource header (FF, type 000A,
// "TCOLORDIALOG\0", flags 1030, length). The 32-bit resource-file form with
// its 32-byte empty entry is accepted on reading.

#include "settings/expected.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace mekuri {

// The state of the colour chooser ColorDialog1, shared by all colour files.
struct ColorDialogState {
    // 00BBGGRR direct colour, FF0000nn system colour, 1FFFFFFF none,
    // 20000000 default. 0 when nothing has set it.
    quint32 color = 0;
    // Empty at first; after the chooser was confirmed, sixteen lines
    // "ColorA=xxxxxx" .. "ColorP=xxxxxx" (at least six upper-case hex digits,
    // FFFFFFFF for an empty slot).
    QStringList customColors;
    // Option names that are on, in stream order.
    QStringList options{QStringLiteral("cdFullOpen"), QStringLiteral("cdPreventFullOpen")};
    int left = 136;  // designer position, serialised but without effect
    int top = 184;

    bool operator==(const ColorDialogState&) const = default;
};

// The 52 colour identifiers: value to identifier and back (case-insensitive).
std::optional<QString> colorIdentifier(quint32 value);
std::optional<quint32> colorFromIdentifier(const QString& identifier);

// The serialised bytes of a state (header, stream, tagged values).
QByteArray serializeColorFile(const ColorDialogState& state);

// Reads bytes into state. A stream without "Color" means colour 0 (black):
// each colour target gets its own file's colour rather than the one read
// before it. Custom colours, options and position absent from the stream keep
// what state held. On any error state is left exactly as it was.
Status parseColorFile(const QByteArray& bytes, ColorDialogState& state);

// ReadColorFile / WriteColorFile over a path (the write is atomic).
Status ReadColorFile(const QString& path, ColorDialogState& state);
Status WriteColorFile(const QString& path, const ColorDialogState& state);

}  // namespace mekuri
