// Printing the main window as shown: the orientation dialog F_PRINT, the
// drawing of the window image on the printable area, and the print job.
#include "app/tf_print.h"

#include "app/tf_main.h"
#include "platform/dialogs.h"
#include "platform/month_calendar.h"
#include "scripted_dialogs.h"
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
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <map>
#include <memory>

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
        if (onDraw) onDraw();
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF&,
                   Qt::ImageConversionFlags) override {
        drawn.push_back({r, image.size()});
        if (onDraw) onDraw();
    }
    Type type() const override { return QPaintEngine::User; }

    bool failBegin = false;
    int begun = 0;
    int ended = 0;
    std::vector<DrawnImage> drawn;
    std::function<void()> onDraw;  // called while the image is drawn
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

// ---- the print run on the main window ----

using test::ScriptedDialogs;
using test::TempProgramDir;

class PrintAsShownTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.installAllShipped();
        setPrintAsShownPrinterForTesting(&printer);
        printer.painting.onDraw = [this] {
            toolBarShownWhileDrawing = window->ToolBar1()->isVisible();
            statusWhileDrawing = window->statusText();
            monthsWhileDrawing = window->MonthCalendar1()->visibleMonthCount();
        };
    }
    void TearDown() override { setPrintAsShownPrinterForTesting(nullptr); }

    void open() {
        window = std::make_unique<TF_MAIN>(AppPaths::fromFolder(dir.dir()));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // A window whose calendar, without the tool bar, shows columns × rows months.
    void sizeFor(int columns, int rows) {
        const QSize block = window->MonthCalendar1()->monthBlockSize();
        window->resize(columns * block.width() + (columns - 1) * 6 + 8,
                       rows * block.height() + (rows - 1) * 6 + 8 + 21);
        QApplication::processEvents();
    }

    // Chooses "そのまま印刷...", presses BTN_PRINT in F_PRINT, and closes
    // F_PRINT if it is still open afterwards.
    void printFromMenu(int orientationItem = 0) {
        dialogWasOpen = false;
        dialogStayedOpen = false;
        QTimer::singleShot(0, [this, orientationItem] {
            auto* dialog = qobject_cast<TF_PRINT*>(QApplication::activeModalWidget());
            if (!dialog) return;
            dialogWasOpen = true;
            dialogParent = dialog->parentWidget();
            dialogCentre = dialog->frameGeometry().center();
            dialog->setOrientationItem(orientationItem);
            dialog->BTN_PRINTClick();
            dialogStayedOpen = dialog->isVisible();
            if (dialogStayedOpen) dialog->reject();
        });
        window->action("POP_PRINT")->trigger();
    }

    TempProgramDir dir;
    ScriptedDialogs dialogs;
    RecordingPrinter printer;
    PrintDialogScript printDialog;
    std::unique_ptr<TF_MAIN> window;

    bool dialogWasOpen = false;
    bool dialogStayedOpen = false;
    QWidget* dialogParent = nullptr;
    QPoint dialogCentre;
    bool toolBarShownWhileDrawing = true;
    QString statusWhileDrawing;
    int monthsWhileDrawing = 0;
};

TEST_F(PrintAsShownTest, PrintsTheClientAreaWithAsManyMonthsAsShown) {
    open();
    ASSERT_TRUE(window->action("POP_PRINT")->isEnabled());
    for (const auto& [columns, rows] : {std::pair{2, 1}, std::pair{2, 2}}) {
        sizeFor(columns, rows);
        printer.painting.drawn.clear();
        printFromMenu();
        ASSERT_TRUE(dialogWasOpen);
        EXPECT_EQ(dialogParent, window.get());
        EXPECT_LE((dialogCentre - window->frameGeometry().center()).manhattanLength(), 4)
            << "F_PRINT is not centred on the main window";
        EXPECT_FALSE(dialogStayedOpen);
        EXPECT_EQ(monthsWhileDrawing, columns * rows);
        ASSERT_EQ(printer.painting.drawn.size(), 1u);
        const QSize client = window->size();
        EXPECT_EQ(printer.painting.drawn[0].size, client) << columns * rows;
        EXPECT_EQ(printer.painting.drawn[0].target,
                  QRectF(0, 0, client.width() * 600 / 96, client.height() * 600 / 96));
    }
    EXPECT_EQ(printer.docName(), QStringLiteral("ﾎﾟﾛﾝのあなたに合わせたｶﾚﾝﾀﾞｰ - 印刷ジョブ"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PrintAsShownTest, ToolBarHiddenAndCaptionInTheStatusLineWhileDrawingThenRestored) {
    open();
    window->setWindowTitle(QStringLiteral("ぽろん"));
    window->setStatusText(QStringLiteral("2019/5/1 の表示"));
    printFromMenu();
    EXPECT_FALSE(toolBarShownWhileDrawing);
    EXPECT_EQ(statusWhileDrawing, QStringLiteral("ぽろん"));
    EXPECT_TRUE(window->ToolBar1()->isVisible());
    EXPECT_EQ(window->statusText(), QString());
}

TEST_F(PrintAsShownTest, WithTheMenuDisplayOffTheToolBarStaysHidden) {
    open();
    window->action("POP_MENU")->trigger();
    ASSERT_FALSE(window->ToolBar1()->isVisible());
    printFromMenu();
    ASSERT_EQ(printer.painting.drawn.size(), 1u);
    EXPECT_FALSE(window->ToolBar1()->isVisible());
    EXPECT_EQ(window->statusText(), QString());
}

TEST_F(PrintAsShownTest, CancellingThePrintDialogLeavesF_PRINTOpenAndTheWindowUnchanged) {
    open();
    window->setStatusText(QStringLiteral("前の表示"));
    printDialog.confirm = false;
    printFromMenu();
    EXPECT_TRUE(dialogWasOpen);
    EXPECT_TRUE(dialogStayedOpen);
    EXPECT_TRUE(printer.painting.drawn.empty());
    EXPECT_TRUE(window->ToolBar1()->isVisible());
    EXPECT_EQ(window->statusText(), QStringLiteral("前の表示"));
}

TEST_F(PrintAsShownTest, LandscapeReachesThePrintDialog) {
    open();
    printFromMenu(1);
    EXPECT_EQ(printDialog.orientationSeen, QPageLayout::Landscape);
}

TEST_F(PrintAsShownTest, FailedJobRestoresTheWindowAndIsReported) {
    open();
    printer.painting.failBegin = true;
    printFromMenu();
    EXPECT_TRUE(window->ToolBar1()->isVisible());
    EXPECT_EQ(window->statusText(), QString());
    EXPECT_EQ(dialogs.texts(MessageIcon::Error).size(), 1);
    // F_PRINT stays, so the user may try again or cancel.
    EXPECT_TRUE(dialogStayedOpen);
}

}  // namespace
}  // namespace mekuri
