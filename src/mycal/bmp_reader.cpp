#include "mycal/bmp_reader.h"

#include "mycal/page_picture.h"

#include <QByteArray>
#include <QIODevice>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <vector>

namespace mekuri {

namespace {

enum : quint32 { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6 };

quint16 u16(const uchar* p) { return quint16(p[0] | (p[1] << 8)); }
quint32 u32(const uchar* p) { return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24); }
qint32 s32(const uchar* p) { return qint32(u32(p)); }

Error damaged(const QString& why) { return Error{QStringLiteral("BMP画像が壊れています（%1）。").arg(why)}; }
Error unsupported(const QString& why) {
    return Error{QStringLiteral("この形式のBMP画像には対応していません（%1）。").arg(why)};
}
Error missingPixels() { return damaged(QStringLiteral("画素データが足りません")); }

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(quint32 m = 0) : mask(m) {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::popcount(m);
        }
    }
    uchar operator()(quint32 px) const {
        if (!bits) return 0;
        const quint32 v = (px & mask) >> shift;
        if (bits >= 8) return uchar(v >> (bits - 8));
        return uchar(v * 255 / ((1u << bits) - 1));
    }
};

struct Header {
    qint64 width = 0;
    qint64 height = 0;
    bool topDown = false;
    int bitCount = 0;
    quint32 compression = BI_RGB;
    std::array<quint32, 3> masks{};
    qint64 offBits = 0;
    std::vector<QRgb> palette;
};

bool readExact(QIODevice& device, qint64 pos, char* out, qint64 n) {
    return device.seek(pos) && device.read(out, n) == n;
}

Expected<Header> readHeader(QIODevice& device, qint64 fileSize) {
    uchar head[14 + 124] = {};
    if (fileSize < 14 + 12 || !readExact(device, 0, reinterpret_cast<char*>(head), 18)) {
        return damaged(QStringLiteral("ヘッダーが足りません"));
    }
    if (head[0] != 'B' || head[1] != 'M') return damaged(QStringLiteral("BMPの印がありません"));
    Header h;
    h.offBits = u32(head + 10);
    const quint32 infoSize = u32(head + 14);
    if (infoSize < 12 || (infoSize > 12 && infoSize < 16)) return damaged(QStringLiteral("ヘッダーの大きさが不正です"));
    const qint64 toRead = std::min<qint64>(infoSize, 124);
    if (14 + qint64(infoSize) > fileSize || !readExact(device, 14, reinterpret_cast<char*>(head + 14), toRead)) {
        return damaged(QStringLiteral("ヘッダーが足りません"));
    }
    const uchar* info = head + 14;
    qint64 paletteOffset = 14 + qint64(infoSize);
    int paletteEntrySize = 4;
    quint32 colorsUsed = 0;
    if (infoSize == 12) {  // OS/2 core header
        h.width = u16(info + 4);
        h.height = u16(info + 6);
        h.bitCount = u16(info + 10);
        paletteEntrySize = 3;
    } else {
        h.width = s32(info + 4);
        const qint32 height = s32(info + 8);
        if (height == INT_MIN) return damaged(QStringLiteral("高さの値が不正です"));
        h.topDown = height < 0;
        h.height = height < 0 ? -qint64(height) : height;
        h.bitCount = u16(info + 14);
        h.compression = infoSize >= 20 ? u32(info + 16) : BI_RGB;
        colorsUsed = infoSize >= 36 ? u32(info + 32) : 0;
        if (h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS) {
            if (infoSize >= 52) {
                h.masks = {u32(info + 40), u32(info + 44), u32(info + 48)};
            } else {
                uchar m[12];
                if (!readExact(device, 14 + infoSize, reinterpret_cast<char*>(m), 12)) {
                    return damaged(QStringLiteral("ビットマスクが足りません"));
                }
                h.masks = {u32(m), u32(m + 4), u32(m + 8)};
                paletteOffset += h.compression == BI_ALPHABITFIELDS ? 16 : 12;
            }
        }
    }
    if (h.width < 0) return damaged(QStringLiteral("幅の値が不正です"));

    switch (h.compression) {
    case BI_RGB:
        if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 16 && h.bitCount != 24 &&
            h.bitCount != 32) {
            return unsupported(QStringLiteral("%1ビット").arg(h.bitCount));
        }
        break;
    case BI_RLE8:
    case BI_RLE4:
        if (h.bitCount != (h.compression == BI_RLE8 ? 8 : 4)) return damaged(QStringLiteral("圧縮とビット数が合いません"));
        if (h.topDown) return damaged(QStringLiteral("圧縮された画像の高さが負です"));
        break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
        if (h.bitCount != 16 && h.bitCount != 32) return damaged(QStringLiteral("圧縮とビット数が合いません"));
        break;
    default:
        return unsupported(QStringLiteral("圧縮形式 %1").arg(h.compression));
    }
    if (h.compression == BI_RGB && h.bitCount == 16) h.masks = {0x7C00, 0x03E0, 0x001F};
    if (h.compression == BI_RGB && h.bitCount == 32) h.masks = {0xFF0000, 0x00FF00, 0x0000FF};

    if (h.bitCount <= 8) {
        const quint32 maxColors = 1u << h.bitCount;
        const quint32 n = (colorsUsed == 0 || colorsUsed > maxColors) ? maxColors : colorsUsed;
        std::vector<uchar> raw(size_t(n) * paletteEntrySize);
        if (!readExact(device, paletteOffset, reinterpret_cast<char*>(raw.data()), qint64(raw.size()))) {
            return damaged(QStringLiteral("パレットが足りません"));
        }
        h.palette.resize(n);
        for (quint32 i = 0; i < n; ++i) {
            const uchar* e = raw.data() + size_t(i) * paletteEntrySize;
            h.palette[i] = qRgb(e[2], e[1], e[0]);
        }
    }
    if (h.offBits < 14 + qint64(infoSize) || h.offBits > fileSize) {
        return damaged(QStringLiteral("画素データの位置が不正です"));
    }
    return h;
}

QRgb paletteColor(const Header& h, uint index) {
    return index < h.palette.size() ? h.palette[index] : qRgb(0, 0, 0);
}

void putPixel(uchar* out, QRgb c) {
    out[0] = uchar(qRed(c));
    out[1] = uchar(qGreen(c));
    out[2] = uchar(qBlue(c));
}

Status readUncompressed(QIODevice& device, qint64 fileSize, const Header& h, QImage& image) {
    const qint64 rowBytes = (h.width * h.bitCount + 7) / 8;
    const qint64 rowSize = (h.width * h.bitCount + 31) / 32 * 4;
    // The last row's padding is often left out by writers; its pixels not.
    if (h.offBits + rowSize * (h.height - 1) + rowBytes > fileSize) return missingPixels();
    const Channel r(h.masks[0]), g(h.masks[1]), b(h.masks[2]);
    QByteArray buffer(rowBytes, Qt::Uninitialized);
    for (qint64 i = 0; i < h.height; ++i) {
        if (!readExact(device, h.offBits + i * rowSize, buffer.data(), rowBytes)) return missingPixels();
        const uchar* in = reinterpret_cast<const uchar*>(buffer.constData());
        uchar* out = image.scanLine(int(h.topDown ? i : h.height - 1 - i));
        for (qint64 x = 0; x < h.width; ++x, out += 3) {
            switch (h.bitCount) {
            case 1:
                putPixel(out, paletteColor(h, (in[x >> 3] >> (7 - (x & 7))) & 1));
                break;
            case 4:
                putPixel(out, paletteColor(h, (x & 1) ? (in[x >> 1] & 0x0F) : (in[x >> 1] >> 4)));
                break;
            case 8:
                putPixel(out, paletteColor(h, in[x]));
                break;
            case 16: {
                const quint32 px = u16(in + 2 * x);
                out[0] = r(px);
                out[1] = g(px);
                out[2] = b(px);
                break;
            }
            case 24:
                out[0] = in[3 * x + 2];
                out[1] = in[3 * x + 1];
                out[2] = in[3 * x];
                break;
            case 32: {
                const quint32 px = u32(in + 4 * x);
                out[0] = r(px);
                out[1] = g(px);
                out[2] = b(px);
                break;
            }
            }
        }
    }
    return Status::success();
}

Status readRle(QIODevice& device, qint64 fileSize, const Header& h, QImage& image) {
    // An RLE stream can hardly be larger than twice the pixels; cap what is
    // read so a hostile size field cannot make us read a huge file.
    const qint64 cap = 2 * h.width * h.height + 4 * h.height + 64;
    const qint64 size = std::min(fileSize - h.offBits, cap);
    if (size <= 0) return missingPixels();
    QByteArray data(size, Qt::Uninitialized);
    if (!readExact(device, h.offBits, data.data(), size)) return missingPixels();
    const uchar* p = reinterpret_cast<const uchar*>(data.constData());
    const uchar* end = p + size;

    const QRgb background = paletteColor(h, 0);
    for (int y = 0; y < int(h.height); ++y) {
        uchar* out = image.scanLine(y);
        for (qint64 x = 0; x < h.width; ++x) putPixel(out + 3 * x, background);
    }
    const bool rle4 = h.compression == BI_RLE4;
    qint64 x = 0, y = 0;  // y counts up from the bottom row
    auto put = [&](uint index) {
        if (x < h.width && y < h.height) putPixel(image.scanLine(int(h.height - 1 - y)) + 3 * x, paletteColor(h, index));
        ++x;
    };
    while (y < h.height) {
        if (end - p < 2) return y >= h.height - 1 ? Status::success() : missingPixels();
        const uint count = p[0];
        const uint value = p[1];
        p += 2;
        if (count > 0) {  // a run of one index (RLE4: two alternating)
            for (uint i = 0; i < count; ++i) put(rle4 ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
        } else if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            return Status::success();
        } else if (value == 2) {  // delta
            if (end - p < 2) return missingPixels();
            x += p[0];
            y += p[1];
            p += 2;
        } else {  // absolute run of `value` pixels, padded to 16 bits
            const qint64 bytes = rle4 ? (value + 1) / 2 : value;
            const qint64 padded = (bytes + 1) & ~qint64(1);
            if (end - p < bytes) return missingPixels();
            for (uint i = 0; i < value; ++i) put(rle4 ? ((i & 1) ? (p[i >> 1] & 0x0F) : (p[i >> 1] >> 4)) : p[i]);
            p += std::min<qint64>(padded, end - p);
        }
    }
    return Status::success();
}

}  // namespace

Expected<QImage> readBmp(QIODevice& device, qint64 maxPixels) {
    const qint64 fileSize = device.size();
    Expected<Header> header = readHeader(device, fileSize);
    if (!header) return Error{header.error()};
    const Header& h = *header;
    if (h.width == 0 || h.height == 0) return QImage();
    if (h.width * h.height > maxPixels) return Error{pictureTooLargeMessage(h.width, h.height)};
    if (h.compression == BI_RGB || h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS) {
        // Check the data is all there before allocating for it.
        const qint64 rowSize = (h.width * h.bitCount + 31) / 32 * 4;
        if (h.offBits + rowSize * (h.height - 1) + (h.width * h.bitCount + 7) / 8 > fileSize) return missingPixels();
    }
    QImage image(int(h.width), int(h.height), QImage::Format_RGB888);
    if (image.isNull()) return Error{QStringLiteral("メモリが不足しています。")};
    const Status status = (h.compression == BI_RLE8 || h.compression == BI_RLE4)
                              ? readRle(device, fileSize, h, image)
                              : readUncompressed(device, fileSize, h, image);
    if (!status) return Error{status.error()};
    return image;
}

}  // namespace mekuri
