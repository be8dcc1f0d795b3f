// The JPEG decoder wrapper on any bytes, at full and at half size.

#include "fuzz_target.h"

#include "mycal/page_picture.h"

namespace {

void check(const QByteArray& bytes, bool halfSize) {
    using namespace mekuri;
    const Expected<QImage> image = decodeJpeg(bytes, halfSize);
    if (!image.ok()) {
        FUZZ_CHECK(!image.error().isEmpty());
        return;
    }
    const QImage& picture = image.value();
    FUZZ_CHECK(!picture.isNull());
    FUZZ_CHECK(picture.format() == QImage::Format_RGB888);
    FUZZ_CHECK(qint64(picture.width()) * picture.height() <= kMaxPicturePixels);
    volatile uchar last = picture.constScanLine(picture.height() - 1)[picture.width() * 3 - 1];
    (void)last;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    check(bytes, false);
    check(bytes, true);
    return 0;
}
