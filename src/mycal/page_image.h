#pragma once

// The recorded page as a picture file: rendered onto a white 24-bit bitmap
// of (page width div divisor) x (page height div divisor), then written as
// JPEG (libjpeg: baseline, colour, quality 90, defaults otherwise, fed the
// bitmap's own rows) or as a true-colour BMP. Every file goes to a temporary
// file first and is moved into place, so a failed save never leaves a
// half-written picture under the user's name.

#include "platform/page_recorder.h"
#include "settings/expected.h"

#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

namespace mekuri {

inline constexpr int kJpegQuality = 90;

// (width div divisor) x (height div divisor); divisor below 1 counts as 1.
QSize pageImageSize(QSize pageSize, int divisor);

// The page stretched onto a white RGB888 bitmap of pageImageSize. A bitmap
// that cannot be allocated is an error naming its size.
Expected<QImage> renderPageImage(const RecordedPage& page, int divisor);

// Encodes image (any format; RGB888 is used as it is) as a baseline colour
// JPEG onto device.
Status writeJpeg(const QImage& image, QIODevice& device, int quality = kJpegQuality);

// Atomic saves.
Status saveJpegFile(const QImage& image, const QString& path, int quality = kJpegQuality);
Status saveBmpFile(const QImage& image, const QString& path);
// PNG, or any other format Qt writes, by its name ("PNG").
Status saveImageFile(const QImage& image, const QString& path, const char* format);

}  // namespace mekuri
