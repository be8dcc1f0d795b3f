// mekuri-cli page: the My Calendar page of a program folder, rendered
// without the windows. The inputs are read from the folder's files exactly
// as the settings window and the preview read them, the page is recorded by
// the same drawing code, and images are encoded as the preview's image
// export encodes them.
#include "cli/commands.h"

#include "holidays/holiday_table.h"
#include "mycal/anniversary_list.h"
#include "mycal/page_drawing.h"
#include "mycal/page_image.h"
#include "mycal/page_picture.h"
#include "mycal/tf_prev.h"
#include "mycal/tf_pv_set.h"
#include "platform/command_guard.h"
#include "platform/printer.h"
#include "platform/system_colors.h"
#include "settings/app_paths.h"
#include "settings/color_file.h"
#include "settings/ini_file.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <optional>

namespace mekuri::cli {

namespace {

const char* kUsage =
    "usage: mekuri-cli page --month YYYY-MM --out FILE [--dir DIR] [--divisor N]\n"
    "       mekuri-cli page --year YYYY --out-dir DIR [--format jpg|bmp|png|pdf] [--dir DIR] [--divisor N]\n"
    "       mekuri-cli page --year YYYY --out FILE.pdf [--dir DIR]\n"
    "  renders the My Calendar page with the settings, picture, anniversaries and\n"
    "  holidays of the program folder DIR (default: the tool's own folder);\n"
    "  the format follows the file's extension (.jpg .jpeg .bmp .png .pdf);\n"
    "  --divisor divides the image size (default: the folder's Syuku setting)\n";

enum class Format { Jpeg, Bmp, Png, Pdf };

std::optional<Format> formatOf(const QString& suffix) {
    const QString s = suffix.toLower();
    if (s == QStringLiteral("jpg") || s == QStringLiteral("jpeg")) return Format::Jpeg;
    if (s == QStringLiteral("bmp")) return Format::Bmp;
    if (s == QStringLiteral("png")) return Format::Png;
    if (s == QStringLiteral("pdf")) return Format::Pdf;
    return std::nullopt;
}

// Everything of the program folder that the page needs, month aside.
struct FolderInputs {
    PageInputs base;
    HolidayTable holidays;
    int divisor = 3;
};

Expected<FolderInputs> readFolder(const AppPaths& paths) {
    FolderInputs f;
    Expected<IniFile> ini = IniFile::load(paths.iniFile());
    if (!ini.ok()) return Error{ini.error()};
    // The settings window's switches, clamped as its radio groups clamp.
    const MyCalSwitches s = readMyCalSwitches(ini.value());
    f.base.frame = s.frame;
    f.base.pictureShown = s.disp;
    f.base.weekdayNotation = s.youbi < 0 ? -1 : qMin(s.youbi, 1);
    f.base.anniversariesShown = s.kinenOn;
    // The preview's tool-bar values.
    const PreviewSettings p = readPreviewSettings(ini.value());
    f.base.leftMargin = p.left;
    f.base.topMargin = p.top;
    f.base.pictureRatio = p.hiritu;
    f.base.fontSize = p.fontSize;
    f.base.columnPitch = p.mojikan;
    f.base.lineSpacing = p.gyokan;
    const QStringList fonts = printerFontFamilies();
    if (fonts.isEmpty()) return Error{QStringLiteral("プリンタのフォントがありません")};
    f.base.fontFamily = (p.fontIndex >= 0 && p.fontIndex < fonts.size()) ? fonts[p.fontIndex] : fonts.first();
    f.divisor = qBound(1, ini->readInteger(QStringLiteral("SETTEI"), QStringLiteral("Syuku"), 3), 15);

    ColorDialogState color;
    if (const Status read = ReadColorFile(paths.file(QStringLiteral("mkrikinc.dat")), color); !read.ok()) {
        return Error{read.error()};
    }
    f.base.anniversaryColor = colorFromValue(color.color);
    Expected<QStringList> list = loadAnniversaryList(paths.file(QStringLiteral("mkrikils.txt")));
    if (!list.ok()) return Error{list.error()};
    f.base.anniversaries = list.value();

    const HolidayLoad holidays = loadHolidayFile(paths.file(QStringLiteral("horiday.txt")));
    if (holidays.fault) {
        return Error{QStringLiteral("horiday.txt: %1月 %2番目: %3")
                         .arg(holidays.fault->month)
                         .arg(holidays.fault->item)
                         .arg(holidays.fault->reason)};
    }
    f.holidays = holidays.table;
    f.base.holidaySlotCount = holidays.table.slotCount;

    if (s.disp) {
        if (s.picture.isEmpty() || !QFileInfo(s.picture).isFile()) {
            return Error{QStringLiteral("前回指定した画像が移動または削除されています。再度指定して下さい")};
        }
        Expected<QImage> picture = loadPagePicture(s.picture, s.jpegQuality == 1, QImage());
        if (!picture.ok()) return Error{picture.error()};
        if (picture->width() == 0 || picture->height() == 0) return Error{QStringLiteral("画像を指定して下さい")};
        f.base.picture = picture.value();
    }
    return f;
}

PrinterPageMetrics pageMetrics() {
    if (isPdfPrinter()) return pdfPrinterPageMetrics();
    setPrinterPaperA4();
    setPrinterOrientation(QPageLayout::Portrait);
    return currentPrinterPageMetrics();
}

std::shared_ptr<const RecordedPage> recordMonth(const FolderInputs& f, int year, int month,
                                                const PrinterPageMetrics& metrics) {
    PageInputs in = f.base;
    in.displayedDate = QDate(year, month, 1);
    in.holidays = f.holidays.rows[month - 1];
    return recordPage(in, metrics);
}

// The pages as a PDF of the metrics' sheet, each replayed 1:1 at the
// printable area, written atomically.
Status writePdf(const QString& path, const std::vector<std::shared_ptr<const RecordedPage>>& pages,
                const PrinterPageMetrics& m) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return Error{QStringLiteral("ファイル %1 に書き込めません。\n%2").arg(path, file.errorString())};
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(m.PixelsPerInchX);
        writer.setCreator(QStringLiteral("mekuri"));
        writer.setTitle(QStringLiteral("カレンダー印刷"));
        auto mm = [](int px, int dpi) { return px * 25.4 / dpi; };
        const QPageSize size(QSizeF(mm(m.PaperWidth, m.PixelsPerInchX), mm(m.PaperHeight, m.PixelsPerInchY)),
                             QPageSize::Millimeter);
        const QMarginsF margins(mm(m.OffsetX, m.PixelsPerInchX), mm(m.OffsetY, m.PixelsPerInchY),
                                mm(m.RightUnprintable, m.PixelsPerInchX), mm(m.BottomUnprintable, m.PixelsPerInchY));
        writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, margins, QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) return Error{QStringLiteral("PDF を作れません: ") + path};
        for (size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) writer.newPage();
            pages[i]->replay(painter);
        }
        painter.end();
    }
    if (!file.commit()) {
        return Error{QStringLiteral("ファイル %1 に書き込めません。\n%2").arg(path, file.errorString())};
    }
    return Status::success();
}

Status writeImage(const QString& path, Format format, const RecordedPage& page, int divisor) {
    Expected<QImage> image = renderPageImage(page, divisor);
    if (!image.ok()) return Error{image.error()};
    switch (format) {
    case Format::Jpeg: return saveJpegFile(image.value(), path);
    case Format::Bmp: return saveBmpFile(image.value(), path);
    case Format::Png: return saveImageFile(image.value(), path, "PNG");
    case Format::Pdf: break;
    }
    return Error{QStringLiteral("unsupported format")};
}

int fail(Io io, const QString& message) {
    io.err << "mekuri-cli: " << message << '\n';
    return 1;
}

}  // namespace

int runPage(const QStringList& args, Io io) {
    QString month, year, out, outDir, dir = toolFolder(), formatName;
    std::optional<int> divisor;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (!hasValue) {
            io.err << "mekuri-cli: " << a << " needs a value\n" << kUsage;
            return 2;
        }
        const QString v = args[++i];
        if (a == QStringLiteral("--month")) month = v;
        else if (a == QStringLiteral("--year")) year = v;
        else if (a == QStringLiteral("--out")) out = v;
        else if (a == QStringLiteral("--out-dir")) outDir = v;
        else if (a == QStringLiteral("--dir")) dir = v;
        else if (a == QStringLiteral("--format")) formatName = v;
        else if (a == QStringLiteral("--divisor")) {
            bool ok = false;
            const int n = v.toInt(&ok);
            if (!ok || n < 1) {
                io.err << "mekuri-cli: --divisor needs a whole number of 1 or more\n";
                return 2;
            }
            divisor = n;
        } else {
            io.err << "mekuri-cli: unknown option " << a << '\n' << kUsage;
            return 2;
        }
    }
    if (month.isEmpty() == year.isEmpty() || (out.isEmpty() == outDir.isEmpty()) ||
        (!month.isEmpty() && out.isEmpty())) {
        io.err << kUsage;
        return 2;
    }

    int y = 0, m = 0;
    if (!month.isEmpty()) {
        const QDate d = QDate::fromString(month, QStringLiteral("yyyy-MM"));
        if (!d.isValid()) {
            io.err << "mekuri-cli: --month wants YYYY-MM, not " << month << '\n';
            return 2;
        }
        y = d.year();
        m = d.month();
    } else {
        bool ok = false;
        y = year.toInt(&ok);
        if (!ok || year.size() != 4) {
            io.err << "mekuri-cli: --year wants YYYY, not " << year << '\n';
            return 2;
        }
    }
    if (y < 1900 || y > 2087) {
        io.err << "mekuri-cli: the calendar covers 1900 to 2087\n";
        return 2;
    }
    Format format = Format::Jpeg;
    if (!out.isEmpty()) {
        const std::optional<Format> f = formatOf(QFileInfo(out).suffix());
        if (!f) {
            io.err << "mekuri-cli: the output name must end in .jpg, .jpeg, .bmp, .png or .pdf\n";
            return 2;
        }
        format = *f;
        if (!year.isEmpty() && format != Format::Pdf) {
            io.err << "mekuri-cli: a whole year goes to --out-dir, or to --out FILE.pdf\n";
            return 2;
        }
    } else if (!formatName.isEmpty()) {
        const std::optional<Format> f = formatOf(formatName);
        if (!f) {
            io.err << "mekuri-cli: --format is one of jpg, bmp, png, pdf\n";
            return 2;
        }
        format = *f;
    }

    Expected<FolderInputs> folder = readFolder(AppPaths::fromFolder(dir));
    if (!folder.ok()) return fail(io, folder.error());
    const int div = divisor.value_or(folder->divisor);
    const PrinterPageMetrics metrics = pageMetrics();

    try {
        if (!month.isEmpty()) {
            const auto page = recordMonth(folder.value(), y, m, metrics);
            const Status s = format == Format::Pdf ? writePdf(out, {page}, metrics) : writeImage(out, format, *page, div);
            if (!s.ok()) return fail(io, s.error());
            return 0;
        }
        std::vector<std::shared_ptr<const RecordedPage>> pages;
        if (!outDir.isEmpty() && !QDir().mkpath(outDir)) return fail(io, QStringLiteral("cannot create ") + outDir);
        const QString ext = format == Format::Jpeg ? QStringLiteral("jpg")
                            : format == Format::Bmp ? QStringLiteral("bmp")
                            : format == Format::Png ? QStringLiteral("png")
                                                    : QStringLiteral("pdf");
        for (int mm = 1; mm <= 12; ++mm) {
            const auto page = recordMonth(folder.value(), y, mm, metrics);
            const QString name = QStringLiteral("%1-%2").arg(y).arg(mm, 2, 10, QLatin1Char('0'));
            if (!outDir.isEmpty()) {
                const QString path = QDir(outDir).filePath(name + u'.' + ext);
                const Status s = format == Format::Pdf ? writePdf(path, {page}, metrics)
                                                       : writeImage(path, format, *page, div);
                if (!s.ok()) return fail(io, s.error());
                io.err << mm << "/12 " << name << " -> " << path << '\n';
            } else {
                pages.push_back(page);
                io.err << mm << "/12 " << name << '\n';
            }
            io.err.flush();
        }
        if (!pages.empty()) {
            const Status s = writePdf(out, pages, metrics);
            if (!s.ok()) return fail(io, s.error());
            io.err << "-> " << out << '\n';
        }
    } catch (const CommandError& e) {
        return fail(io, e.message());
    } catch (const std::exception& e) {
        return fail(io, QString::fromLocal8Bit(e.what()));
    }
    return 0;
}

}  // namespace mekuri::cli
