#pragma once
// The window snapshot as a Windows bitmap file, and the desktop's document opener for the
// help file.

#include <QImage>
#include <QByteArray>

#include <string>

namespace kelvora::output {

// The image as the bytes of a BMP file ("BM", then the header and the pixels).
QByteArray bitmapFileBytes(const QImage& image);

// Saves the image as a BMP file under `path`, whatever its extension, in one atomic
// replacement; a failure throws IoError and leaves any earlier file as it was.
void saveBitmap(const std::string& path, const QImage& image);

// Asks the desktop to show a document with its viewer; false when that failed.
bool openWithDesktop(const std::string& path);

} // namespace kelvora::output
