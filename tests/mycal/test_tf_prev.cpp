// The preview window: opening defaults and clamping, zoom without rebuild,
// the wheel, the settings written on every close (and not after a failed
// opening), printing, and the screen image geometry.
#include "mycal/tf_prev.h"

#include "../app/scripted_dialogs.h"
#include "platform/printer.h"
#include "settings/ini_file.h"
#include "support/test_support.h"

#include "support/when_modal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <functional>

using namespace mekuri;
using namespace mekuri::test;

namespace {

class PreviewTest : public ::testing::Test {
protected:
    PreviewTest() {
        resetPrinterForTesting();
        base.displayedDate = QDate(2019, 5, 15);
        base.pictureShown = false;
        base.anniversaries = {QStringLiteral("2019/05/03")};
        base.anniversaryColor = QColor(0, 0, 255);
    }
    ~PreviewTest() override { resetPrinterForTesting(); }
    AppPaths paths() const { return AppPaths::fromFolder(dir.dir()); }
    QString iniPath() const { return dir.path(QStringLiteral("mkri.ini")); }
    void writeIni(const QString& text) { dir.write(QStringLiteral("mkri.ini"), cp932(text)); }
    IniFile ini() const { return IniFile::loadOrEmpty(iniPath()); }
    std::unique_ptr<TF_PREV> prepared() {
        auto w = std::make_unique<TF_PREV>(paths(), base, nullptr);
        w->prepare();
        return w;
    }

    TempProgramDir dir;
    PageInputs base;
    ScriptedDialogs dialogs;
};

TEST_F(PreviewTest, DefaultsWithoutStoredSettings) {
    auto w = prepared();
    EXPECT_EQ(w->UD_FONT_SIZE->value(), 13);
    EXPECT_EQ(w->UD_LEFT->value(), 17);
    EXPECT_EQ(w->UD_TOP->value(), 20);
    EXPECT_EQ(w->UD_GYOKAN->value(), 4);
    EXPECT_EQ(w->UD_HIRITU->value(), 100);
    EXPECT_EQ(w->UD_MOJIKAN->value(), 27);
    EXPECT_EQ(w->CBO_FONT->currentIndex(), 0);
    EXPECT_EQ(w->pos(), QPoint(24, 24));
    EXPECT_EQ(w->size(), QSize(1083, 650));
    EXPECT_DOUBLE_EQ(w->FRatio, 0.5);
    EXPECT_EQ(w->LBL_HIRITU->text(), QStringLiteral("50%"));
    EXPECT_EQ(w->TrackBar1->value(), 50);
    EXPECT_EQ(w->FPageNumber, 1);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("印刷プレビュー"));
    EXPECT_EQ(w->Image1->size(), screenImageSize(w->pageMetrics(), 0.5, w->logicalDpiX(), w->logicalDpiY()));
    EXPECT_EQ(w->PrintPreview1.PageCount(), 1);
    EXPECT_FALSE(dir.exists(QStringLiteral("mkri.ini"))) << "opening writes nothing";
    if (qEnvironmentVariableIsSet("MEKURI_PREVIEW_PNG")) {
        w->show();
        QApplication::processEvents();
        w->grab().save(qEnvironmentVariable("MEKURI_PREVIEW_PNG"));
    }
}

TEST_F(PreviewTest, ControlsHaveTheirRangesAndHints) {
    auto w = prepared();
    const struct {
        NumberBox* box;
        int min, max;
        const char16_t* hint;
    } cases[] = {
        {w->UD_HIRITU, 50, 100, u"画像の比率 50-100%"}, {w->UD_LEFT, 4, 30, u"枠に対する左余白(mm)"},
        {w->UD_TOP, 4, 35, u"枠に対する上余白(mm)"},     {w->UD_FONT_SIZE, 1, 999, u"文字サイズ"},
        {w->UD_MOJIKAN, 0, 999, u"文字間"},              {w->UD_GYOKAN, 0, 999, u"行間"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.box->minimum(), c.min) << c.box->objectName().toStdString();
        EXPECT_EQ(c.box->maximum(), c.max) << c.box->objectName().toStdString();
        EXPECT_EQ(c.box->toolTip(), QString::fromUtf16(c.hint));
    }
    EXPECT_EQ(w->TrackBar1->minimum(), 50);
    EXPECT_EQ(w->TrackBar1->maximum(), 300);
    EXPECT_EQ(w->TrackBar1->pageStep(), 10);
    EXPECT_EQ(w->TOOL_PRNSET->text(), QStringLiteral("設定"));
    EXPECT_EQ(w->POP_SC->text(), QStringLiteral("スクロール"));
    EXPECT_EQ(w->POP_CLOSE->text(), QStringLiteral("閉じる"));
    QStringList fonts;
    for (int i = 0; i < w->CBO_FONT->count(); ++i) fonts.append(w->CBO_FONT->itemText(i));
    QStringList sorted = fonts;
    sorted.sort();
    EXPECT_EQ(fonts, sorted);
    for (const QString& f : fonts) EXPECT_FALSE(f.startsWith(u'@'));
}

TEST_F(PreviewTest, StoredValuesAreLimitedToTheirRanges) {
    writeIni(QStringLiteral("[Font]\r\nName=100000\r\nSize=0\r\n[YOHAKU]\r\nLeft=99\r\nTop=1\r\n"
                            "[SETTEI]\r\nHiritu=10\r\nGyokan=-5\r\nMojikan=1000\r\nZOOM_Hi=1.5\r\n"));
    auto w = prepared();
    EXPECT_EQ(w->CBO_FONT->currentIndex(), 0) << "an index beyond the list selects the first family";
    EXPECT_EQ(w->UD_FONT_SIZE->value(), 1);
    EXPECT_EQ(w->UD_LEFT->value(), 30);
    EXPECT_EQ(w->UD_TOP->value(), 4);
    EXPECT_EQ(w->UD_HIRITU->value(), 50);
    EXPECT_EQ(w->UD_GYOKAN->value(), 0);
    EXPECT_EQ(w->UD_MOJIKAN->value(), 999);
    EXPECT_EQ(w->LBL_HIRITU->text(), QStringLiteral("150%"));
    EXPECT_EQ(w->TrackBar1->value(), 150);
}

TEST_F(PreviewTest, ZoomLabelText) {
    const struct {
        double ratio;
        const char* text;
    } cases[] = {{0.5, "50%"}, {1.5, "150%"}, {0.73, "73%"}, {3.0, "300%"},
                 {1.23456, "123.456%"}, {0.123456789, "12.3457%"}, {1.0000001, "100%"}};
    for (const auto& c : cases) EXPECT_EQ(zoomLabelText(c.ratio), QString::fromLatin1(c.text)) << c.ratio;
}

TEST_F(PreviewTest, SliderZoomsWithoutRebuildingThePage) {
    auto w = prepared();
    const auto page = w->currentPage();
    w->TOOL_ZOOMClick();
    EXPECT_TRUE(w->TrackBar1->isEnabled());
    EXPECT_TRUE(w->POP_ZOOM->isChecked());
    EXPECT_TRUE(w->TOOL_ZOOM->isChecked());
    w->TrackBar1->setValue(73);
    EXPECT_DOUBLE_EQ(w->FRatio, 0.73);
    EXPECT_EQ(w->LBL_HIRITU->text(), QStringLiteral("73%"));
    EXPECT_EQ(w->currentPage(), page) << "zoom replays the recorded page";
    EXPECT_EQ(w->Image1->size(), screenImageSize(w->pageMetrics(), 0.73, w->logicalDpiX(), w->logicalDpiY()));
    w->TOOL_SCClick();
    EXPECT_FALSE(w->TrackBar1->isEnabled());
    EXPECT_TRUE(w->POP_SC->isChecked());
}

TEST_F(PreviewTest, TypedValueIsTakenUpAtTheNextRebuild) {
    auto w = prepared();
    const auto page = w->currentPage();
    w->UD_TOP->findChild<QLineEdit*>()->selectAll();
    w->UD_TOP->findChild<QLineEdit*>()->insert(QStringLiteral("30"));
    EXPECT_EQ(w->currentPage(), page) << "typing alone redraws nothing";
    w->UD_FONT_SIZE->stepBy(1);  // an arrow click
    ASSERT_NE(w->currentPage(), page);
    EXPECT_EQ(w->pageInputs().topMargin, 30);
    EXPECT_EQ(w->pageInputs().fontSize, 14);
    const PrinterPageMetrics m = w->pageMetrics();
    const auto rects = w->currentPage()->rects();
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects.front().rect.top(), mmToPixels(30, m.PixelsPerInchY) - m.OffsetY) << "the frame moved down";
}

TEST_F(PreviewTest, LandscapeWidensThePictureAreaAtTheNextBuild) {
    auto w = prepared();
    const PrinterPageMetrics portrait = w->pageMetrics();
    const int L = mmToPixels(17, portrait.PixelsPerInchX);
    ASSERT_EQ(w->currentPage()->rects().front().rect.width(), portrait.PaperWidth - 2 * L);
    ASSERT_TRUE(setPrinterOrientation(QPageLayout::Landscape));
    w->UD_Click();
    const PrinterPageMetrics landscape = w->pageMetrics();
    EXPECT_GT(landscape.PaperWidth, portrait.PaperWidth);
    EXPECT_EQ(w->currentPage()->rects().front().rect.width(), landscape.PaperWidth - 2 * L);
}

TEST_F(PreviewTest, WheelScrollsInScrollModeOnly) {
    writeIni(QStringLiteral("[SETTEI]\r\nZOOM_Hi=3\r\n"));
    auto w = prepared();
    w->show();
    QApplication::processEvents();
    QScrollBar* bar = w->ScrollBox1->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 200);
    auto wheel = [&](int delta) {
        QWheelEvent e(QPointF(10, 10), w->ScrollBox1->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->ScrollBox1->viewport(), &e);
    };
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(bar->value(), 120) << "60 pixels a notch toward the user";
    wheel(120);
    EXPECT_EQ(bar->value(), 60);
    EXPECT_EQ(w->LBL_HIRITU->text(), QStringLiteral("300%"));
    w->TOOL_ZOOMClick();
    wheel(-120);
    EXPECT_EQ(bar->value(), 60) << "zoom mode ignores the wheel";
    w->hide();
}

TEST_F(PreviewTest, EveryCloseWritesTheSettingsBack) {
    const struct {
        const char* name;
        std::function<void(TF_PREV&)> close;
    } cases[] = {
        {"POP_CLOSE", [](TF_PREV& w) { w.POP_CLOSE->trigger(); }},
        {"close box", [](TF_PREV& w) { w.close(); }},
    };
    for (const auto& c : cases) {
        writeIni(QStringLiteral("[Font]\r\nSize=50\r\n"));
        whenModal<TF_PREV>([&](TF_PREV& w) {
            w.UD_LEFT->setValue(25);
            w.UD_GYOKAN->findChild<QLineEdit*>()->selectAll();
            w.UD_GYOKAN->findChild<QLineEdit*>()->insert(QStringLiteral("7"));  // typed, no arrow
            w.TrackBar1->setValue(120);
            w.move(40, 30);
            c.close(w);
        });
        TF_PREV::openPreview(nullptr, paths(), base);
        const IniFile s = ini();
        EXPECT_EQ(s.readInteger(QStringLiteral("Font"), QStringLiteral("Size"), 0), 50) << c.name;
        EXPECT_EQ(s.readInteger(QStringLiteral("YOHAKU"), QStringLiteral("Left"), 0), 25) << c.name;
        EXPECT_EQ(s.readInteger(QStringLiteral("YOHAKU"), QStringLiteral("Top"), 0), 20) << c.name;
        EXPECT_EQ(s.readInteger(QStringLiteral("SETTEI"), QStringLiteral("Gyokan"), 0), 7) << c.name;
        EXPECT_EQ(s.readInteger(QStringLiteral("SETTEI"), QStringLiteral("Mojikan"), 0), 27) << c.name;
        EXPECT_EQ(s.readInteger(QStringLiteral("SETTEI"), QStringLiteral("Hiritu"), 0), 100) << c.name;
        EXPECT_EQ(s.readInteger(QStringLiteral("Font"), QStringLiteral("Name"), -1), 0) << c.name;
        EXPECT_DOUBLE_EQ(s.readFloat(QStringLiteral("SETTEI"), QStringLiteral("ZOOM_Hi"), 0), 1.2) << c.name;
        EXPECT_EQ(s.readInteger(QStringLiteral("SETTEI"), QStringLiteral("Modal_L"), 0), 40) << c.name;
        EXPECT_EQ(s.readInteger(QStringLiteral("SETTEI"), QStringLiteral("Modal_W"), 0), 1083) << c.name;
        EXPECT_EQ(s.readInteger(QStringLiteral("SETTEI"), QStringLiteral("Modal_H"), 0), 650) << c.name;
    }
}

TEST_F(PreviewTest, FailedOpeningWritesNothing) {
    const QByteArray stored = cp932(QStringLiteral("[YOHAKU]\r\nLeft=99\r\n"));
    dir.write(QStringLiteral("mkri.ini"), stored);
    base.anniversaries = {QStringLiteral("いつか")};  // no date: the first build fails
    EXPECT_ANY_THROW(TF_PREV::openPreview(nullptr, paths(), base));
    EXPECT_EQ(dir.read(QStringLiteral("mkri.ini")), stored);
}

TEST_F(PreviewTest, UnreadableSettingsFileStopsTheOpening) {
    QDir().mkdir(iniPath());  // exists, cannot be read as a file
    auto w = std::make_unique<TF_PREV>(paths(), base, nullptr);
    EXPECT_ANY_THROW(w->prepare());
}

TEST_F(PreviewTest, PrintAsksFirstAndNoPrintsNothing) {
    auto w = prepared();
    ASSERT_TRUE(isPdfPrinter()) << "this test runs without a system printer";
    dialogs.confirmAnswers = {Answer::No};
    w->SPD_PRTClick();
    EXPECT_EQ(dialogs.texts(MessageIcon::Question), QStringList{QStringLiteral("用紙をセットして下さい。印刷を実行しますか？")});
    EXPECT_TRUE(dialogs.prompts.empty()) << "no job was begun";

    dialogs.confirmAnswers = {Answer::Yes};
    dialogs.saveFileAnswers = {dir.path(QStringLiteral("out.pdf"))};
    w->SPD_PRTClick();
    const QByteArray pdf = dir.read(QStringLiteral("out.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(currentPrinter().docName(), QStringLiteral("カレンダー印刷"));
}

TEST_F(PreviewTest, ScreenImageGeometryAtOneToOne) {
    PrinterPageMetrics m;
    m.PaperWidth = 800;
    m.PaperHeight = 1000;
    m.OffsetX = 40;
    m.OffsetY = 30;
    m.PrintableWidth = 700;
    m.PrintableHeight = 900;
    m.BottomUnprintable = 70;
    m.RightUnprintable = 60;
    m.PixelsPerInchX = m.PixelsPerInchY = 96;
    RecordedPage page(QSize(700, 900), 96, 96);
    page.append(PageRectOp{QRect(200, 300, 20, 20), QPen(Qt::black), QBrush(Qt::black)});
    // 4 mm at 96 dpi: L = 15, T = 15.
    const QImage img = MakeScreenImage(page, m, 4, 4, 1.0, 96, 96);
    ASSERT_EQ(img.size(), QSize(950, 1150));
    const struct {
        const char* what;
        QPoint at;
        QColor color;
    } cases[] = {
        {"shadow right of the sheet", QPoint(870, 500), QColor(128, 128, 128)},
        {"shadow below the sheet", QPoint(400, 1070), QColor(128, 128, 128)},
        {"outside the shadow", QPoint(940, 1140), Qt::white},
        {"top-left corner outside the sheet", QPoint(20, 20), Qt::white},
        {"sheet outline", QPoint(50, 600), Qt::black},
        {"page drawn at the printable area's place", QPoint(40 + 50 + 210, 30 + 50 + 310), Qt::black},
        {"printable outline", QPoint(40 + 50, 700), QColor(192, 192, 192)},
        {"inside the sheet", QPoint(600, 200), Qt::white},
    };
    for (const auto& c : cases) EXPECT_EQ(img.pixelColor(c.at), c.color) << c.what;
}

// Largest difference of any channel between two images of the same size.
int largestDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    for (int row = 0; row < x.height(); ++row) {
        const QRgb* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const QRgb* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            worst = std::max({worst, std::abs(qRed(p[col]) - qRed(q[col])), std::abs(qGreen(p[col]) - qGreen(q[col])),
                              std::abs(qBlue(p[col]) - qBlue(q[col]))});
        }
    }
    return worst;
}

// A 300-dpi page with a picture tall enough to be drawn in bands, text and
// a frame: every kind of drawing the sheet replays.
struct PartFixture {
    PartFixture() : page(QSize(2300, 3300), 300, 300) {
        m.PaperWidth = 2480;
        m.PaperHeight = 3508;
        m.OffsetX = 90;
        m.OffsetY = 100;
        m.PrintableWidth = 2300;
        m.PrintableHeight = 3300;
        m.BottomUnprintable = 108;
        m.RightUnprintable = 90;
        m.PixelsPerInchX = m.PixelsPerInchY = 300;
        QImage picture(1200, 900, QImage::Format_RGB888);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) picture.setPixelColor(x, y, QColor(x % 256, y % 256, (x ^ y) % 256));
        }
        page.append(PageImageOp{QRect(200, 150, 1900, 1425), picture});
        page.append(PageRectOp{QRect(100, 1700, 2100, 1400), QPen(Qt::black, 4), QBrush(Qt::NoBrush)});
        PageTextOp text;
        text.topLeft = QPoint(300, 1800);
        text.text = QStringLiteral("2019年5月　令和元年");
        text.font.family = QApplication::font().family();
        text.font.cellHeight = 120;
        text.font.color = Qt::red;
        text.ascent = 100;
        page.append(text);
    }
    PrinterPageMetrics m;
    RecordedPage page;
};

TEST_F(PreviewTest, SheetPartsMatchTheWholeScreenImage) {
    const PartFixture f;
    const double ratio = 1.5;
    const QImage whole = MakeScreenImage(f.page, f.m, 17, 20, ratio, 96, 96);
    ASSERT_FALSE(whole.isNull());
    PreviewSheet sheet;
    sheet.setPage(std::make_shared<RecordedPage>(f.page), f.m, 17, 20, whole.size());
    EXPECT_EQ(sheet.size(), whole.size());
    const QRect parts[] = {
        QRect(QPoint(0, 0), whole.size()),  // all of it
        QRect(0, 0, 300, 200),              // margin values and corner mark
        QRect(250, 137, 611, 333),          // inside the picture, cutting its bands
        QRect(400, 900, 700, 500),          // picture's lower edge, frame and text
        QRect(whole.width() - 120, whole.height() - 90, 120, 90),  // shadow corner
    };
    for (const QRect& r : parts) {
        const QImage part = sheet.renderPart(r);
        ASSERT_EQ(part.size(), r.size());
        EXPECT_LE(largestDifference(part, whole.copy(r)), 2) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    }
}

TEST_F(PreviewTest, ShownPreviewPaintsTheScrolledPartAtHighZoom) {
    base.pictureShown = false;
    auto w = prepared();
    w->show();
    w->FRatio = 3.0;
    w->Display();
    QApplication::processEvents();
    QScrollBar* h = w->ScrollBox1->horizontalScrollBar();
    QScrollBar* v = w->ScrollBox1->verticalScrollBar();
    ASSERT_GT(v->maximum(), 0);
    h->setValue(h->maximum() / 3);
    v->setValue(v->maximum() / 2);
    QApplication::processEvents();
    QWidget* viewport = w->ScrollBox1->viewport();
    const QImage shown = viewport->grab().toImage();
    const QRect seen(w->Image1->mapFrom(viewport, QPoint(0, 0)), viewport->size());
    const QImage whole = MakeScreenImage(*w->currentPage(), w->pageMetrics(), w->UD_LEFT->value(), w->UD_TOP->value(),
                                         3.0, w->logicalDpiX(), w->logicalDpiY());
    ASSERT_EQ(whole.size(), w->Image1->size());
    EXPECT_LE(largestDifference(shown.scaled(seen.size()), whole.copy(seen)), 2);
}

TEST_F(PreviewTest, ScreenImageSizeIsPhysicalTimesRatioRounded) {
    PrinterPageMetrics m;
    m.PaperWidth = 4958;
    m.PaperHeight = 7017;
    m.PixelsPerInchX = m.PixelsPerInchY = 600;
    EXPECT_EQ(screenImageSize(m, 0.5, 96, 96), QSize(409, 573));  // 408.64, 573.36
    EXPECT_EQ(screenImageSize(m, 1.0, 96, 96), QSize(817, 1147));  // 817.28, 1146.72
}

}  // namespace
