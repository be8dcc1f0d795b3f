// Printing the main window as shown: the orientation dialog F_PRINT, the
// drawing of the window image on the printable area, and the print job.
#include "app/tf_print.h"

#include "platform/dialogs.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <map>

namespace mekuri {
namespace {

// ---- an inspectable printer: a QPrinter whose engines record the job ----

struct DrawnImage {
    QRectF target;
    QSize size;
};

class RecordingPaintEngine : public QPaintEngine {
public:
    RecordingPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override {
        ++begun;
        return !failBegin;
    }
    bool end() override {
        ++ended;
        return true;
    }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF&) override {
        drawn.push_back({r, pm.size()});
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF&,
                   Qt::ImageConversionFlags) override {
        drawn.push_back({r, image.size()});
    }
    Type type() const override { return QPaintEngine::User; }

    bool failBegin = false;
    int begun = 0;
    int ended = 0;
    std::vector<DrawnImage> drawn;
};

// A 600-dpi A4 printer with a 4.2 mm inset, like the program's PDF printer.
class RecordingPrintEngine : public QPrintEngine {
public:
    RecordingPrintEngine() {
        m_props[PPK_QPageLayout] = QVariant::fromValue(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                        QMarginsF(4.2, 4.2, 4.2, 4.2), QPageLayout::Millimeter));
    }
    bool newPage() override {
        ++pages;
        return true;
    }
    bool abort() override { return true; }
    int metric(QPaintDevice::PaintDeviceMetric m) const override {
        const QRect paint = layout().paintRectPixels(kDpi);
        switch (m) {
        case QPaintDevice::PdmWidth: return paint.width();
        case QPaintDevice::PdmHeight: return paint.height();
        case QPaintDevice::PdmWidthMM: return qRound(layout().paintRect(QPageLayout::Millimeter).width());
        case QPaintDevice::PdmHeightMM: return qRound(layout().paintRect(QPageLayout::Millimeter).height());
        case QPaintDevice::PdmDpiX:
        case QPaintDevice::PdmDpiY:
        case QPaintDevice::PdmPhysicalDpiX:
        case QPaintDevice::PdmPhysicalDpiY: return kDpi;
        case QPaintDevice::PdmNumColors: return INT_MAX;
        case QPaintDevice::PdmDepth: return 32;
        case QPaintDevice::PdmDevicePixelRatio: return 1;
        case QPaintDevice::PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }
    QPrinter::PrinterState printerState() const override { return state; }
    void setProperty(PrintEnginePropertyKey key, const QVariant& value) override {
        if (key == PPK_Orientation) {
            QPageLayout l = layout();
            l.setOrientation(QPageLayout::Orientation(value.toInt()));
            m_props[PPK_QPageLayout] = QVariant::fromValue(l);
            return;
        }
        m_props[key] = value;
    }
    QVariant property(PrintEnginePropertyKey key) const override {
        if (key == PPK_Orientation) return int(layout().orientation());
        if (key == PPK_Resolution) return kDpi;
        auto it = m_props.find(key);
        return it == m_props.end() ? QVariant() : it->second;
    }
    QPageLayout layout() const { return m_props.at(PPK_QPageLayout).value<QPageLayout>(); }

    static constexpr int kDpi = 600;
    int pages = 0;
    QPrinter::PrinterState state = QPrinter::Idle;

private:
    std::map<PrintEnginePropertyKey, QVariant> m_props;
};

struct RecordingEngines {
    RecordingPrintEngine printJob;
    RecordingPaintEngine painting;
};

// The engines are a base listed first, so they outlive QPrinter's destructor.
class RecordingPrinter : public RecordingEngines, public QPrinter {
public:
    RecordingPrinter() { setEngines(&printJob, &painting); }
};

QImage windowImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return image;
}

// ---- drawing ----

TEST(PrintedImageRect, TopLeftScaledByResolutionOver96) {
    struct Case {
        const char* name;
        QSize image;
        int dpiX, dpiY;
        QRect expected;
    } cases[] = {
        {"same as the screen", {423, 254}, 96, 96, {0, 0, 423, 254}},
        {"600 dpi", {240, 96}, 600, 600, {0, 0, 1500, 600}},
        {"different resolutions across and down", {96, 96}, 300, 600, {0, 0, 300, 600}},
        {"fractions are dropped", {253, 306}, 600, 600, {0, 0, 1581, 1912}},
        {"wide window on a 2400-dpi device", {3000, 2000}, 2400, 2400, {0, 0, 75000, 50000}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(printedImageRect(c.image, c.dpiX, c.dpiY), c.expected) << c.name;
    }
}

// The drawing on a 600-dpi image: the blue window image covers exactly the
// scaled rectangle at the top-left and nothing else.
TEST(DrawWindowImage, FillsTheScaledRectangleAtTheTopLeft) {
    QImage page(2000, 2000, QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(600 / 0.0254));
    page.setDotsPerMeterY(qRound(600 / 0.0254));
    page.fill(Qt::white);
    {
        QPainter p(&page);
        drawWindowImage(p, windowImage(192, 96));
    }
    EXPECT_EQ(page.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(page.pixelColor(1199, 599), QColor(Qt::blue));
    EXPECT_EQ(page.pixelColor(1200, 0), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(0, 600), QColor(Qt::white));
}

// ---- the print job ----

TEST(PrintWindowImage, OnePageWithTheImageAndTheJobName) {
    RecordingPrinter printer;
    ASSERT_EQ(printer.logicalDpiX(), 600);
    const Status s = printWindowImage(printer, windowImage(423, 254), printJobName());
    ASSERT_TRUE(s.ok()) << qPrintable(s.error());
    EXPECT_EQ(printer.painting.begun, 1);
    EXPECT_EQ(printer.painting.ended, 1);
    EXPECT_EQ(printer.printJob.pages, 0);  // one page: no page break
    ASSERT_EQ(printer.painting.drawn.size(), 1u);
    EXPECT_EQ(printer.painting.drawn[0].target, QRectF(0, 0, 2643, 1587));
    EXPECT_EQ(printer.painting.drawn[0].size, QSize(423, 254));
    EXPECT_EQ(printer.docName(), QStringLiteral("ﾎﾟﾛﾝのあなたに合わせたｶﾚﾝﾀﾞｰ - 印刷ジョブ"));
}

TEST(PrintWindowImage, JobThatCannotStartIsAnError) {
    RecordingPrinter printer;
    printer.painting.failBegin = true;
    const Status s = printWindowImage(printer, windowImage(10, 10), printJobName());
    EXPECT_FALSE(s.ok());
    EXPECT_FALSE(s.error().isEmpty());
}

TEST(PrintWindowImage, PrinterErrorDuringTheJobIsAnError) {
    RecordingPrinter printer;
    printer.printJob.state = QPrinter::Error;
    EXPECT_FALSE(printWindowImage(printer, windowImage(10, 10), printJobName()).ok());
}

// The program's PDF printer: the job becomes a one-page PDF file holding the
// window image at its pixel size.
TEST(PrintWindowImage, PdfPrinterWritesOnePage) {
    test::TempProgramDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    printer.setOutputFileName(dir.path(QStringLiteral("out.pdf")));
    ASSERT_TRUE(printWindowImage(printer, windowImage(423, 254), printJobName()).ok());
    const QByteArray pdf = dir.read(QStringLiteral("out.pdf"));
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 1);
    EXPECT_TRUE(pdf.contains("/Width 423")) << "image not embedded at its pixel size";
    EXPECT_TRUE(pdf.contains("/Height 254"));
}

TEST(PrintWindowImage, UnwritableOutputFileIsAnError) {
    test::TempProgramDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.path(QStringLiteral("missing-folder/out.pdf")));
    const Status s = printWindowImage(printer, windowImage(10, 10), printJobName());
    EXPECT_FALSE(s.ok());
    EXPECT_TRUE(s.error().contains(QStringLiteral("out.pdf")));
}

// ---- the orientation dialog ----

class PrintDialogScript {
public:
    PrintDialogScript() {
        setPrintDialogForTesting([this](QPrinter& printer, QWidget* parent) {
            ++opened;
            orientationSeen = printer.pageLayout().orientation();
            parentSeen = parent;
            return confirm;
        });
    }
    ~PrintDialogScript() { setPrintDialogForTesting({}); }

    bool confirm = true;
    int opened = 0;
    QPageLayout::Orientation orientationSeen = QPageLayout::Portrait;
    QWidget* parentSeen = nullptr;
};

TEST(TF_PRINT, LooksAsDesigned) {
    RecordingPrinter printer;
    TF_PRINT dialog(nullptr, printer, [](QPrinter&) { return Status::success(); });
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("用紙方向設定"));
    EXPECT_EQ(dialog.size(), QSize(422, 128));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dialog.font().pixelSize(), 12);

    auto* group = dialog.findChild<QGroupBox*>(QStringLiteral("RADIO_GRP_LAND"));
    ASSERT_TRUE(group);
    EXPECT_EQ(group->title(), QStringLiteral("用紙の向き"));
    const QList<QRadioButton*> items = group->findChildren<QRadioButton*>();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), QStringLiteral("縦(&O)"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("横(&A)"));
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_EQ(dialog.orientationItem(), 0);

    auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(),
              QStringLiteral("説明書にも明記していますが画面サイズにより印刷できる月の数が異なります"));
    auto* print = dialog.findChild<QPushButton*>(QStringLiteral("BTN_PRINT"));
    auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("CancelBtn"));
    ASSERT_TRUE(print && cancel);
    EXPECT_EQ(print->text(), QStringLiteral("印刷..."));
    EXPECT_TRUE(print->isDefault());
    EXPECT_EQ(cancel->text(), QStringLiteral("キャンセル"));
}

TEST(TF_PRINT, OrientationReachesThePrintDialog) {
    struct Case {
        const char* name;
        int item;
        QPageLayout::Orientation expected;
    } cases[] = {
        {"portrait", 0, QPageLayout::Portrait},
        {"landscape", 1, QPageLayout::Landscape},
    };
    for (const Case& c : cases) {
        RecordingPrinter printer;
        printer.setPageOrientation(c.item == 0 ? QPageLayout::Landscape : QPageLayout::Portrait);
        PrintDialogScript script;
        TF_PRINT dialog(nullptr, printer, [](QPrinter&) { return Status::success(); });
        dialog.setOrientationItem(c.item);
        dialog.BTN_PRINTClick();
        EXPECT_EQ(script.opened, 1) << c.name;
        EXPECT_EQ(script.orientationSeen, c.expected) << c.name;
        EXPECT_EQ(script.parentSeen, &dialog) << c.name;
    }
}

TEST(TF_PRINT, CancellingThePrintDialogLeavesItOpen) {
    RecordingPrinter printer;
    PrintDialogScript script;
    script.confirm = false;
    int runs = 0;
    TF_PRINT dialog(nullptr, printer, [&](QPrinter&) {
        ++runs;
        return Status::success();
    });
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("BTN_PRINT")), Qt::LeftButton);
    EXPECT_EQ(script.opened, 1);
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(printer.painting.begun, 0);
}

TEST(TF_PRINT, ConfirmedRunClosesTheDialog) {
    RecordingPrinter printer;
    PrintDialogScript script;
    QPrinter* runOn = nullptr;
    TF_PRINT dialog(nullptr, printer, [&](QPrinter& p) {
        runOn = &p;
        return Status::success();
    });
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("BTN_PRINT")), Qt::LeftButton);
    EXPECT_EQ(runOn, &printer);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(TF_PRINT, CancelButtonAndEscCloseWithoutPrinting) {
    for (bool byEsc : {false, true}) {
        RecordingPrinter printer;
        PrintDialogScript script;
        TF_PRINT dialog(nullptr, printer, [](QPrinter&) { return Status::success(); });
        dialog.show();
        if (byEsc) {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        } else {
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("CancelBtn")), Qt::LeftButton);
        }
        EXPECT_FALSE(dialog.isVisible()) << byEsc;
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << byEsc;
        EXPECT_EQ(script.opened, 0) << byEsc;
    }
}

}  // namespace
}  // namespace mekuri
