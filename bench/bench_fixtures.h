#pragma once

// Files the benchmarks run on: a complete program folder, a settings file
// with every key the program reads or writes and ten bookmarks, and a large
// photo-like JPEG made by the reference encoder.

#include <QImage>
#include <QString>

namespace mekuri::bench {

// Writes the settings file "mkri.ini" into folder: every section and key of
// the program, ten bookmarks, a Japanese nickname (so it is CP932).
void writeFullSettingsFile(const QString& folder);

// Fills folder as an installed program folder: the shipped files and the
// version library from the build's program folder, the full settings file
// and the picture it names, "写真.jpg" (6000 x 4000).
void makeProgramFolder(const QString& folder);

// A photo-like RGB888 picture: smooth gradients with a little noise, so the
// encoder and decoder work as hard as on a real photo.
QImage makePhotoLikeImage(int width, int height);

// Writes image as a binary PPM (P6).
void writePpm(const QString& path, const QImage& image);

// A width x height photo-like JPEG at path, encoded by cjpeg -quality 90.
void makeJpegFile(const QString& path, int width, int height);

}  // namespace mekuri::bench
