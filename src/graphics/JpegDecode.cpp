#include "graphics/JpegDecode.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

struct SJpegError
{
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<SJpegError*>(cinfo->err)->jump, 1);
}

void JpegSilent(j_common_ptr) {}

// Guards against absurd headers before any allocation of the pixel block.
constexpr long MaxPixels = 64L * 1024 * 1024;

// No C++ object with a destructor lives across setjmp here; the image is
// allocated by the caller-visible QImage only after the header was read.
bool DecodeInto(const unsigned char* data, unsigned long size, QImage* out)
{
    jpeg_decompress_struct cinfo;
    SJpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegErrorExit;
    err.mgr.output_message = JpegSilent;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    cinfo.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    const long pixels = static_cast<long>(cinfo.output_width) * cinfo.output_height;
    if (pixels <= 0 || pixels > MaxPixels) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    *out = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                  grey ? QImage::Format_Grayscale8 : QImage::Format_BGR888);
    if (out->isNull()) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out->scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

bool DecodeJpeg(const QByteArray& bytes, QImage& out)
{
    QImage image;
    if (bytes.isEmpty() || !DecodeInto(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                       static_cast<unsigned long>(bytes.size()), &image)) {
        out = QImage();
        return false;
    }
    out = std::move(image);
    return true;
}
