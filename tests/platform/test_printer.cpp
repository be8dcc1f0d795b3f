// The current printer on a machine without printers: the PDF printer.
#include "platform/printer.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <QPrinterInfo>

using namespace mekuri;

namespace {

class PdfPrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "a system printer is installed";
        resetPrinterForTesting();
    }
    void TearDown() override { resetPrinterForTesting(); }
};

// 4.2 mm at 600 dpi, as Qt rounds the margins through points.
int insetPixels() { return int(kPdfPrinterInsetMm / 25.4 * 600 + 0.5); }

}  // namespace

TEST_F(PdfPrinterTest, IsA4PortraitAt600DpiWithInsetPrintableArea) {
    ASSERT_TRUE(isPdfPrinter());
    const PrinterPageMetrics m = currentPrinterPageMetrics();
    EXPECT_EQ(m.PixelsPerInchX, 600);
    EXPECT_EQ(m.PixelsPerInchY, 600);
    EXPECT_EQ(m.PaperWidth, 4958);
    EXPECT_EQ(m.PaperHeight, 7017);
    EXPECT_NEAR(m.OffsetX, insetPixels(), 1);
    EXPECT_NEAR(m.OffsetY, insetPixels(), 1);
    EXPECT_NEAR(m.BottomUnprintable, insetPixels(), 1);
    EXPECT_NEAR(m.RightUnprintable, insetPixels(), 1);
    EXPECT_EQ(m.PrintableWidth, m.PaperWidth - m.OffsetX - m.RightUnprintable);
    EXPECT_EQ(m.PrintableHeight, m.PaperHeight - m.OffsetY - m.BottomUnprintable);
}

TEST_F(PdfPrinterTest, IsNamedPdf) { EXPECT_EQ(currentPrinterName(), QStringLiteral("PDF")); }

TEST_F(PdfPrinterTest, LandscapeSwapsSheetAndPrintableArea) {
    const PrinterPageMetrics portrait = currentPrinterPageMetrics();
    ASSERT_TRUE(setPrinterOrientation(QPageLayout::Landscape));
    const PrinterPageMetrics landscape = currentPrinterPageMetrics();
    EXPECT_EQ(landscape.PaperWidth, portrait.PaperHeight);
    EXPECT_EQ(landscape.PaperHeight, portrait.PaperWidth);
    EXPECT_EQ(landscape.PrintableWidth, portrait.PrintableHeight);
    EXPECT_EQ(landscape.PrintableHeight, portrait.PrintableWidth);
    EXPECT_EQ(landscape.PixelsPerInchX, 600);

    ASSERT_TRUE(setPrinterOrientation(QPageLayout::Portrait));
    EXPECT_EQ(currentPrinterPageMetrics().PaperWidth, portrait.PaperWidth);
}

TEST_F(PdfPrinterTest, ChangesLastForTheRun) {
    ASSERT_TRUE(setPrinterOrientation(QPageLayout::Landscape));
    // Another reader of the current printer sees the same printer.
    EXPECT_EQ(currentPrinter().pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_GT(currentPrinterPageMetrics().PaperWidth, currentPrinterPageMetrics().PaperHeight);
}

TEST_F(PdfPrinterTest, A4IsRestoredOverAnotherPaper) {
    ASSERT_TRUE(currentPrinter().setPageSize(QPageSize(QPageSize::Letter)));
    ASSERT_NE(currentPrinterPageMetrics().PaperHeight, 7017);
    ASSERT_TRUE(setPrinterPaperA4());
    EXPECT_EQ(currentPrinterPageMetrics().PaperWidth, 4958);
    EXPECT_EQ(currentPrinterPageMetrics().PaperHeight, 7017);
}

TEST(PrinterMetrics, PdfMetricsAreTheFixedA4Sheet) {
    const PrinterPageMetrics m = pdfPrinterPageMetrics();
    EXPECT_EQ(m.PaperWidth, 4958);
    EXPECT_EQ(m.PaperHeight, 7017);
    EXPECT_EQ(m.PixelsPerInchY, 600);
    const PrinterPageMetrics l = pdfPrinterPageMetrics(QPageLayout::Landscape);
    EXPECT_EQ(l.PaperWidth, 7017);
}

TEST(PrinterFonts, FamiliesAreSortedWithoutVerticalOnes) {
    const QStringList families = printerFontFamilies();
    ASSERT_FALSE(families.isEmpty());
    QStringList sorted = families;
    sorted.sort();
    EXPECT_EQ(families, sorted);
    for (const QString& f : families) EXPECT_FALSE(f.startsWith(u'@')) << f.toStdString();
    EXPECT_TRUE(families.contains(QStringLiteral("IPAGothic")));
}
