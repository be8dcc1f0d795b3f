#include "platform/large_buffer.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace mekuri {

namespace {

// Below this a buffer is not worth a huge page.
constexpr std::size_t kLargeBufferBytes = 8u << 20;
constexpr std::size_t kHugePageBytes = 2u << 20;

void freeBuffer(void* data) { std::free(data); }

}  // namespace

void* allocateLargeBuffer(std::size_t size) {
    if (size == 0) return nullptr;
#ifdef Q_OS_LINUX
    if (size >= kLargeBufferBytes && size <= std::numeric_limits<std::size_t>::max() - kHugePageBytes) {
        // aligned_alloc wants a multiple of the alignment.
        const std::size_t rounded = (size + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
        void* data = std::aligned_alloc(kHugePageBytes, rounded);
        // Only advice: the buffer works with small pages just the same.
        if (data) madvise(data, rounded, MADV_HUGEPAGE);
        return data;
    }
#endif
    return std::malloc(size);
}

QImage allocateLargeImage(QSize size, QImage::Format format) {
    if (size.isEmpty() || format == QImage::Format_Invalid) return {};
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    // QImage's own limit on a row, checked before anything is allocated.
    if (depth <= 0 || qint64(size.width()) * depth > std::numeric_limits<int>::max() - 31) return {};
    const qint64 bytesPerLine = (qint64(size.width()) * depth + 31) / 32 * 4;
    const qint64 bytes = bytesPerLine * size.height();
    if (bytes / bytesPerLine != size.height()) return {};
    if (std::uint64_t(bytes) < kLargeBufferBytes) return QImage(size, format);
    if (std::uint64_t(bytes) > std::numeric_limits<std::size_t>::max()) return {};
    auto* data = static_cast<uchar*>(allocateLargeBuffer(std::size_t(bytes)));
    if (!data) return {};
    QImage image(data, size.width(), size.height(), bytesPerLine, format, freeBuffer, data);
    if (image.isNull()) {
        std::free(data);
        return {};
    }
    return image;
}

}  // namespace mekuri
