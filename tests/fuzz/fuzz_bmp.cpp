// The BMP loader on any bytes: a picture within the pixel limit or an error.
// A 100-byte file may rightly declare a 35-megapixel RLE picture; decoding
// those would spend the campaign filling big buffers, so the reader first
// runs under a small fuzzing budget, and only pictures within it go on
// through the program's own entry point.

#include "fuzz_target.h"

#include "mycal/bmp_reader.h"
#include "mycal/page_picture.h"

#include <QBuffer>

namespace {

constexpr qint64 kFuzzPixels = 4'000'000;

void checkPicture(const mekuri::Expected<QImage>& image, qint64 maxPixels) {
    if (!image.ok()) {
        FUZZ_CHECK(!image.error().isEmpty());
        return;
    }
    const QImage& picture = image.value();
    if (picture.isNull()) return;
    FUZZ_CHECK(picture.format() == QImage::Format_RGB888);
    FUZZ_CHECK(qint64(picture.width()) * picture.height() <= maxPixels);
    // Touch the last row so a short buffer shows under the sanitizers.
    volatile uchar last = picture.constScanLine(picture.height() - 1)[picture.width() * 3 - 1];
    (void)last;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mekuri;
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const Expected<QImage> screened = readBmp(buffer, kFuzzPixels);
    checkPicture(screened, kFuzzPixels);
    if (!screened.ok() && screened.error().contains(QStringLiteral("大きすぎます"))) return 0;
    checkPicture(loadBmp(bytes), kMaxPicturePixels);
    return 0;
}
