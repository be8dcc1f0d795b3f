#include "mycal/page_image.h"

#include <QIODevice>
#include <QSaveFile>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace mekuri {

namespace {

// ---- libjpeg: an error manager that returns control, a destination that
//      writes to a QIODevice. No C++ object with a destructor lives across
//      the setjmp in encodeRows. ----

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void outputMessage(j_common_ptr) {}

constexpr size_t kBufferSize = 64 * 1024;

struct Destination {
    jpeg_destination_mgr pub;
    QIODevice* device;
    JOCTET* buffer;
    bool writeFailed;
};

void initDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferSize;
}

boolean emptyOutputBuffer(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    if (dest->device->write(reinterpret_cast<const char*>(dest->buffer), qint64(kBufferSize)) != qint64(kBufferSize)) {
        dest->writeFailed = true;
        cinfo->err->msg_code = JERR_FILE_WRITE;
        (*cinfo->err->error_exit)(reinterpret_cast<j_common_ptr>(cinfo));
    }
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferSize;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    const qint64 n = qint64(kBufferSize - dest->pub.free_in_buffer);
    if (n > 0 && dest->device->write(reinterpret_cast<const char*>(dest->buffer), n) != n) {
        dest->writeFailed = true;
        cinfo->err->msg_code = JERR_FILE_WRITE;
        (*cinfo->err->error_exit)(reinterpret_cast<j_common_ptr>(cinfo));
    }
}

// Numbered as libjpeg's own example: 1 allocate, 2 destination, 3 parameters,
// 4 start, 5 rows, 6 finish, 7 release. Returns false with err->message set.
bool encodeRows(jpeg_compress_struct* cinfo, ErrorManager* err, Destination* dest, const uchar* bits,
                qsizetype bytesPerLine, int width, int height, int quality) {
    cinfo->err = jpeg_std_error(&err->pub);
    err->pub.error_exit = errorExit;
    err->pub.output_message = outputMessage;
    err->message[0] = '\0';
    if (setjmp(err->jump)) {
        jpeg_destroy_compress(cinfo);
        return false;
    }
    jpeg_create_compress(cinfo);                                   // 1
    dest->pub.init_destination = initDestination;                  // 2
    dest->pub.empty_output_buffer = emptyOutputBuffer;
    dest->pub.term_destination = termDestination;
    cinfo->dest = &dest->pub;
    cinfo->image_width = JDIMENSION(width);                        // 3
    cinfo->image_height = JDIMENSION(height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    jpeg_start_compress(cinfo, TRUE);                              // 4
    while (cinfo->next_scanline < cinfo->image_height) {           // 5
        JSAMPROW row = const_cast<JSAMPROW>(bits + qsizetype(cinfo->next_scanline) * bytesPerLine);
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);                                   // 6
    jpeg_destroy_compress(cinfo);                                  // 7
    return true;
}

QString sizeText(QSize size) {
    return QStringLiteral("%1 × %2 ピクセル").arg(size.width()).arg(size.height());
}

template <typename Write>
Status saveAtomically(const QString& path, Write&& write) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return Error{QStringLiteral("ファイル %1 に書き込めません。\n%2").arg(path, file.errorString())};
    }
    const Status written = write(file);
    if (!written.ok()) {
        file.cancelWriting();
        return written;
    }
    if (!file.commit()) {
        return Error{QStringLiteral("ファイル %1 に書き込めません。\n%2").arg(path, file.errorString())};
    }
    return Status::success();
}

}  // namespace

QSize pageImageSize(QSize pageSize, int divisor) {
    const int d = qMax(1, divisor);
    return QSize(pageSize.width() / d, pageSize.height() / d);
}

Expected<QImage> renderPageImage(const RecordedPage& page, int divisor) {
    const QSize size = pageImageSize(page.size(), divisor);
    if (size.isEmpty()) return Error{QStringLiteral("画像の大きさが 0 です（") + sizeText(size) + QStringLiteral("）")};
    QImage image = page.render(size, QImage::Format_RGB888);
    if (image.isNull()) {
        const qint64 mb = qint64(size.width()) * size.height() * 3 / (1024 * 1024);
        return Error{QStringLiteral("画像（%1、約 %2 MB）を作るメモリーが足りません。\n縮小率を大きくして下さい")
                         .arg(sizeText(size))
                         .arg(mb)};
    }
    return image;
}

Status writeJpeg(const QImage& image, QIODevice& device, int quality) {
    if (image.isNull()) return Error{QStringLiteral("保存する画像がありません")};
    // The rendered page is already RGB888: its rows go to libjpeg as they are.
    const QImage rgb = image.format() == QImage::Format_RGB888 ? image : image.convertToFormat(QImage::Format_RGB888);
    std::vector<JOCTET> buffer(kBufferSize);
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    Destination dest{};
    dest.device = &device;
    dest.buffer = buffer.data();
    if (!encodeRows(&cinfo, &err, &dest, rgb.constBits(), rgb.bytesPerLine(), rgb.width(), rgb.height(), quality)) {
        if (dest.writeFailed) return Error{QStringLiteral("JPEG を書き込めません。\n") + device.errorString()};
        return Error{QStringLiteral("JPEG に変換できません。\n") + QString::fromLocal8Bit(err.message)};
    }
    return Status::success();
}

Status saveJpegFile(const QImage& image, const QString& path, int quality) {
    return saveAtomically(path, [&](QIODevice& device) { return writeJpeg(image, device, quality); });
}

Status saveImageFile(const QImage& image, const QString& path, const char* format) {
    return saveAtomically(path, [&](QIODevice& device) -> Status {
        if (image.isNull() || !image.save(&device, format)) {
            return Error{QStringLiteral("画像を %1 に書き込めません。").arg(path)};
        }
        return Status::success();
    });
}

Status saveBmpFile(const QImage& image, const QString& path) { return saveImageFile(image, path, "BMP"); }

}  // namespace mekuri
