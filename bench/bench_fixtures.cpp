#include "bench_fixtures.h"

#include "bench_util.h"
#include "settings/ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <stdexcept>

namespace mekuri::bench {

namespace {

void copyFile(const QString& from, const QString& to) {
    QFile::remove(to);
    if (!QFile::copy(from, to)) {
        throw std::runtime_error("cannot copy " + from.toStdString() + " to " + to.toStdString());
    }
}

}  // namespace

void writeFullSettingsFile(const QString& folder) {
    IniFile ini;
    ini.writeBool(QStringLiteral("KAISHI_ADD"), QStringLiteral("0"), true);
    ini.writeInteger(QStringLiteral("Form"), QStringLiteral("LEFT"), 24);
    ini.writeInteger(QStringLiteral("Form"), QStringLiteral("TOP"), 24);
    ini.writeInteger(QStringLiteral("Form"), QStringLiteral("WIDTH"), 253);
    ini.writeInteger(QStringLiteral("Form"), QStringLiteral("HEIGHT"), 306);
    ini.writeInteger(QStringLiteral("Form"), QStringLiteral("STATE"), 0);
    ini.writeString(QStringLiteral("MY_NAME"), QStringLiteral("0"), QStringLiteral("わたしのカレンダー"));
    for (int k = 1; k <= 10; ++k) {
        ini.writeString(QStringLiteral("SHIORI_DAY"), QString::number(100 + k),
                        QStringLiteral("しおり%1 誕生日").arg(k));
        ini.writeString(QStringLiteral("SHIORI_DAY"), QString::number(200 + k),
                        QStringLiteral("2027/%1/%2").arg(k).arg(k + 10));
    }
    ini.writeInteger(QStringLiteral("FIRST_DAY"), QStringLiteral("0"), 6);
    ini.writeBool(QStringLiteral("MENU"), QStringLiteral("0"), true);
    const QString settei = QStringLiteral("SETTEI");
    ini.writeBool(settei, QStringLiteral("Disp"), true);
    ini.writeBool(settei, QStringLiteral("Frame"), true);
    ini.writeInteger(settei, QStringLiteral("J_GASITU"), 0);
    ini.writeBool(settei, QStringLiteral("KinenOn"), true);
    ini.writeInteger(settei, QStringLiteral("Youbi"), 0);
    ini.writeString(settei, QStringLiteral("Picture"), QDir(folder).filePath(QStringLiteral("写真.jpg")));
    ini.writeInteger(settei, QStringLiteral("Gyokan"), 4);
    ini.writeInteger(settei, QStringLiteral("Hiritu"), 100);
    ini.writeInteger(settei, QStringLiteral("Modal_L"), 24);
    ini.writeInteger(settei, QStringLiteral("Modal_T"), 24);
    ini.writeInteger(settei, QStringLiteral("Modal_W"), 1083);
    ini.writeInteger(settei, QStringLiteral("Modal_H"), 650);
    ini.writeInteger(settei, QStringLiteral("Mojikan"), 27);
    ini.writeFloat(settei, QStringLiteral("ZOOM_Hi"), 0.5);
    ini.writeInteger(settei, QStringLiteral("Syuku"), 3);
    ini.writeInteger(settei, QStringLiteral("Pic_K"), 0);
    ini.writeInteger(QStringLiteral("Font"), QStringLiteral("Name"), 0);
    ini.writeInteger(QStringLiteral("Font"), QStringLiteral("Size"), 13);
    ini.writeInteger(QStringLiteral("YOHAKU"), QStringLiteral("Left"), 17);
    ini.writeInteger(QStringLiteral("YOHAKU"), QStringLiteral("Top"), 20);
    const Status saved = ini.save(QDir(folder).filePath(QStringLiteral("mkri.ini")));
    if (!saved.ok()) throw std::runtime_error("cannot write the settings file: " + saved.error().toStdString());
}

void makeProgramFolder(const QString& folder) {
    const QDir program(QStringLiteral(MEKURI_PROGRAM_DIR));
    const QStringList shipped = program.entryList(
        {QStringLiteral("*.txt"), QStringLiteral("*.dat"), QStringLiteral("*.html"), QStringLiteral("*.so"),
         QStringLiteral("*.dll")},
        QDir::Files);
    if (!shipped.contains(QStringLiteral("horiday.txt"))) {
        throw std::runtime_error("the build's program folder has no shipped files: " + program.path().toStdString());
    }
    for (const QString& name : shipped) copyFile(program.filePath(name), QDir(folder).filePath(name));
    writeFullSettingsFile(folder);
    // The picture the settings name: a 24-megapixel photo.
    makeJpegFile(QDir(folder).filePath(QStringLiteral("写真.jpg")), 6000, 4000);
}

QImage makePhotoLikeImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull()) throw std::runtime_error("no memory for the test picture");
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 28) - 8;  // [-8, 7]
            row[3 * x + 0] = uchar(qBound(0, x * 255 / width + noise, 255));
            row[3 * x + 1] = uchar(qBound(0, y * 255 / height + noise, 255));
            row[3 * x + 2] = uchar(qBound(0, ((x / 97 + y / 61) % 7) * 36 + noise, 255));
        }
    }
    return image;
}

void writePpm(const QString& path, const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write " + path.toStdString());
    file.write(QStringLiteral("P6\n%1 %2\n255\n").arg(image.width()).arg(image.height()).toLatin1());
    for (int y = 0; y < image.height(); ++y) {
        file.write(reinterpret_cast<const char*>(image.constScanLine(y)), qint64(image.width()) * 3);
    }
    if (!file.flush()) throw std::runtime_error("cannot write " + path.toStdString());
}

void makeJpegFile(const QString& path, int width, int height) {
    const QString ppm = path + QStringLiteral(".ppm");
    writePpm(ppm, makePhotoLikeImage(width, height));
    const ChildRun run = runChild(QStringLiteral("/usr/bin/cjpeg"),
                                  {QStringLiteral("-quality"), QStringLiteral("90"), QStringLiteral("-outfile"),
                                   path, ppm});
    QFile::remove(ppm);
    if (run.exitCode != 0) throw std::runtime_error("cjpeg failed");
}

}  // namespace mekuri::bench
