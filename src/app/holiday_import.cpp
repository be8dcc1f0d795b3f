#include "app/holiday_import.h"

#include "holidays/holiday_csv.h"
#include "holidays/holiday_file_writer.h"
#include "settings/save_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mekuri {

namespace {

// Far beyond any holiday file; keeps a wrongly chosen huge file out of memory.
constexpr qint64 kMaxImportBytes = 16 * 1024 * 1024;

QString writtenFolder(const QString& path) { return QDir::cleanPath(QFileInfo(path).absolutePath()); }

// The folder holding path with every symbolic link resolved (the file's own
// link included); empty when nothing of it exists.
QString resolvedFolder(const QString& path) {
    const QFileInfo info(path);
    const QString file = info.canonicalFilePath();
    if (!file.isEmpty()) return QFileInfo(file).path();
    return QFileInfo(info.absolutePath()).canonicalFilePath();
}

bool sameText(const QString& a, const QString& b) {
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

QString importRefusalText(ImportRefusal refusal) {
    switch (refusal) {
    case ImportRefusal::None: return {};
    case ImportRefusal::SameFolder: return QStringLiteral("同じフォルダ内のファイルは指定できません");
    case ImportRefusal::CannotOpen:
        return QStringLiteral("ファイルが存在しないためインポート処理でエラーが発生しました");
    case ImportRefusal::NotHolidayFile:
        return QStringLiteral("指定したファイルは休日データ( horiday0.txt )ではありません！");
    }
    return {};
}

bool isInProgramFolder(const QString& chosenFile, const QString& programFolder) {
    const QString program = QDir::cleanPath(QDir(programFolder).absolutePath());
    if (sameText(writtenFolder(chosenFile), program)) return true;
    return sameText(resolvedFolder(chosenFile), QDir(programFolder).canonicalPath());
}

QList<QByteArray> splitByteLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.append(bytes.mid(start, i - start));
            if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) lines.append(bytes.mid(start));
    return lines;
}

bool hasHolidayMarker(const QList<QByteArray>& lines) {
    return lines.contains(QByteArrayLiteral("[HORIDAY]"));
}

ImportCheck checkImportFile(const QString& chosenFile, const AppPaths& paths) {
    ImportCheck check;
    if (isInProgramFolder(chosenFile, paths.appDir)) {
        check.refusal = ImportRefusal::SameFolder;
        return check;
    }
    QFile file(chosenFile);
    if (!QFileInfo(chosenFile).isFile() || !file.open(QIODevice::ReadOnly)) {
        check.refusal = ImportRefusal::CannotOpen;
        return check;
    }
    if (file.size() > kMaxImportBytes) {
        check.refusal = ImportRefusal::NotHolidayFile;
        return check;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        check.refusal = ImportRefusal::CannotOpen;
        return check;
    }
    file.close();
    check.lines = splitByteLines(bytes);
    if (!hasHolidayMarker(check.lines)) {
        check.lines.clear();
        if (looksLikeHolidayCsv(bytes)) {
            check.governmentList = true;
            check.bytes = bytes;
        } else {
            check.refusal = ImportRefusal::NotHolidayFile;
        }
    }
    return check;
}

Expected<QList<QByteArray>> holidayLinesFromGovernmentList(const QByteArray& bytes, int year) {
    const Expected<HolidayCsv> csv = parseHolidayCsv(bytes);
    if (!csv.ok()) return Error{csv.error()};
    const Expected<std::vector<Holiday>> holidays = holidaysOfYear(csv.value(), year);
    if (!holidays.ok()) return Error{holidays.error()};
    const Expected<QByteArray> file = holidayFileBytes(year, holidays.value());
    if (!file.ok()) return Error{file.error()};
    return splitByteLines(file.value());
}

QByteArray importedFileBytes(const QList<QByteArray>& lines) {
    QByteArray out;
    for (const QByteArray& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

Status writeImportedFactoryFile(const QList<QByteArray>& lines, const AppPaths& paths) {
    return writeFileAtomic(paths.file(QStringLiteral("horiday0.txt")), importedFileBytes(lines));
}

Status copyFactoryOverWorking(const AppPaths& paths) {
    return copyFileAtomic(paths.file(QStringLiteral("horiday0.txt")),
                          paths.file(QStringLiteral("horiday.txt")));
}

}  // namespace mekuri
