// The page as a picture file: size by the divisor, the page stretched onto
// white, a baseline colour JPEG of quality 90 that decodes to the page, a
// 24-bit BMP, and files that are never left half-written.
#include "mycal/page_image.h"

#include "mycal/page_picture.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

using namespace mekuri;
using namespace mekuri::test;

namespace {

// A page of 400 x 600 printer pixels: a black block, a red block, white elsewhere.
RecordedPage samplePage() {
    RecordedPage page(QSize(400, 600), 600, 600);
    page.append(PageRectOp{QRect(0, 0, 200, 200), QPen(Qt::black), QBrush(Qt::black)});
    page.append(PageRectOp{QRect(200, 300, 200, 300), QPen(Qt::red), QBrush(Qt::red)});
    return page;
}

TEST(PageImage, SizeIsThePageDividedAndTruncated) {
    const struct {
        QSize page;
        int divisor;
        QSize image;
    } cases[] = {
        {QSize(4760, 6814), 3, QSize(1586, 2271)},
        {QSize(4760, 6814), 4, QSize(1190, 1703)},
        {QSize(4760, 6814), 1, QSize(4760, 6814)},
        {QSize(4760, 6814), 15, QSize(317, 454)},
        {QSize(4760, 6814), 0, QSize(4760, 6814)},
    };
    for (const auto& c : cases) EXPECT_EQ(pageImageSize(c.page, c.divisor), c.image) << c.divisor;
}

TEST(PageImage, PageIsStretchedOntoWhite) {
    Expected<QImage> img = renderPageImage(samplePage(), 2);
    ASSERT_TRUE(img.ok());
    EXPECT_EQ(img->size(), QSize(200, 300));
    EXPECT_EQ(img->format(), QImage::Format_RGB888);
    EXPECT_EQ(img->pixelColor(50, 50), QColor(Qt::black));
    EXPECT_EQ(img->pixelColor(150, 250), QColor(Qt::red));
    EXPECT_EQ(img->pixelColor(150, 50), QColor(Qt::white));
    EXPECT_EQ(img->pixelColor(50, 250), QColor(Qt::white));
}

struct JpegFacts {
    bool ok = false;
    bool progressive = true;
    int components = 0;
    J_COLOR_SPACE colorSpace = JCS_UNKNOWN;
    unsigned quant[2][64] = {};  // natural order
};

struct ReadError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void readErrorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ReadError*>(cinfo->err)->jump, 1); }

bool readHeader(jpeg_decompress_struct* cinfo, ReadError* err, const QByteArray* bytes, JpegFacts* facts) {
    cinfo->err = jpeg_std_error(&err->pub);
    err->pub.error_exit = readErrorExit;
    if (setjmp(err->jump)) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char*>(bytes->constData()), (unsigned long)bytes->size());
    jpeg_read_header(cinfo, TRUE);
    facts->progressive = cinfo->progressive_mode;
    facts->components = cinfo->num_components;
    facts->colorSpace = cinfo->jpeg_color_space;
    for (int t = 0; t < 2; ++t) {
        if (!cinfo->quant_tbl_ptrs[t]) return false;
        for (int i = 0; i < 64; ++i) facts->quant[t][i] = cinfo->quant_tbl_ptrs[t]->quantval[i];
    }
    jpeg_destroy_decompress(cinfo);
    return true;
}

JpegFacts jpegFacts(const QByteArray& bytes) {
    JpegFacts facts;
    jpeg_decompress_struct cinfo{};
    ReadError err{};
    facts.ok = readHeader(&cinfo, &err, &bytes, &facts);
    return facts;
}

// The example tables of the JPEG standard (K.1, K.2), natural order, as
// libjpeg scales them for a quality: q < 50 ? 5000 / q : 200 - 2q percent.
const unsigned kStdLuminance[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
const unsigned kStdChrominance[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

unsigned scaled(unsigned base, int quality) {
    const long scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
    long q = (long(base) * scale + 50) / 100;
    return unsigned(qBound(1L, q, 255L));
}

TEST(PageImage, JpegIsBaselineColourQuality90AndDecodesToThePage) {
    TempProgramDir dir;
    Expected<QImage> img = renderPageImage(samplePage(), 1);
    ASSERT_TRUE(img.ok());
    const QString path = dir.path(QStringLiteral("page.jpg"));
    ASSERT_TRUE(saveJpegFile(img.value(), path).ok());

    const QByteArray bytes = dir.read(QStringLiteral("page.jpg"));
    EXPECT_TRUE(bytes.contains(QByteArray("\xFF\xC0", 2))) << "SOF0: baseline";
    const JpegFacts facts = jpegFacts(bytes);
    ASSERT_TRUE(facts.ok);
    EXPECT_FALSE(facts.progressive);
    EXPECT_EQ(facts.components, 3);
    EXPECT_EQ(facts.colorSpace, JCS_YCbCr);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(facts.quant[0][i], scaled(kStdLuminance[i], 90)) << "luminance " << i;
        EXPECT_EQ(facts.quant[1][i], scaled(kStdChrominance[i], 90)) << "chrominance " << i;
    }

    Expected<QImage> decoded = decodeJpegFile(path, false);
    ASSERT_TRUE(decoded.ok());
    ASSERT_EQ(decoded->size(), img->size());
    for (const QPoint p : {QPoint(100, 100), QPoint(300, 450), QPoint(300, 100), QPoint(100, 450), QPoint(399, 599)}) {
        const QColor a = decoded->pixelColor(p);
        const QColor b = img->pixelColor(p);
        EXPECT_NEAR(a.red(), b.red(), 8) << p.x() << "," << p.y();
        EXPECT_NEAR(a.green(), b.green(), 8) << p.x() << "," << p.y();
        EXPECT_NEAR(a.blue(), b.blue(), 8) << p.x() << "," << p.y();
    }
}

TEST(PageImage, JpegOfAnOddSizedImageWithPaddedRows) {
    // 101 pixels * 3 bytes: rows are padded to 4 bytes in the bitmap.
    QImage img(101, 7, QImage::Format_RGB888);
    img.fill(QColor(0, 0, 255));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeJpeg(img, buffer).ok());
    Expected<QImage> decoded = decodeJpeg(buffer.data(), false);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded->size(), QSize(101, 7));
    EXPECT_NEAR(decoded->pixelColor(100, 6).blue(), 255, 8);
    EXPECT_NEAR(decoded->pixelColor(100, 6).red(), 0, 8);
}

TEST(PageImage, BmpIsTrueColourAndExact) {
    TempProgramDir dir;
    Expected<QImage> img = renderPageImage(samplePage(), 3);
    ASSERT_TRUE(img.ok());
    ASSERT_TRUE(saveBmpFile(img.value(), dir.path(QStringLiteral("page.bmp"))).ok());
    const QByteArray bytes = dir.read(QStringLiteral("page.bmp"));
    ASSERT_GT(bytes.size(), 30);
    EXPECT_TRUE(bytes.startsWith("BM"));
    EXPECT_EQ(quint8(bytes[28]) | (quint8(bytes[29]) << 8), 24) << "bits per pixel";
    const QImage back(dir.path(QStringLiteral("page.bmp")));
    ASSERT_EQ(back.size(), img->size());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB888), img.value());
}

TEST(PageImage, FailedSaveLeavesTheOldFileAndNoTemporary) {
    TempProgramDir dir;
    dir.write(QStringLiteral("page.jpg"), "old");
    EXPECT_FALSE(saveJpegFile(QImage(), dir.path(QStringLiteral("page.jpg"))).ok());
    EXPECT_FALSE(saveBmpFile(QImage(), dir.path(QStringLiteral("page.jpg"))).ok());
    EXPECT_EQ(dir.read(QStringLiteral("page.jpg")), QByteArray("old"));
    EXPECT_EQ(QDir(dir.dir()).entryList(QDir::Files), QStringList{QStringLiteral("page.jpg")});
    EXPECT_FALSE(saveJpegFile(renderPageImage(samplePage(), 4).value(), dir.path(QStringLiteral("no/such/x.jpg"))).ok());
}

TEST(PageImage, WriteFailureOfTheDeviceIsReported) {
    Expected<QImage> img = renderPageImage(samplePage(), 1);
    ASSERT_TRUE(img.ok());
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_FALSE(writeJpeg(img.value(), readOnly).ok());
}

TEST(PageImage, BitmapTooLargeToAllocateIsAClearError) {
    // 300000 x 300000 at 3 bytes a pixel: far beyond any memory.
    const RecordedPage huge(QSize(300000, 300000), 600, 600);
    Expected<QImage> img = renderPageImage(huge, 1);
    ASSERT_FALSE(img.ok());
    EXPECT_TRUE(img.error().contains(QStringLiteral("300000 × 300000"))) << img.error().toStdString();
    EXPECT_TRUE(img.error().contains(QStringLiteral("メモリー"))) << img.error().toStdString();
}

}  // namespace
