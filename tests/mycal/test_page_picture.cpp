// The page picture: JPEG through libjpeg (compared with djpeg's output), BMP
// through our reader, and the refusals of damaged and absurd files.
#include "mycal/page_picture.h"

#include "mycal/jpeg_decoder.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <climits>

using namespace mekuri;
using mekuri::test::readFileBytes;
using mekuri::test::testDataDir;
using mekuri::test::TempProgramDir;

namespace {

QString picturePath(const char* name) { return testDataDir() + QStringLiteral("/pictures/") + QString::fromUtf8(name); }
QByteArray pictureBytes(const char* name) { return readFileBytes(picturePath(name)); }

// djpeg's output: binary PPM (P6) or PGM (P5), maxval 255, as RGB888.
QImage readNetpbm(const QString& path) {
    const QByteArray d = readFileBytes(path);
    QList<QByteArray> fields;
    qsizetype pos = 0;
    while (fields.size() < 4 && pos < d.size()) {
        while (pos < d.size() && QChar(d[pos]).isSpace()) ++pos;
        qsizetype start = pos;
        while (pos < d.size() && !QChar(d[pos]).isSpace()) ++pos;
        fields.append(d.mid(start, pos - start));
    }
    ++pos;  // the single blank after maxval
    const bool grey = fields[0] == "P5";
    const int w = fields[1].toInt(), h = fields[2].toInt();
    QImage img(w, h, QImage::Format_RGB888);
    const uchar* p = reinterpret_cast<const uchar*>(d.constData()) + pos;
    for (int y = 0; y < h; ++y) {
        uchar* out = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            if (grey) {
                out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = *p++;
            } else {
                out[3 * x] = *p++;
                out[3 * x + 1] = *p++;
                out[3 * x + 2] = *p++;
            }
        }
    }
    return img;
}

// Pixel-by-pixel equality with the first difference in the message.
::testing::AssertionResult samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return ::testing::AssertionFailure() << "sizes " << a.width() << "x" << a.height() << " and " << b.width()
                                             << "x" << b.height();
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// The SOF0 frame header's height and width, rewritten.
QByteArray withDeclaredSize(QByteArray jpeg, int width, int height) {
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0) throw std::runtime_error("no SOF0 marker");
    qToBigEndian<quint16>(quint16(height), jpeg.data() + sof + 5);
    qToBigEndian<quint16>(quint16(width), jpeg.data() + sof + 7);
    return jpeg;
}

}  // namespace

TEST(JpegPicture, DecodesLikeDjpeg) {
    struct Case {
        const char* jpeg;
        bool half;
        const char* reference;  // djpeg (-scale 1/2 for half) output
    } cases[] = {
        {"photo.jpg", false, "photo_full.ppm"},
        {"photo.jpg", true, "photo_half.ppm"},
        {"progressive.jpg", false, "progressive_full.ppm"},
        {"gray.jpg", false, "gray_full.pgm"},
    };
    for (const Case& c : cases) {
        const Expected<QImage> img = decodeJpegFile(picturePath(c.jpeg), c.half);
        ASSERT_TRUE(img.ok()) << c.jpeg << ": " << img.error().toStdString();
        EXPECT_EQ(img->format(), QImage::Format_RGB888);
        EXPECT_TRUE(samePixels(*img, readNetpbm(picturePath(c.reference)))) << c.jpeg << (c.half ? " half" : "");
    }
}

TEST(JpegPicture, HalfSizeRoundsOddSidesUp) {
    const Expected<QImage> full = decodeJpegFile(picturePath("photo.jpg"), false);
    const Expected<QImage> half = decodeJpegFile(picturePath("photo.jpg"), true);
    ASSERT_TRUE(full.ok() && half.ok());
    EXPECT_EQ(full->size(), QSize(65, 49));
    EXPECT_EQ(half->size(), QSize(33, 25));
}

TEST(JpegPicture, CmykBecomesRgb) {
    // Four flat blocks: red, green / blue, white, saved as Adobe CMYK.
    const Expected<QImage> img = decodeJpegFile(picturePath("cmyk.jpg"), false);
    ASSERT_TRUE(img.ok()) << img.error().toStdString();
    ASSERT_EQ(img->size(), QSize(32, 32));
    auto near = [](QColor c, int r, int g, int b) {
        return std::abs(c.red() - r) < 60 && std::abs(c.green() - g) < 60 && std::abs(c.blue() - b) < 60;
    };
    EXPECT_TRUE(near(img->pixelColor(8, 8), 255, 0, 0)) << img->pixelColor(8, 8).name().toStdString();
    EXPECT_TRUE(near(img->pixelColor(24, 8), 0, 255, 0)) << img->pixelColor(24, 8).name().toStdString();
    EXPECT_TRUE(near(img->pixelColor(8, 24), 0, 0, 255)) << img->pixelColor(8, 24).name().toStdString();
    EXPECT_TRUE(near(img->pixelColor(24, 24), 255, 255, 255)) << img->pixelColor(24, 24).name().toStdString();
}

TEST(JpegPicture, TruncatedFilesAreDamagedNotHalfGrey) {
    const QByteArray jpeg = pictureBytes("photo.jpg");
    const qsizetype sos = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    ASSERT_GT(sos, 0);
    for (qsizetype cut : {qsizetype(0), qsizetype(2), qsizetype(100), sos + 20, (sos + jpeg.size()) / 2, jpeg.size() - 2}) {
        for (bool half : {false, true}) {
            const Expected<QImage> img = decodeJpeg(jpeg.left(cut), half);
            EXPECT_FALSE(img.ok()) << "cut at " << cut;
            EXPECT_TRUE(img.error().contains(QStringLiteral("壊れている"))) << img.error().toStdString();
        }
    }
}

TEST(JpegPicture, CorruptDataIsReported) {
    const QByteArray jpeg = pictureBytes("photo.jpg");
    const qsizetype sos = jpeg.indexOf(QByteArray("\xFF\xDA", 2));
    QByteArray markerInData = jpeg;
    markerInData.replace((sos + jpeg.size()) / 2, 2, QByteArray("\xFF\xD3", 2));
    QByteArray notJpeg = jpeg;
    notJpeg[0] = 'X';
    const QByteArray cases[] = {markerInData, notJpeg, QByteArray("garbage, not a picture")};
    for (const QByteArray& data : cases) {
        const Expected<QImage> img = decodeJpeg(data, false);
        EXPECT_FALSE(img.ok());
        EXPECT_TRUE(img.error().contains(QStringLiteral("JPEG画像が壊れている"))) << img.error().toStdString();
    }
}

TEST(JpegPicture, AbsurdDeclaredSizeIsRefusedBeforeDecoding) {
    const QByteArray jpeg = pictureBytes("photo.jpg");
    for (bool half : {false, true}) {
        const Expected<QImage> img = decodeJpeg(withDeclaredSize(jpeg, 65500, 65500), half);
        ASSERT_FALSE(img.ok());
        EXPECT_TRUE(img.error().contains(QStringLiteral("1億ピクセル"))) << img.error().toStdString();
        EXPECT_TRUE(img.error().contains(half ? QStringLiteral("32750") : QStringLiteral("65500")));
    }
    // The limit is checked on the size actually decoded: at half size a
    // 14000 x 14000 header (196 megapixels) becomes 49 and passes the check.
    jpeg::DecodeRequest request;
    const QByteArray big = withDeclaredSize(jpeg, 14000, 14000);
    request.data = reinterpret_cast<const unsigned char*>(big.constData());
    request.size = size_t(big.size());
    request.maxPixels = kMaxPicturePixels;
    request.maxMemory = kMaxJpegWorkMemory;
    request.halfSize = true;
    jpeg::DecodeResult result;
    jpeg::decodeRgb(request, result);
    EXPECT_NE(result.failure, jpeg::Failure::TooLarge);
    EXPECT_EQ(result.pixels, nullptr);  // the data is missing: damaged, buffer freed
    EXPECT_EQ(result.failure, jpeg::Failure::Damaged);
}

TEST(JpegPicture, APhotoOf5000By7000IsWithinTheLimit) {
    // The header passes the size check; decoding then finds the data missing.
    const Expected<QImage> img = decodeJpeg(withDeclaredSize(pictureBytes("photo.jpg"), 5000, 7000), false);
    ASSERT_FALSE(img.ok());
    EXPECT_FALSE(img.error().contains(QStringLiteral("大きすぎます"))) << img.error().toStdString();
    EXPECT_GE(kMaxPicturePixels, 5000LL * 7000);
}

TEST(JpegPicture, TooManyProgressiveScansAreRefused) {
    // 190 scans: a legal progression, but no real picture needs it.
    const Expected<QImage> img = decodeJpegFile(picturePath("many_scans.jpg"), false);
    ASSERT_FALSE(img.ok());
    EXPECT_TRUE(img.error().contains(QStringLiteral("スキャンが多すぎます"))) << img.error().toStdString();
    EXPECT_TRUE(decodeJpegFile(picturePath("progressive.jpg"), false).ok());
}

TEST(JpegPicture, MissingFileIsReported) {
    const Expected<QImage> img = decodeJpegFile(picturePath("no_such_file.jpg"), false);
    ASSERT_FALSE(img.ok());
    EXPECT_TRUE(img.error().contains(QStringLiteral("開けません")));
}

TEST(PictureFile, KindByExtension) {
    struct Case {
        const char* path;
        PictureFileKind kind;
    } cases[] = {
        {"/p/a.jpg", PictureFileKind::Jpeg},   {"/p/a.JPG", PictureFileKind::Jpeg},
        {"/p/a.jpe", PictureFileKind::Jpeg},   {"/p/a.Jpeg", PictureFileKind::Jpeg},
        {"/p/a.b.JPEG", PictureFileKind::Jpeg}, {"/p/a.bmp", PictureFileKind::Bmp},
        {"/p/a.Bmp", PictureFileKind::Bmp},    {"/p/a.png", PictureFileKind::Other},
        {"/p/a.jpg.png", PictureFileKind::Other}, {"/p/a", PictureFileKind::Other},
        {"/p.jpg/a", PictureFileKind::Other},  {"/p/a.jpgx", PictureFileKind::Other},
        {"", PictureFileKind::Other},
    };
    for (const Case& c : cases) EXPECT_EQ(pictureFileKind(QString::fromUtf8(c.path)), c.kind) << c.path;
}

TEST(PictureFile, PreviewLoadsByExtensionAndLeavesOthersAlone) {
    TempProgramDir dir;
    const QByteArray jpeg = pictureBytes("photo.jpg");
    dir.write(QStringLiteral("a.jpe"), jpeg);
    dir.write(QStringLiteral("b.Jpeg"), jpeg);
    dir.write(QStringLiteral("c.png"), jpeg);
    QImage source(7, 5, QImage::Format_RGB888);
    source.fill(QColor(10, 20, 30));
    ASSERT_TRUE(source.save(dir.path(QStringLiteral("d.bmp")), "BMP"));

    const QImage reference = readNetpbm(picturePath("photo_full.ppm"));
    for (const char* name : {"a.jpe", "b.Jpeg"}) {
        const Expected<QImage> img = loadPagePicture(dir.path(QString::fromUtf8(name)), false, QImage());
        ASSERT_TRUE(img.ok()) << name << ": " << img.error().toStdString();
        EXPECT_TRUE(samePixels(*img, reference)) << name;
    }
    const Expected<QImage> half = loadPagePicture(dir.path(QStringLiteral("a.jpe")), true, QImage());
    ASSERT_TRUE(half.ok());
    EXPECT_EQ(half->size(), QSize(33, 25));

    // Another extension leaves the picture as it was: empty on first use.
    const Expected<QImage> png = loadPagePicture(dir.path(QStringLiteral("c.png")), false, QImage());
    ASSERT_TRUE(png.ok());
    EXPECT_TRUE(png->isNull());
    const Expected<QImage> kept = loadPagePicture(dir.path(QStringLiteral("c.png")), false, source);
    ASSERT_TRUE(kept.ok());
    EXPECT_EQ(kept->constBits(), source.constBits());

    const Expected<QImage> bmp = loadPagePicture(dir.path(QStringLiteral("d.bmp")), true, QImage());
    ASSERT_TRUE(bmp.ok()) << bmp.error().toStdString();
    EXPECT_TRUE(samePixels(*bmp, source));  // BMP ignores the half-size setting
}

// --- BMP ---

namespace {

struct BmpSpec {
    int bitCount = 24;
    bool topDown = false;
    quint32 compression = 0;
    int width = 0;
    qint32 heightField = 0;  // 0: from the image and topDown
};

void put16(QByteArray& b, quint16 v) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}
void put32(QByteArray& b, quint32 v) {
    put16(b, quint16(v & 0xFFFF));
    put16(b, quint16(v >> 16));
}

// A BMP of image (24 or 32 bits, or 8 bits with a grey palette of the red
// channel), written the way Windows writes it.
QByteArray makeBmp(const QImage& image, int bitCount, bool topDown) {
    const int w = image.width(), h = image.height();
    const int rowSize = (w * bitCount + 31) / 32 * 4;
    const int paletteSize = bitCount == 8 ? 256 * 4 : 0;
    const quint32 offBits = 14 + 40 + paletteSize;
    QByteArray b("BM");
    put32(b, offBits + rowSize * h);
    put32(b, 0);
    put32(b, offBits);
    put32(b, 40);
    put32(b, quint32(w));
    put32(b, quint32(topDown ? -h : h));
    put16(b, 1);
    put16(b, quint16(bitCount));
    put32(b, 0);
    put32(b, rowSize * h);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int i = 0; i < paletteSize / 4; ++i) put32(b, quint32(i * 0x010101));
    for (int i = 0; i < h; ++i) {
        const int y = topDown ? i : h - 1 - i;
        QByteArray row;
        for (int x = 0; x < w; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (bitCount == 8) {
                row.append(char(c.red()));
            } else {
                row.append(char(c.blue()));
                row.append(char(c.green()));
                row.append(char(c.red()));
                if (bitCount == 32) row.append(char(0));
            }
        }
        row.resize(rowSize, '\0');
        b.append(row);
    }
    return b;
}

QImage testImage(bool grey = false) {
    QImage img(13, 7, QImage::Format_RGB888);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const int v = (x * 19 + y * 37) % 256;
            img.setPixelColor(x, y, grey ? QColor(v, v, v) : QColor(v, (x * 40) % 256, (y * 50) % 256));
        }
    }
    return img;
}

void setHeightField(QByteArray& bmp, qint32 height) { qToLittleEndian<qint32>(height, bmp.data() + 22); }

}  // namespace

TEST(BmpPicture, BottomUpAndTopDownLoadTheSamePicture) {
    const QImage source = testImage();
    for (int bits : {24, 32}) {
        const Expected<QImage> up = loadBmp(makeBmp(source, bits, false));
        const Expected<QImage> down = loadBmp(makeBmp(source, bits, true));
        ASSERT_TRUE(up.ok()) << up.error().toStdString();
        ASSERT_TRUE(down.ok()) << down.error().toStdString();
        EXPECT_EQ(up->format(), QImage::Format_RGB888);
        EXPECT_TRUE(samePixels(*up, source)) << bits << " bottom-up";
        EXPECT_TRUE(samePixels(*down, source)) << bits << " top-down";
    }
    const QImage grey = testImage(true);
    const Expected<QImage> paletted = loadBmp(makeBmp(grey, 8, false));
    ASSERT_TRUE(paletted.ok()) << paletted.error().toStdString();
    EXPECT_TRUE(samePixels(*paletted, grey));
}

TEST(BmpPicture, ReadsWhatQtWrites) {
    // Qt's writer as an independent source of files (1, 8 and 24 bits).
    struct Case {
        const char* name;
        QImage::Format format;
    } cases[] = {{"mono", QImage::Format_Mono}, {"indexed", QImage::Format_Indexed8}, {"rgb", QImage::Format_RGB32}};
    const QImage source = testImage();
    for (const Case& c : cases) {
        QImage converted = source.convertToFormat(c.format);
        QByteArray bytes;
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(converted.save(&buf, "BMP")) << c.name;
        const Expected<QImage> img = loadBmp(bytes);
        ASSERT_TRUE(img.ok()) << c.name << ": " << img.error().toStdString();
        EXPECT_TRUE(samePixels(*img, converted.convertToFormat(QImage::Format_RGB888))) << c.name;
    }
}

TEST(BmpPicture, Rle8Decodes) {
    // 4 x 2, palette 0 black, 1 red, 2 blue; bottom row "1 1 1 2", top row
    // an absolute run "2 1 2" and one pixel left at the background.
    QByteArray b("BM");
    const quint32 offBits = 14 + 40 + 3 * 4;
    const QByteArray data("\x03\x01\x01\x02\x00\x00"
                          "\x00\x03\x02\x01\x02\x00\x00\x00"
                          "\x00\x01",
                          16);
    put32(b, offBits + data.size());
    put32(b, 0);
    put32(b, offBits);
    put32(b, 40);
    put32(b, 4);
    put32(b, 2);
    put16(b, 1);
    put16(b, 8);
    put32(b, 1);  // BI_RLE8
    put32(b, quint32(data.size()));
    put32(b, 0);
    put32(b, 0);
    put32(b, 3);
    put32(b, 0);
    put32(b, 0x000000);
    put32(b, 0xFF0000);
    put32(b, 0x0000FF);
    b.append(data);
    const Expected<QImage> img = loadBmp(b);
    ASSERT_TRUE(img.ok()) << img.error().toStdString();
    ASSERT_EQ(img->size(), QSize(4, 2));
    const QColor black(0, 0, 0), red(255, 0, 0), blue(0, 0, 255);
    const QColor want[2][4] = {{blue, red, blue, black}, {red, red, red, blue}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(img->pixelColor(x, y), want[y][x]) << x << "," << y;
}

TEST(BmpPicture, BadFilesAreRefusedWithAReason) {
    const QByteArray good = makeBmp(testImage(), 24, false);
    QByteArray intMinHeight = good;
    setHeightField(intMinHeight, INT_MIN);
    QByteArray hugeNoData = good.left(54);
    qToLittleEndian<qint32>(65500, hugeNoData.data() + 18);
    setHeightField(hugeNoData, 65500);
    QByteArray hugeTopDown = hugeNoData;
    setHeightField(hugeTopDown, -65500);
    QByteArray notBmp = good;
    notBmp[0] = 'X';
    QByteArray rle24 = good;
    qToLittleEndian<quint32>(1, rle24.data() + 30);  // RLE8 with 24 bits
    QByteArray jpegInside = good;
    qToLittleEndian<quint32>(4, jpegInside.data() + 30);

    struct Case {
        const char* name;
        QByteArray bytes;
        const char* says;
    } cases[] = {
        {"INT_MIN height", intMinHeight, "高さの値が不正です"},
        {"pixel data cut short", good.left(good.size() - 40), "画素データが足りません"},
        {"header only", good.left(54), "画素データが足りません"},
        {"65500 x 65500", hugeNoData, "1億ピクセル"},
        {"65500 x 65500 top-down", hugeTopDown, "1億ピクセル"},
        {"no BM mark", notBmp, "BMPの印がありません"},
        {"header cut short", good.left(20), "ヘッダーが足りません"},
        {"RLE8 at 24 bits", rle24, "圧縮とビット数が合いません"},
        {"embedded JPEG", jpegInside, "対応していません"},
        {"empty", QByteArray(), "ヘッダーが足りません"},
    };
    for (const Case& c : cases) {
        const Expected<QImage> img = loadBmp(c.bytes);
        ASSERT_FALSE(img.ok()) << c.name;
        EXPECT_TRUE(img.error().contains(QString::fromUtf8(c.says))) << c.name << ": " << img.error().toStdString();
    }
}

TEST(BmpPicture, LastRowWithoutPaddingStillLoads) {
    const QImage source = testImage();  // 13 px: 39 bytes a row, padded to 40
    const QByteArray bmp = makeBmp(source, 24, false);
    const Expected<QImage> img = loadBmp(bmp.left(bmp.size() - 1));
    ASSERT_TRUE(img.ok()) << img.error().toStdString();
    EXPECT_TRUE(samePixels(*img, source));
}

TEST(BmpPicture, ZeroSizeIsAnEmptyPicture) {
    QByteArray bmp = makeBmp(testImage(), 24, false);
    setHeightField(bmp, 0);
    const Expected<QImage> img = loadBmp(bmp);
    ASSERT_TRUE(img.ok()) << img.error().toStdString();
    EXPECT_TRUE(img->isNull());
}
