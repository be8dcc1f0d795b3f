#pragma once

// Atomic replacement of a file: the bytes go to a temporary file in the same
// folder, which then replaces the target in one rename. A crash, a full disk
// or a killed process leaves either the complete old or the complete new file.

#include "settings/expected.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace mekuri {

// Writes bytes to path atomically. Fails (leaving path untouched) when the
// folder or an existing read-only target cannot be written, or on any I/O
// error; the error text names the file and the reason, in Japanese.
Status writeFileAtomic(const QString& path, const QByteArray& bytes);

// Copies the bytes of source over target atomically.
Status copyFileAtomic(const QString& source, const QString& target);

// Test hook: called just before the temporary file replaces the target;
// returning false makes that commit fail as a full disk would.
void setCommitHookForTesting(std::function<bool(const QString& path)> hook);

}  // namespace mekuri
