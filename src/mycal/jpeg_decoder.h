#pragma once

// The libjpeg side of decoding the page picture, kept apart from Qt: plain
// structs in, plain structs out, so that no C++ object is alive across the
// error manager's setjmp/longjmp. libjpeg never ends the process here: every
// error and every warning (corrupt or truncated data) returns control with a
// failure code and libjpeg's own message.

#include <cstddef>

namespace mekuri::jpeg {

enum class Failure {
    None,
    TooLarge,      // output size over maxPixels; nothing was allocated
    TooManyScans,  // a progressive file with more than maxScans scans
    Damaged,       // libjpeg reported an error or a warning
    NoMemory,      // the output buffer could not be allocated
};

struct DecodeRequest {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    bool halfSize = false;        // libjpeg's own 1/2 scaling
    long long maxPixels = 0;      // output width x height allowed
    long maxMemory = 0;           // libjpeg's working memory cap, bytes
    int maxScans = 100;           // progressive scans allowed
};

struct DecodeResult {
    Failure failure = Failure::None;
    // RGB, 3 bytes a pixel, rows of stride bytes (a multiple of 4); from
    // malloc, owned by the caller on success, null otherwise.
    unsigned char* pixels = nullptr;
    int width = 0;   // output size; also set for TooLarge
    int height = 0;
    int stride = 0;
    char message[200] = {};  // libjpeg's text for Damaged
};

// Decodes request.data into result (CMYK and greyscale end as RGB).
void decodeRgb(const DecodeRequest& request, DecodeResult& result);

}  // namespace mekuri::jpeg
