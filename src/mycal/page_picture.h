#pragma once

// The page picture: the 24-bit bitmap (QImage::Format_RGB888) the My
// Calendar page stretches into its picture area, loaded from the user's
// picture file when the preview opens. JPEG is decoded by libjpeg at full
// size or at half size through libjpeg's own scaling; BMP is read by our own
// reader. Both refuse a picture over the same pixel limit before allocating
// it, and report damaged or truncated files instead of showing them
// half-grey. Messages are for the standard error report.

#include "settings/expected.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace mekuri {

// The largest picture the program loads, width x height: 100 megapixels,
// well above a 5000 x 7000 photo, far below a 65500 x 65500 header.
inline constexpr qint64 kMaxPicturePixels = 100'000'000;
// libjpeg's own working memory (progressive coefficient buffers and the like).
inline constexpr long kMaxJpegWorkMemory = 512L * 1024 * 1024;
// Progressive scans allowed in one JPEG file.
inline constexpr int kMaxJpegScans = 100;

// "画像が大きすぎます ..." naming the size and the limit.
QString pictureTooLargeMessage(qint64 width, qint64 height);

// Decodes JPEG data (or a file) into an RGB888 image, halfSize for the low
// quality setting (RDO_JPG_QT item 1).
Expected<QImage> decodeJpeg(const QByteArray& data, bool halfSize);
Expected<QImage> decodeJpegFile(const QString& path, bool halfSize);

// Reads BMP data (or a file) into an RGB888 image; width or height 0 gives a
// null image.
Expected<QImage> loadBmp(const QByteArray& data);
Expected<QImage> loadBmpFile(const QString& path);

// How the preview button treats a picture file, by the extension of its
// name from the last "." on, in upper case: ".JPG", ".JPE", ".JPEG" decode as
// JPEG, ".BMP" loads as BMP, anything else leaves the picture as it was.
enum class PictureFileKind { Jpeg, Bmp, Other };
PictureFileKind pictureFileKind(const QString& path);

// Steps 1.2 to 1.5 of the preview button: the picture from path by its kind,
// or current unchanged for any other extension.
Expected<QImage> loadPagePicture(const QString& path, bool halfSize, const QImage& current);

}  // namespace mekuri
