#include "output/snapshot.h"

#include "kernel/errors.h"
#include "persist/atomic_file.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QUrl>

namespace kelvora::output {

QByteArray bitmapFileBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Qt's own BMP writer is part of the GUI library, not a plugin.
    if (image.isNull() || !image.save(&buffer, "BMP")) throw IoError("无法生成位图");
    return bytes;
}

void saveBitmap(const std::string& path, const QImage& image) {
    const QByteArray bytes = bitmapFileBytes(image);
    persist::writeFileAtomically(std::filesystem::u8path(path),
                                 std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

bool openWithDesktop(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

} // namespace kelvora::output
