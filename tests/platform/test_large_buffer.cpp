#include "platform/large_buffer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using namespace mekuri;

namespace {

struct ImageCase {
    const char* name;
    QSize size;
    QImage::Format format;
};

// Small images take QImage's own path, large ones the huge-page buffer; both
// must be indistinguishable from QImage(size, format).
const ImageCase kImages[] = {
    {"small RGB888", {7, 5}, QImage::Format_RGB888},
    {"odd width RGB888 page", {4758, 6817}, QImage::Format_RGB888},
    {"RGB32 screen image", {2453, 3439}, QImage::Format_RGB32},
    {"one long row", {3000000, 1}, QImage::Format_RGB888},
};

}  // namespace

TEST(LargeBuffer, ImagesHaveTheGeometryOfAPlainQImageAndHoldTheirPixels) {
    for (const ImageCase& c : kImages) {
        SCOPED_TRACE(c.name);
        QImage image = allocateLargeImage(c.size, c.format);
        const QImage plain(c.size, c.format);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), c.size);
        EXPECT_EQ(image.format(), c.format);
        EXPECT_EQ(image.bytesPerLine(), plain.bytesPerLine());
        image.fill(Qt::white);
        const QPoint last(c.size.width() - 1, c.size.height() - 1);
        image.setPixelColor(last, Qt::red);
        EXPECT_EQ(image.pixelColor(last), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
    }
}

TEST(LargeBuffer, ACopyDetachesFromTheBufferWhenChanged) {
    QImage image = allocateLargeImage(QSize(3000, 2000), QImage::Format_RGB888);
    ASSERT_FALSE(image.isNull());
    image.fill(Qt::white);
    QImage copy = image;
    copy.setPixelColor(10, 10, Qt::blue);
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::white));
    EXPECT_EQ(copy.pixelColor(10, 10), QColor(Qt::blue));
    image = QImage();  // the buffer goes; the detached copy stays valid
    EXPECT_EQ(copy.pixelColor(2999, 1999), QColor(Qt::white));
}

TEST(LargeBuffer, RefusesWhatQImageRefusesWithoutAllocating) {
    const struct {
        const char* name;
        QSize size;
        QImage::Format format;
    } refused[] = {
        {"empty", {0, 100}, QImage::Format_RGB888},
        {"negative", {-5, 100}, QImage::Format_RGB32},
        {"rows too long for an image", {100000000, 2}, QImage::Format_RGB888},
        {"invalid format", {100, 100}, QImage::Format_Invalid},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(allocateLargeImage(c.size, c.format).isNull());
    }
}

TEST(LargeBuffer, RawBuffersAreWritableAndFreedWithFree) {
    EXPECT_EQ(allocateLargeBuffer(0), nullptr);
    for (const std::size_t size : {std::size_t(100), std::size_t(72'000'001)}) {
        auto* data = static_cast<unsigned char*>(allocateLargeBuffer(size));
        ASSERT_NE(data, nullptr);
        std::memset(data, 0xAB, size);
        EXPECT_EQ(data[size - 1], 0xAB);
        std::free(data);
    }
}
