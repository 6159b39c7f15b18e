#pragma once
// The reference pictures are JPEG files embedded in the program and decoded by libjpeg
// itself, not by an image plugin, so a picture looks the same whatever plugins Qt finds.

#include <QByteArray>
#include <QImage>

namespace kelvora::ui {

// Decodes a whole baseline or progressive JPEG held in memory. Damaged, truncated or
// unsupported data (CMYK, sides beyond 8192 pixels) gives a null image; libjpeg's
// corrupt-data warnings count as damage, so a half-decoded picture is never shown.
QImage decodeJpeg(const QByteArray& bytes);

// The embedded JPEG bytes of ImageN (1 to 12, 12 being the banner); empty for any other N.
QByteArray referenceFigureData(int number);

// ImageN decoded; a null image for any N without a picture.
QImage referenceFigure(int number);

} // namespace kelvora::ui
