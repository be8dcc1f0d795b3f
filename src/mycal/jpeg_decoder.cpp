#include "mycal/jpeg_decoder.h"

#include "platform/large_buffer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace mekuri::jpeg {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;  // first, so a j_common_ptr's err is this struct
    std::jmp_buf jump;
    Failure failure;
    char message[JMSG_LENGTH_MAX];
    int maxScans;
};

[[noreturn]] void leave(j_common_ptr cinfo, Failure failure) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->failure = failure;
    std::longjmp(err->jump, 1);
}

[[noreturn]] void leaveWithLibraryMessage(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    leave(cinfo, Failure::Damaged);
}

void onErrorExit(j_common_ptr cinfo) { leaveWithLibraryMessage(cinfo); }

// Warnings (level -1) mean corrupt or missing data: a truncated file would
// otherwise decode "successfully" with grey rows. Trace messages are dropped.
void onEmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0) leaveWithLibraryMessage(cinfo);
}

void onOutputMessage(j_common_ptr) {}

// A progressive file of thousands of tiny scans costs minutes of decoding.
void onProgress(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > err->maxScans) {
        leave(cinfo, Failure::TooManyScans);
    }
}

// CMYK as Adobe writes it (inverted) or plain, to RGB.
void cmykToRgb(const JSAMPLE* in, unsigned char* out, int width, bool inverted) {
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
        int c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[0] = static_cast<unsigned char>(c * k / 255);
        out[1] = static_cast<unsigned char>(m * k / 255);
        out[2] = static_cast<unsigned char>(y * k / 255);
    }
}

}  // namespace

void decodeRgb(const DecodeRequest& request, DecodeResult& result) {
    // Everything below is plain C data; the one cleanup path is the setjmp
    // branch, which every failure (and libjpeg's longjmp) goes through.
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
    std::memset(&cinfo, 0, sizeof cinfo);
    std::memset(&err, 0, sizeof err);
    std::memset(&progress, 0, sizeof progress);
    result = DecodeResult{};

    // 1. Error manager that returns here instead of calling exit().
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onErrorExit;
    err.pub.emit_message = onEmitMessage;
    err.pub.output_message = onOutputMessage;
    err.failure = Failure::None;
    err.maxScans = request.maxScans;
    if (setjmp(err.jump)) {
        result.failure = err.failure;
        std::snprintf(result.message, sizeof result.message, "%s", err.message);
        std::free(result.pixels);
        result.pixels = nullptr;
        jpeg_destroy_decompress(&cinfo);
        return;
    }

    // 2. Decompressor with capped memory and a scan counter.
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = request.maxMemory;
    progress.progress_monitor = onProgress;
    cinfo.progress = &progress;

    // 3. Source and header.
    jpeg_mem_src(&cinfo, request.data, static_cast<unsigned long>(request.size));
    jpeg_read_header(&cinfo, TRUE);

    // 4. Output: RGB (libjpeg converts greyscale), CMYK converted below;
    //    full or half size by libjpeg's own scaling.
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    const bool adobeInverted = cmyk && cinfo.saw_Adobe_marker;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    cinfo.scale_num = 1;
    cinfo.scale_denom = request.halfSize ? 2 : 1;
    jpeg_calc_output_dimensions(&cinfo);

    // 5. Refuse an absurd size before anything is allocated.
    result.width = static_cast<int>(cinfo.output_width);
    result.height = static_cast<int>(cinfo.output_height);
    const long long pixels = static_cast<long long>(cinfo.output_width) * cinfo.output_height;
    if (pixels > request.maxPixels) leave(reinterpret_cast<j_common_ptr>(&cinfo), Failure::TooLarge);

    result.stride = static_cast<int>((cinfo.output_width * 3 + 3) & ~3u);
    // A photo decodes to 70 MB and more: in huge pages where the system has them.
    result.pixels = static_cast<unsigned char*>(
        allocateLargeBuffer(static_cast<std::size_t>(result.stride) * cinfo.output_height));
    if (!result.pixels) leave(reinterpret_cast<j_common_ptr>(&cinfo), Failure::NoMemory);

    // 6. Decode row by row straight into the output (CMYK through one row).
    jpeg_start_decompress(&cinfo);
    JSAMPARRAY cmykRow = nullptr;
    if (cmyk) {
        cmykRow = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                             cinfo.output_width * 4, 1);
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        unsigned char* out = result.pixels + static_cast<std::size_t>(result.stride) * cinfo.output_scanline;
        JSAMPROW row = cmyk ? cmykRow[0] : out;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) {
            std::snprintf(err.message, sizeof err.message, "%s", "no scanline decoded");
            leave(reinterpret_cast<j_common_ptr>(&cinfo), Failure::Damaged);
        }
        if (cmyk) cmykToRgb(cmykRow[0], out, static_cast<int>(cinfo.output_width), adobeInverted);
    }

    // 7. Finish (reads to the end marker, so trailing damage is seen too).
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}

}  // namespace mekuri::jpeg
