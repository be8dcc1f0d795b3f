// The JPEG decoder wrapper on any bytes, at full and at half size. As for
// BMP, a tiny file may declare a picture just under the limit; libjpeg first
// decodes at full size under a small fuzzing budget (a progressive file
// keeps coefficients for the full size even when scaled), and only pictures
// within it go on, at both sizes, through the program's own entry point.

#include "fuzz_target.h"

#include "mycal/jpeg_decoder.h"
#include "mycal/page_picture.h"

#include <cstdlib>

namespace {

constexpr long long kFuzzPixels = 4'000'000;

// The decoder under the fuzzing budget; false when the picture is over it.
bool withinBudget(const QByteArray& bytes, bool halfSize) {
    using namespace mekuri;
    jpeg::DecodeRequest request;
    request.data = reinterpret_cast<const unsigned char*>(bytes.constData());
    request.size = std::size_t(bytes.size());
    request.halfSize = halfSize;
    request.maxPixels = kFuzzPixels;
    request.maxMemory = kMaxJpegWorkMemory;
    request.maxScans = kMaxJpegScans;
    jpeg::DecodeResult result;
    jpeg::decodeRgb(request, result);
    if (result.failure == jpeg::Failure::None) {
        FUZZ_CHECK(result.pixels != nullptr);
        FUZZ_CHECK(result.stride >= result.width * 3);
        volatile unsigned char last =
            result.pixels[std::size_t(result.stride) * std::size_t(result.height - 1) + std::size_t(result.width) * 3 - 1];
        (void)last;
        std::free(result.pixels);
    } else {
        FUZZ_CHECK(result.pixels == nullptr);
    }
    return result.failure != jpeg::Failure::TooLarge;
}

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
    FUZZ_CHECK(qint64(picture.width()) * picture.height() <= kFuzzPixels);
    volatile uchar last = picture.constScanLine(picture.height() - 1)[picture.width() * 3 - 1];
    (void)last;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!withinBudget(bytes, false)) return 0;
    check(bytes, false);
    (void)withinBudget(bytes, true);
    check(bytes, true);
    return 0;
}
