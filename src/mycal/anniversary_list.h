#pragma once

// The anniversary list "mkrikils.txt": one date text per line (FMT_KINEN or
// FMT_SHORT), in the legacy code page, every line ending in CR LF, the last
// too; an empty list is an empty file. Reading honours a byte-order mark.

#include "settings/expected.h"

#include <QString>
#include <QStringList>

namespace mekuri {

inline constexpr int kMaxAnniversaries = 100;

// The lines of the file in file order. Blank lines are left out: a stray
// empty line (an editor's final newline) is no date and would stop every
// page build. A missing or unreadable file is an error.
Expected<QStringList> loadAnniversaryList(const QString& path);

// The bytes the list is saved as.
QByteArray anniversaryListBytes(const QStringList& lines);

// Writes the list atomically (the old file stays whole on failure).
Status saveAnniversaryList(const QString& path, const QStringList& lines);

}  // namespace mekuri
