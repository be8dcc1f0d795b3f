#pragma once

// The program's current printer: one QPrinter per process, owned here. It is
// the system's default printer when there is one; on a system without any
// printer it is a PDF "printer" (A4 portrait, 600 dpi, the printable area
// inset like an office laser printer's) so that the page layout, the preview
// and the image export still work. Every change (orientation, paper, the
// printer set-up dialog) stays in force for the rest of the run.

#include <QPageLayout>
#include <QString>
#include <QStringList>

class QPrinter;

namespace mekuri {

// The facts about the current printer and sheet the My Calendar page needs,
// in printer pixels (device pixels of the printer).
struct PrinterPageMetrics {
    int PrintableWidth = 0;   // printable area
    int PrintableHeight = 0;
    int PaperWidth = 0;       // whole sheet
    int PaperHeight = 0;
    int PixelsPerInchX = 0;   // resolution across and down
    int PixelsPerInchY = 0;
    int OffsetX = 0;          // sheet's top-left corner to the printable area
    int OffsetY = 0;
    int BottomUnprintable = 0;  // PaperHeight - PrintableHeight - OffsetY
    int RightUnprintable = 0;   // PaperWidth - PrintableWidth - OffsetX
};

// The inset of the PDF printer's printable area on every side, millimetres.
inline constexpr double kPdfPrinterInsetMm = 4.2;

// The current printer, created on first use.
QPrinter& currentPrinter();

// True when the current printer is the built-in PDF printer (no system printer).
bool isPdfPrinter();

// The name shown for the current printer: the first 32 characters of its
// device name, "PDF" for the PDF printer.
QString currentPrinterName();

// Metrics of the current printer, read afresh on every call.
PrinterPageMetrics currentPrinterPageMetrics();
PrinterPageMetrics printerPageMetrics(const QPrinter& printer);

// The metrics the PDF printer has (A4 portrait at 600 dpi with its inset),
// whatever printer the system has: for rendering pages without a printer.
PrinterPageMetrics pdfPrinterPageMetrics(QPageLayout::Orientation orientation = QPageLayout::Portrait);

// Printer preparation for the calendar page: A4 where the printer offers it,
// portrait. Returns false when the printer refused a change.
bool setPrinterPaperA4();
bool setPrinterOrientation(QPageLayout::Orientation orientation);

// The font families offered for printing, sorted by name, without the
// vertical-writing "@" families.
QStringList printerFontFamilies();

// Drops the current printer; the next use creates it again (tests only).
void resetPrinterForTesting();

}  // namespace mekuri
