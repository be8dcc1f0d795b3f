// The BMP loader on any bytes: a picture within the pixel limit or an error.

#include "fuzz_target.h"

#include "mycal/page_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mekuri;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const Expected<QImage> image = loadBmp(bytes);
    if (!image.ok()) {
        FUZZ_CHECK(!image.error().isEmpty());
        return 0;
    }
    const QImage& picture = image.value();
    if (picture.isNull()) return 0;
    FUZZ_CHECK(picture.format() == QImage::Format_RGB888);
    FUZZ_CHECK(qint64(picture.width()) * picture.height() <= kMaxPicturePixels);
    // Touch the last row so a short buffer shows under the sanitizers.
    volatile uchar last = picture.constScanLine(picture.height() - 1)[picture.width() * 3 - 1];
    (void)last;
    return 0;
}
