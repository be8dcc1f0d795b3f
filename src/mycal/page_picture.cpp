#include "mycal/page_picture.h"

#include "mycal/bmp_reader.h"
#include "mycal/jpeg_decoder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

namespace mekuri {

namespace {

// Files past this size are not read into memory: no picture within the
// pixel limit needs that many bytes as JPEG.
constexpr qint64 kMaxJpegFileBytes = 512LL * 1024 * 1024;

QString shownPath(const QString& path) { return QDir::toNativeSeparators(path); }

void freePixels(void* pixels) { std::free(pixels); }

}  // namespace

QString pictureTooLargeMessage(qint64 width, qint64 height) {
    return QStringLiteral("画像が大きすぎます（%1 × %2 ピクセル）。\n\n読み込める画像は1億ピクセル（100メガピクセル）までです。")
        .arg(width)
        .arg(height);
}

Expected<QImage> decodeJpeg(const QByteArray& data, bool halfSize) {
    jpeg::DecodeRequest request;
    request.data = reinterpret_cast<const unsigned char*>(data.constData());
    request.size = size_t(data.size());
    request.halfSize = halfSize;
    request.maxPixels = kMaxPicturePixels;
    request.maxMemory = kMaxJpegWorkMemory;
    request.maxScans = kMaxJpegScans;
    jpeg::DecodeResult result;
    jpeg::decodeRgb(request, result);

    switch (result.failure) {
    case jpeg::Failure::None:
        break;
    case jpeg::Failure::TooLarge:
        return Error{pictureTooLargeMessage(result.width, result.height)};
    case jpeg::Failure::TooManyScans:
        return Error{QStringLiteral("JPEG画像のスキャンが多すぎます（%1を超えています）。\n\n画像が壊れているか、読み込めない形式です。")
                         .arg(kMaxJpegScans)};
    case jpeg::Failure::Damaged:
        return Error{QStringLiteral("JPEG画像が壊れているか、読み込めない形式です。\n\n（%1）")
                         .arg(QString::fromLocal8Bit(result.message))};
    case jpeg::Failure::NoMemory:
        return Error{QStringLiteral("メモリが不足しています。")};
    }
    // The image takes over the buffer libjpeg's rows were written into.
    QImage image(result.pixels, result.width, result.height, result.stride, QImage::Format_RGB888, freePixels,
                 result.pixels);
    if (image.isNull()) {
        std::free(result.pixels);
        return Error{QStringLiteral("メモリが不足しています。")};
    }
    return image;
}

Expected<QImage> decodeJpegFile(const QString& path, bool halfSize) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Error{QStringLiteral("画像ファイル「%1」を開けません。").arg(shownPath(path))};
    }
    if (file.size() > kMaxJpegFileBytes) return Error{QStringLiteral("画像ファイル「%1」が大きすぎます。").arg(shownPath(path))};
    const QByteArray data = file.readAll();
    if (data.size() != file.size()) {
        return Error{QStringLiteral("画像ファイル「%1」を読み込めません。").arg(shownPath(path))};
    }
    Expected<QImage> image = decodeJpeg(data, halfSize);
    if (!image) return Error{QStringLiteral("画像ファイル「%1」を読み込めません。\n\n%2").arg(shownPath(path), image.error())};
    return image;
}

Expected<QImage> loadBmp(const QByteArray& data) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return readBmp(buffer, kMaxPicturePixels);
}

Expected<QImage> loadBmpFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Error{QStringLiteral("画像ファイル「%1」を開けません。").arg(shownPath(path))};
    }
    Expected<QImage> image = readBmp(file, kMaxPicturePixels);
    if (!image) return Error{QStringLiteral("画像ファイル「%1」を読み込めません。\n\n%2").arg(shownPath(path), image.error())};
    return image;
}

PictureFileKind pictureFileKind(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0) return PictureFileKind::Other;
    const QString ext = name.mid(dot).toUpper();
    if (ext == QStringLiteral(".JPG") || ext == QStringLiteral(".JPE") || ext == QStringLiteral(".JPEG")) {
        return PictureFileKind::Jpeg;
    }
    if (ext == QStringLiteral(".BMP")) return PictureFileKind::Bmp;
    return PictureFileKind::Other;
}

Expected<QImage> loadPagePicture(const QString& path, bool halfSize, const QImage& current) {
    switch (pictureFileKind(path)) {
    case PictureFileKind::Jpeg:
        return decodeJpegFile(path, halfSize);
    case PictureFileKind::Bmp:
        return loadBmpFile(path);
    case PictureFileKind::Other:
        break;
    }
    return current;
}

}  // namespace mekuri
