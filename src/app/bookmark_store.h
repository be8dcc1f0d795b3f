#pragma once

// The bookmarks of the section SHIORI_DAY in the settings file, as plain
// functions over an IniFile so the key rules can be tested without windows.
//
// Bookmark k (1 to 10) is the pair of keys 100 + k (title) and 200 + k (date
// text in FMT_SEIREKI), written as three digits. The lines stand in position
// order, each title line directly followed by its date line; loading relies
// on that order only, never on the keys.

#include "settings/ini_file.h"

#include <QString>
#include <QVector>

namespace mekuri {

inline constexpr int kMaxBookmarks = 10;
inline const QString kBookmarkSection = QStringLiteral("SHIORI_DAY");

struct Bookmark {
    QString title;
    QString dateText;

    bool operator==(const Bookmark&) const = default;
};

// "101".."110" and "201".."210" for positions 1..10.
QString bookmarkTitleKey(int position);
QString bookmarkDateKey(int position);

// The bookmarks in file order: lines 2i and 2i+1 of the section, each with
// its first four characters (key and "=") dropped, at most ten pairs. A last
// title line without its date line (only possible in a hand-edited file) is
// ignored; lines after the tenth pair are ignored.
QVector<Bookmark> loadBookmarks(const IniFile& ini);

// Adds bookmark position (the count before adding + 1): writes the title key,
// then the date key.
void addBookmark(IniFile& ini, int position, const Bookmark& bookmark);

// Re-dates bookmark position: writes only its date key.
void redateBookmark(IniFile& ini, int position, const QString& dateText);

// Renames bookmark position: writes only its title key.
void renameBookmark(IniFile& ini, int position, const QString& title);

// Deletes bookmark position of count: for j = position..count the keys of j
// go, and j + 1's title and date are written as j (appended at the end of the
// section, so the lines again stand in position order); stops at the first
// absent or empty title.
void deleteBookmark(IniFile& ini, int position, int count);

}  // namespace mekuri
