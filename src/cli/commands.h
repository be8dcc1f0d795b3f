#pragma once

// mekuri-cli subcommands. Each takes the words after its own name and
// returns the exit code: 0 done, 1 a fault was found (or the input was not
// accepted), 2 usage.

#include <QStringList>
#include <QTextStream>

namespace mekuri::cli {

struct Io {
    QTextStream& out;
    QTextStream& err;
};

int runHolidays(const QStringList& args, Io io);   // holidays check|generate|from-csv
int runColorFile(const QStringList& args, Io io);  // colorfile show|write
int runIni(const QStringList& args, Io io);        // ini get|set
int runDate(const QStringList& args, Io io);       // date format|parse
int runPage(const QStringList& args, Io io);       // page --month|--year ...

// The folder of the tool itself, the default program folder.
QString toolFolder();

}  // namespace mekuri::cli
