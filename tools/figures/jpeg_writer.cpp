#include "jpeg_writer.h"

#include <QSaveFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

struct EncodeErrors {
    jpeg_error_mgr base; // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf failed;
    char message[JMSG_LENGTH_MAX];
};

extern "C" {
static void failEncode(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<EncodeErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->failed, 1);
}
}

// All libjpeg calls that may jump back to the setjmp happen here, among trivial locals only.
bool compress(jpeg_compress_struct& cinfo, EncodeErrors& errors, const QImage& rgb, int quality,
              unsigned char*& buffer, unsigned long& size) {
    if (setjmp(errors.failed)) return false;
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(rgb.width());
    cinfo.image_height = static_cast<JDIMENSION>(rgb.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg does not write through the row pointer
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

} // namespace

namespace kelvora::figures {

bool writeJpeg(const QImage& image, const QString& path, int quality, QString& error) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct cinfo{};
    EncodeErrors errors{};
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = failEncode;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = compress(cinfo, errors, rgb, quality, buffer, size);
    jpeg_destroy_compress(&cinfo);
    if (!ok) {
        std::free(buffer);
        error = QString::fromLocal8Bit(errors.message);
        return false;
    }
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(reinterpret_cast<const char*>(buffer), static_cast<qint64>(size)) ==
                             static_cast<qint64>(size) &&
                         file.commit();
    std::free(buffer);
    if (!written) error = file.errorString();
    return written;
}

} // namespace kelvora::figures
