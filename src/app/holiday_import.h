#pragma once

// Importing a newer holiday file ("ﾌｧｲﾙを指定して休日を最新にする") without
// windows: the checks that may refuse the chosen file, and the two copies.
//
// The factory file "horiday0.txt" is written to a temporary file and replaces
// the old one only when complete, so a failure part-way never leaves the
// program without its factory holidays.

#include "settings/app_paths.h"
#include "settings/expected.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace mekuri {

enum class ImportRefusal {
    None,
    SameFolder,      // the chosen file lies in the program folder
    CannotOpen,      // the chosen file cannot be opened
    NotHolidayFile,  // no line is exactly "[HORIDAY]"
};

// The warning shown for a refusal (empty for None).
QString importRefusalText(ImportRefusal refusal);

struct ImportCheck {
    ImportRefusal refusal = ImportRefusal::None;
    // The chosen file's lines without their line breaks, when not refused.
    QList<QByteArray> lines;
    // Not a holiday file but the government's list of national holidays
    // (holidays/holiday_csv.h): refusal stays None and bytes holds the file,
    // from which the holidays of one year can be taken.
    bool governmentList = false;
    QByteArray bytes;
};

// Whether chosenFile lies in programFolder: the two folders compared without
// regard to letter case, both as written (made absolute, "." and ".."
// resolved) and with symbolic links resolved.
bool isInProgramFolder(const QString& chosenFile, const QString& programFolder);

// Splits at CR LF, LF or CR; a final line break does not open an empty line.
// Works on the bytes: in CP932 the bytes CR and LF never occur inside a
// character, and keeping the bytes keeps stray ones unchanged too.
QList<QByteArray> splitByteLines(const QByteArray& bytes);

// Whether some line is exactly "[HORIDAY]": same case, nothing around it.
bool hasHolidayMarker(const QList<QByteArray>& lines);

// The refusals in order: same folder, cannot open, no marker (unless the
// file is the government's list).
ImportCheck checkImportFile(const QString& chosenFile, const AppPaths& paths);

// The lines of a holiday file for year, made from the government's list;
// the error names what is wrong with the list or which years it holds.
Expected<QList<QByteArray>> holidayLinesFromGovernmentList(const QByteArray& bytes, int year);

// Every line followed by CR LF, the last one included.
QByteArray importedFileBytes(const QList<QByteArray>& lines);

// Replaces "horiday0.txt" with the lines atomically; on failure the old file
// is intact and the error says why.
Status writeImportedFactoryFile(const QList<QByteArray>& lines, const AppPaths& paths);

// Copies "horiday0.txt" over "horiday.txt" atomically.
Status copyFactoryOverWorking(const AppPaths& paths);

}  // namespace mekuri
