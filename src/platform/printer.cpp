#include "platform/printer.h"

#include <QFontDatabase>
#include <QMarginsF>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>

namespace mekuri {

namespace {

std::unique_ptr<QPrinter>& printerSlot() {
    static std::unique_ptr<QPrinter> printer;
    return printer;
}

bool& pdfFlag() {
    static bool pdf = false;
    return pdf;
}

void makePdfPrinter(QPrinter& printer, QPageLayout::Orientation orientation) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(orientation);
    printer.setFullPage(false);
    const double m = kPdfPrinterInsetMm;
    printer.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
}

}  // namespace

QPrinter& currentPrinter() {
    auto& slot = printerSlot();
    if (!slot) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (!info.isNull()) {
            slot = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
            pdfFlag() = false;
        } else {
            slot = std::make_unique<QPrinter>(QPrinter::HighResolution);
            makePdfPrinter(*slot, QPageLayout::Portrait);
            pdfFlag() = true;
        }
    }
    return *slot;
}

bool isPdfPrinter() {
    currentPrinter();
    return pdfFlag() || currentPrinter().outputFormat() == QPrinter::PdfFormat;
}

QString currentPrinterName() {
    if (isPdfPrinter()) return QStringLiteral("PDF");
    return currentPrinter().printerName().left(32);
}

PrinterPageMetrics printerPageMetrics(const QPrinter& printer) {
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toAlignedRect();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toAlignedRect();
    PrinterPageMetrics m;
    m.PrintableWidth = page.width();
    m.PrintableHeight = page.height();
    m.PaperWidth = paper.width();
    m.PaperHeight = paper.height();
    m.PixelsPerInchX = printer.logicalDpiX();
    m.PixelsPerInchY = printer.logicalDpiY();
    m.OffsetX = page.left() - paper.left();
    m.OffsetY = page.top() - paper.top();
    m.BottomUnprintable = m.PaperHeight - m.PrintableHeight - m.OffsetY;
    m.RightUnprintable = m.PaperWidth - m.PrintableWidth - m.OffsetX;
    return m;
}

PrinterPageMetrics currentPrinterPageMetrics() { return printerPageMetrics(currentPrinter()); }

PrinterPageMetrics pdfPrinterPageMetrics(QPageLayout::Orientation orientation) {
    QPrinter pdf(QPrinter::HighResolution);
    makePdfPrinter(pdf, orientation);
    return printerPageMetrics(pdf);
}

bool setPrinterPaperA4() {
    QPrinter& printer = currentPrinter();
    if (printer.pageLayout().pageSize().id() == QPageSize::A4) return true;
    return printer.setPageSize(QPageSize(QPageSize::A4));
}

bool setPrinterOrientation(QPageLayout::Orientation orientation) {
    return currentPrinter().setPageOrientation(orientation);
}

QStringList printerFontFamilies() {
    QStringList families;
    for (const QString& f : QFontDatabase::families()) {
        if (!f.startsWith(u'@')) families.append(f);
    }
    families.sort();
    families.removeDuplicates();
    return families;
}

void resetPrinterForTesting() {
    printerSlot().reset();
    pdfFlag() = false;
}

}  // namespace mekuri
