// The recorded page: recording rules, inspection and exact replay.
#include "platform/page_recorder.h"

#include "platform/command_guard.h"
#include "platform/fonts.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <cstring>

using namespace mekuri;

namespace {

PrinterPageMetrics smallMetrics(int w = 200, int h = 100) {
    PrinterPageMetrics m;
    m.PrintableWidth = w;
    m.PrintableHeight = h;
    m.PaperWidth = w + 20;
    m.PaperHeight = h + 20;
    m.PixelsPerInchX = m.PixelsPerInchY = 600;
    m.OffsetX = m.OffsetY = 10;
    return m;
}

QString errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const CommandError& e) {
        return e.message();
    }
    return {};
}

QImage whiteImage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB888);
    img.fill(Qt::white);
    return img;
}

}  // namespace

TEST(PageRecorder, MisuseGivesTheComponentsTexts) {
    PageRecorder r;
    EXPECT_EQ(errorOf([&] { r.GetCanvas(); }), QStringLiteral("TPrintPreview.GetCanvas: not Printing"));
    EXPECT_EQ(errorOf([&] { r.NewPage(); }), QStringLiteral("TPrintPreview.NewPage: not Printing"));
    EXPECT_EQ(errorOf([&] { r.EndDoc(); }), QStringLiteral("TPrintPreview.EndDoc: not Printing"));
    EXPECT_EQ(errorOf([&] { r.GetPage(0); }), QStringLiteral("TPrinterCanvas.GetPage: Index is out of Range"));

    r.BeginDoc(smallMetrics());
    EXPECT_EQ(errorOf([&] { r.BeginDoc(smallMetrics()); }),
              QStringLiteral("TPrintPreview: BeginDoc: Already Printing"));
    EXPECT_EQ(errorOf([&] { r.GetPage(0); }),
              QStringLiteral("TPrinterPreview.GetPage: Pages cannot be used when printing"));
    r.EndDoc();
    EXPECT_EQ(errorOf([&] { r.GetPage(1); }), QStringLiteral("TPrinterCanvas.GetPage: Index is out of Range"));
    EXPECT_EQ(errorOf([&] { r.GetPage(-1); }), QStringLiteral("TPrinterCanvas.GetPage: Index is out of Range"));
}

TEST(PageRecorder, BeginDocDropsEarlierPagesAndPagesHaveThePrintableSize) {
    PageRecorder r;
    r.BeginDoc(smallMetrics());
    r.GetCanvas().rectangle(0, 0, 5, 5);
    r.NewPage();
    r.EndDoc();
    ASSERT_EQ(r.PageCount(), 2);
    EXPECT_EQ(r.GetPage(0)->rects().size(), 1u);
    EXPECT_TRUE(r.GetPage(1)->ops().empty());

    r.BeginDoc(smallMetrics(300, 400));
    r.EndDoc();
    ASSERT_EQ(r.PageCount(), 1);
    EXPECT_TRUE(r.GetPage(0)->ops().empty());
    EXPECT_EQ(r.GetPage(0)->size(), QSize(300, 400));
}

TEST(PageRecorder, TextsAreRecordedWithPositionColourAndCellHeight) {
    installFontSubstitutions();
    PageRecorder r;
    r.BeginDoc(smallMetrics());
    PageCanvas& c = r.GetCanvas();
    c.setFont({QStringLiteral("IPAGothic"), 40, false, Qt::red});
    c.textOut(12, 34, QStringLiteral("日"));
    c.setFontColor(Qt::black);
    c.setFontHeight(20);
    c.textOut(50, 60, QStringLiteral("88"));
    r.EndDoc();

    const auto texts = r.GetPage(0)->texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, QStringLiteral("日"));
    EXPECT_EQ(texts[0].topLeft, QPoint(12, 34));
    EXPECT_EQ(texts[0].font.color, QColor(Qt::red));
    EXPECT_EQ(texts[0].font.cellHeight, 40);
    EXPECT_EQ(texts[1].font.color, QColor(Qt::black));
    EXPECT_EQ(texts[1].font.cellHeight, 20);
    EXPECT_EQ(texts[1].width, pageTextWidth(QStringLiteral("IPAGothic"), 20, false, QStringLiteral("88")));
}

TEST(PageRecorder, CellHeightIsTheRequestedHeightWithinAPixel) {
    installFontSubstitutions();
    for (const char* family : {"IPAGothic", "ＭＳ Ｐ明朝", "ＭＳ ゴシック", "DejaVu Sans"}) {
        for (int height = 8; height <= 1200; height += 13) {
            const int h = pageTextHeight(QString::fromUtf8(family), height, false);
            EXPECT_LE(std::abs(h - height), 1) << family << " asked " << height << " got " << h;
        }
    }
    // The worked example's heights come out exact in the Japanese fonts.
    for (int height : {307, 491}) EXPECT_EQ(pageTextHeight(QStringLiteral("IPAGothic"), height, false), height);
}

TEST(PageRecorder, ImagesAreSharedNotCopied) {
    const QImage picture = whiteImage(40, 30);
    PageRecorder r;
    r.BeginDoc(smallMetrics());
    r.GetCanvas().stretchDraw(QRect(1, 2, 80, 60), picture);
    r.EndDoc();
    const auto images = r.GetPage(0)->images();
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].target, QRect(1, 2, 80, 60));
    EXPECT_EQ(images[0].image.constBits(), picture.constBits());
}

TEST(RecordedPage, RectangleReplaysExactlyAtPrinterScale) {
    RecordedPage page(QSize(20, 10));
    PageCanvas c(page);
    c.rectangle(2, 3, 8, 7);  // right and bottom exclusive: pixels 2..7 x 3..6
    c.setBrush(QBrush(Qt::blue));
    c.setPen(Qt::NoPen);
    c.rectangle(10, 1, 12, 3);

    const QImage img = page.render(QSize(20, 10));
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) {
            QColor want = Qt::white;
            const bool inFrame = x >= 2 && x <= 7 && y >= 3 && y <= 6;
            const bool onEdge = inFrame && (x == 2 || x == 7 || y == 3 || y == 6);
            if (onEdge) want = Qt::black;
            if (x >= 10 && x < 12 && y >= 1 && y < 3) want = Qt::blue;
            ASSERT_EQ(img.pixelColor(x, y), want) << x << "," << y;
        }
    }
}

TEST(RecordedPage, ReplayIgnoresTheTargetCanvasClip) {
    RecordedPage page(QSize(10, 10));
    PageCanvas c(page);
    c.setPen(Qt::NoPen);
    c.setBrush(QBrush(Qt::red));
    c.rectangle(0, 0, 10, 10);

    QImage target = whiteImage(30, 30);
    QPainter p(&target);
    p.setClipRect(0, 0, 5, 5);
    p.translate(10, 10);
    page.replay(p);
    // The painter gets its clip back for its own drawing.
    EXPECT_TRUE(p.hasClipping());
    p.end();
    EXPECT_EQ(target.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(19, 19), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(20, 20), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(9, 9), QColor(Qt::white));
}

TEST(RecordedPage, StretchedReplayScalesEveryOp) {
    RecordedPage page(QSize(100, 50));
    PageCanvas c(page);
    c.setPen(Qt::NoPen);
    c.setBrush(QBrush(Qt::green));
    c.rectangle(50, 0, 100, 50);  // right half

    const QImage img = page.render(QSize(10, 5));
    EXPECT_EQ(img.size(), QSize(10, 5));
    EXPECT_EQ(img.pixelColor(4, 2), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(5, 2), QColor(Qt::green));
    EXPECT_EQ(img.pixelColor(9, 4), QColor(Qt::green));
}

TEST(RecordedPage, ThinLinesStayVisibleWhenShrunk) {
    RecordedPage page(QSize(1000, 1000));
    PageCanvas c(page);
    c.setBrush(Qt::NoBrush);
    c.rectangle(100, 100, 900, 900);
    const QImage img = page.render(QSize(100, 100));
    EXPECT_EQ(img.pixelColor(10, 50), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(50, 50), QColor(Qt::white));
}

TEST(RecordedPage, TextIsDrawnBelowItsTopLeftCorner) {
    installFontSubstitutions();
    RecordedPage page(QSize(200, 200));
    PageCanvas c(page);
    c.setFont({QStringLiteral("IPAGothic"), 80, false, Qt::red});
    c.textOut(50, 60, QStringLiteral("■"));
    const QImage img = page.render(QSize(200, 200));
    int top = -1, bottom = -1, left = -1;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (img.pixelColor(x, y).red() > 200 && img.pixelColor(x, y).green() < 60) {
                if (top < 0) top = y;
                bottom = y;
                if (left < 0 || x < left) left = x;
            }
        }
    }
    ASSERT_GE(top, 0) << "no red glyph drawn";
    EXPECT_GE(top, 60);
    EXPECT_LT(bottom, 60 + 80);
    EXPECT_GE(left, 50);
}

TEST(RecordedPage, AnOverprintShowsOnlyItsOwnColour) {
    installFontSubstitutions();
    RecordedPage page(QSize(400, 200));
    PageCanvas c(page);
    c.setFont({QStringLiteral("IPAGothic"), 150, false, Qt::black});
    c.textOut(10, 10, QStringLiteral("10"));
    c.setFontColor(Qt::red);
    c.textOut(10, 10, QStringLiteral("10"));
    ASSERT_EQ(page.texts().size(), 2u);  // both stay inspectable
    for (double scale : {1.0, 0.3}) {
        const QImage img = page.render(QSize(int(400 * scale), int(200 * scale)));
        int reddish = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QColor px = img.pixelColor(x, y);
                // Antialiased red over white keeps red at full strength;
                // any black fringe would pull red down with green and blue.
                EXPECT_GE(px.red(), 200) << scale << " at " << x << "," << y;
                reddish += px.green() < 100;
            }
        }
        EXPECT_GT(reddish, 0) << scale;
    }
}

TEST(RecordedPage, RenderOfAnImpossibleSizeIsNull) {
    RecordedPage page(QSize(10, 10));
    EXPECT_TRUE(page.render(QSize(0, 10)).isNull());
    // Rows too long for an image: refused without trying to allocate.
    EXPECT_TRUE(page.render(QSize(100000000, 2)).isNull());
}

TEST(RecordedPage, PrintsOntoAPdfPrinterAtItsResolution) {
    installFontSubstitutions();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    printer.setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
    const PrinterPageMetrics m = printerPageMetrics(printer);

    PageRecorder r;
    r.BeginDoc(m);
    PageCanvas& c = r.GetCanvas();
    c.rectangle(100, 100, m.PrintableWidth - 100, 2000);
    c.setFont({QStringLiteral("IPAGothic"), 307, false, Qt::red});
    c.textOut(300, 2200, QStringLiteral("日 31"));
    r.EndDoc();
    EXPECT_EQ(r.GetPage(0)->size(), QSize(m.PrintableWidth, m.PrintableHeight));

    QPainter painter;
    ASSERT_TRUE(painter.begin(&printer));
    r.GetPage(0)->replay(painter);
    ASSERT_TRUE(painter.end());
    const QByteArray pdf = mekuri::test::readFileBytes(dir.filePath(QStringLiteral("page.pdf")));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_GT(pdf.size(), 1000);
}

// A large 24-bit picture is drawn in bands of rows onto an image. Inside
// the picture every pixel must be what one drawImage of the whole picture
// gives, across the band edges too, at 1:1 (the image export), shrunk (the
// preview) and enlarged; only the half-covered pixels along the picture's
// outer edge may round the other way.
TEST(RecordedPage, APictureDrawnInBandsEqualsOnePieceInside) {
    QImage picture(1500, 1000, QImage::Format_RGB888);
    quint32 seed = 7;
    for (int y = 0; y < picture.height(); ++y) {
        uchar* row = picture.scanLine(y);
        for (int x = 0; x < picture.width() * 3; ++x) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = uchar(seed >> 24);  // noise: every neighbour counts
        }
    }
    const QRect target(113, 207, 1200, 777);
    RecordedPage page(QSize(2000, 2000));
    page.append(PageImageOp{target, picture});
    for (const double scale : {1.0, 0.5, 0.37, 2.5}) {
        SCOPED_TRACE(scale);
        const QSize size(int(2000 * scale), int(2000 * scale));
        const QImage banded = page.render(size);
        QImage whole(size, QImage::Format_RGB888);
        whole.fill(Qt::white);
        {
            QPainter p(&whole);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.scale(size.width() / 2000.0, size.height() / 2000.0);
            p.drawImage(QRectF(target), picture.convertToFormat(QImage::Format_RGB32));
        }
        ASSERT_EQ(banded.size(), whole.size());
        const QRectF onImage(target.x() * scale, target.y() * scale, target.width() * scale, target.height() * scale);
        const QRect inside = onImage.toAlignedRect().adjusted(1, 1, -1, -1);
        const QRect edge = onImage.toAlignedRect();
        int differingInside = 0, differingOutside = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                if (banded.pixel(x, y) == whole.pixel(x, y)) continue;
                if (inside.contains(x, y)) ++differingInside;
                else if (!edge.contains(x, y)) ++differingOutside;
            }
        }
        EXPECT_EQ(differingInside, 0);
        EXPECT_EQ(differingOutside, 0);
    }
}
