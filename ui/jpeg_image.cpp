#include "ui/jpeg_image.h"

#include "ui/figure_boxes.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// The resource initialiser has to be named from the global namespace. Calling it from the
// library (rather than relying on a static initialiser) keeps the linker from dropping the
// embedded pictures out of the static library.
static void registerFigureResources() {
    Q_INIT_RESOURCE(figures);
}

namespace {

struct DecodeErrors {
    jpeg_error_mgr base; // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf failed;
};

extern "C" {
static void failDecode(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<DecodeErrors*>(cinfo->err)->failed, 1);
}

// libjpeg would print its messages to stderr; warnings are still counted in num_warnings.
static void discardMessage(j_common_ptr) {}
}

// Well beyond any picture of the window, and small enough that a damaged header cannot
// make the decoder reserve gigabytes.
constexpr JDIMENSION kMaxSide = 8192;

// Every libjpeg call that may jump back to the setjmp below happens in this function, whose
// own locals are all trivial, so the jump destroys nothing half-way. out belongs to the caller.
bool decodeInto(jpeg_decompress_struct& cinfo, DecodeErrors& errors, const QByteArray& bytes, QImage& out) {
    if (setjmp(errors.failed)) return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;

    const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    if (!grey && cinfo.jpeg_color_space != JCS_YCbCr && cinfo.jpeg_color_space != JCS_RGB) return false;
    if (cinfo.image_width > kMaxSide || cinfo.image_height > kMaxSide) return false;
    cinfo.out_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;

    jpeg_start_decompress(&cinfo);
    out = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                 grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (out.isNull()) return false;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    // A premature end or a bad Huffman code is only a warning to libjpeg, which then fills
    // the rest of the picture with grey.
    return errors.base.num_warnings == 0;
}

} // namespace

namespace kelvora::ui {

QImage decodeJpeg(const QByteArray& bytes) {
    if (bytes.isEmpty()) return {};
    jpeg_decompress_struct cinfo{};
    DecodeErrors errors{};
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = failDecode;
    errors.base.output_message = discardMessage;

    QImage out;
    const bool ok = decodeInto(cinfo, errors, bytes, out);
    jpeg_destroy_decompress(&cinfo); // also after a failure part-way through creation
    return ok ? out : QImage();
}

QByteArray referenceFigureData(int number) {
    if (!figureBox(number)) return {};
    static const bool registered = (registerFigureResources(), true);
    (void)registered;
    QFile file(QStringLiteral(":/figures/image%1.jpg").arg(number));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

QImage referenceFigure(int number) {
    return decodeJpeg(referenceFigureData(number));
}

} // namespace kelvora::ui
