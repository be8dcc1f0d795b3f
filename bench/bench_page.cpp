#include "bench_page.h"

#include "holidays/holiday_table.h"
#include "mycal/page_picture.h"
#include "platform/printer.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace mekuri::bench {

namespace {

long statusKb(const char* key) {
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith(key)) return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

}  // namespace

QString pictureFile(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("写真.jpg"));
}

PageInputs benchPage(const QString& programFolder, bool withPicture) {
    PageInputs inputs;
    inputs.displayedDate = QDate(2027, 5, 12);
    inputs.fontFamily = printerFontFamilies().value(0);
    inputs.anniversaries = {QStringLiteral("2020/05/03"), QStringLiteral("2019/05/21"),
                            QStringLiteral("2001/05/30")};
    const HolidayLoad holidays = loadHolidayFile(QDir(programFolder).filePath(QStringLiteral("horiday.txt")));
    setHolidays(inputs, holidays.table);
    if (withPicture) {
        Expected<QImage> picture = decodeJpegFile(pictureFile(programFolder), false);
        if (!picture) throw std::runtime_error(picture.error().toStdString());
        inputs.picture = picture.value();
    }
    return inputs;
}

long peakResidentKb() { return statusKb("VmHWM:"); }
long residentKb() { return statusKb("VmRSS:"); }

void resetPeakResident() {
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    if (file.open(QIODevice::WriteOnly)) file.write("5");
}

}  // namespace mekuri::bench
