#include "app/bookmark_store.h"

namespace mekuri {

namespace {

QString threeDigits(int value) { return QString::number(value).rightJustified(3, u'0'); }

}  // namespace

QString bookmarkTitleKey(int position) { return threeDigits(100 + position); }

QString bookmarkDateKey(int position) { return threeDigits(200 + position); }

QVector<Bookmark> loadBookmarks(const IniFile& ini) {
    const QStringList lines = ini.sectionLines(kBookmarkSection);
    QVector<Bookmark> bookmarks;
    // Only complete pairs count: a dangling title has no date to jump to.
    for (qsizetype i = 0; i < kMaxBookmarks && 2 * i + 1 < lines.size(); ++i) {
        bookmarks.append({lines[2 * i].mid(4), lines[2 * i + 1].mid(4)});
    }
    return bookmarks;
}

void addBookmark(IniFile& ini, int position, const Bookmark& bookmark) {
    ini.writeString(kBookmarkSection, bookmarkTitleKey(position), bookmark.title);
    ini.writeString(kBookmarkSection, bookmarkDateKey(position), bookmark.dateText);
}

void redateBookmark(IniFile& ini, int position, const QString& dateText) {
    ini.writeString(kBookmarkSection, bookmarkDateKey(position), dateText);
}

void renameBookmark(IniFile& ini, int position, const QString& title) {
    ini.writeString(kBookmarkSection, bookmarkTitleKey(position), title);
}

void deleteBookmark(IniFile& ini, int position, int count) {
    for (int j = position; j <= count; ++j) {
        ini.deleteKey(kBookmarkSection, bookmarkTitleKey(j));
        ini.deleteKey(kBookmarkSection, bookmarkDateKey(j));
        const QString title = ini.readString(kBookmarkSection, bookmarkTitleKey(j + 1), QString());
        const QString date = ini.readString(kBookmarkSection, bookmarkDateKey(j + 1), QString());
        if (title.isEmpty()) break;
        // The deleted keys are gone, so these go to the end of the section.
        ini.writeString(kBookmarkSection, bookmarkTitleKey(j), title);
        ini.writeString(kBookmarkSection, bookmarkDateKey(j), date);
    }
}

}  // namespace mekuri
