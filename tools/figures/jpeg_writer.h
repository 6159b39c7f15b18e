#pragma once
// JPEG files written through libjpeg's compression API, the library the window decodes them with.

#include <QImage>
#include <QString>

namespace kelvora::figures {

// Baseline JPEG, full-resolution chroma (thin coloured lines stay sharp). Replaces path
// in one step; on failure returns false with the reason in error.
bool writeJpeg(const QImage& image, const QString& path, int quality, QString& error);

} // namespace kelvora::figures
