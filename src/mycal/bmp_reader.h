#pragma once

// Reading Windows BMP files into the 24-bit page picture, with the checks a
// file from anywhere needs: a declared size over the pixel limit is refused
// before any pixel buffer exists, missing pixel data is damage (not a
// half-black picture), top-down files (negative height) load upright.
// Handles the core (OS/2) and the 40/52/56/108/124-byte headers, 1, 4, 8,
// 16, 24 and 32 bits per pixel, uncompressed, bit-field and RLE4/RLE8 data.

#include "settings/expected.h"

#include <QImage>

class QIODevice;

namespace mekuri {

// Reads the BMP file on device (opened for reading, positioned anywhere).
// A picture of width or height 0 gives a null image; maxPixels caps width x
// height.
Expected<QImage> readBmp(QIODevice& device, qint64 maxPixels);

}  // namespace mekuri
