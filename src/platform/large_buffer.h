#pragma once

// Memory for the large pixel buffers (the decoded picture, the page rendered
// at printer resolution: 70 to 100 MB each). A fresh buffer of that size is
// first touched page by page, and with 4 KB pages those page faults cost
// more than the decoding or drawing itself; on Linux the buffer is therefore
// aligned to and advised for the kernel's 2 MB pages. Elsewhere it is plain
// malloc memory.

#include <QImage>
#include <QSize>

#include <cstddef>

namespace mekuri {

// size bytes, freed with std::free; null when they cannot be had.
void* allocateLargeBuffer(std::size_t size);

// A new image of size and format whose pixels live in such a buffer (a
// small image is an ordinary QImage). Null, without allocating, for a size
// QImage refuses; null when the memory cannot be had. Not initialised.
QImage allocateLargeImage(QSize size, QImage::Format format);

}  // namespace mekuri
