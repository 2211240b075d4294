#include "app/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <utility>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace {

struct ReturningErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void JumpBack(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ReturningErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

// Warnings are ignored, except a file that ends too early: libjpeg would fill
// the missing rows with grey and call the picture good.
void OnMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        JumpBack(cinfo);
}

void Silent(j_common_ptr) {}

// Kept apart from Decode so that no object with a destructor lives in the
// frame that longjmp returns to; the image lives in the caller's frame.
bool DecodeInto(jpeg_decompress_struct& cinfo, ReturningErrorManager& err,
                const unsigned char* data, size_t size, QSize atLeast, QImage* image)
{
    if (setjmp(err.jump))
        return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK)
        return false;
    // The size is checked before decoding starts: a progressive picture has
    // all of its coefficients allocated at the start, so a few hundred bytes
    // claiming a huge picture would take gigabytes. What a picture of an
    // allowed size may still need is capped as well; past the cap libjpeg
    // reports an error instead of allocating.
    if (cinfo.image_width == 0 || cinfo.image_height == 0 ||
        cinfo.image_width > unsigned(JpegDecoder::MaxSide) ||
        cinfo.image_height > unsigned(JpegDecoder::MaxSide))
        return false;
    cinfo.mem->max_memory_to_use = JpegDecoder::MaxWorkingMemory;
    // libjpeg-turbo decodes at 1/2, 1/4 or 1/8 of the size for a fraction of
    // the work: the smallest of these that still covers `atLeast`.
    for (const unsigned denom : {8u, 4u, 2u}) {
        if (!atLeast.isValid())
            break;
        if ((cinfo.image_width + denom - 1) / denom >= unsigned(atLeast.width()) &&
            (cinfo.image_height + denom - 1) / denom >= unsigned(atLeast.height())) {
            cinfo.scale_num = 1;
            cinfo.scale_denom = denom;
            break;
        }
    }
    const bool grey = cinfo.num_components == 1;
    cinfo.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_width == 0 || cinfo.output_height == 0 ||
        cinfo.output_width > unsigned(JpegDecoder::MaxSide) ||
        cinfo.output_height > unsigned(JpegDecoder::MaxSide))
        return false;
    *image = QImage(int(cinfo.output_width), int(cinfo.output_height),
                    grey ? QImage::Format_Grayscale8 : QImage::Format_BGR888);
    if (image->isNull())
        return false;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image->scanLine(int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

} // namespace

bool JpegDecoder::Decode(const QByteArray& data, QImage* out)
{
    return Decode(reinterpret_cast<const unsigned char*>(data.constData()), size_t(data.size()),
                  out);
}

bool JpegDecoder::Decode(const unsigned char* data, size_t size, QImage* out)
{
    return DecodeScaled(data, size, QSize(), out);
}

bool JpegDecoder::DecodeScaled(const QByteArray& data, QSize atLeast, QImage* out)
{
    return DecodeScaled(reinterpret_cast<const unsigned char*>(data.constData()),
                        size_t(data.size()), atLeast, out);
}

bool JpegDecoder::DecodeScaled(const unsigned char* data, size_t size, QSize atLeast, QImage* out)
{
    if (out)
        *out = QImage();
    if (!data || size == 0)
        return false;

    jpeg_decompress_struct cinfo{};
    ReturningErrorManager err{};
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = JumpBack;
    err.base.emit_message = OnMessage;
    err.base.output_message = Silent;

    QImage image;
    const bool ok = DecodeInto(cinfo, err, data, size, atLeast, &image);
    jpeg_destroy_decompress(&cinfo);
    if (!ok)
        return false;
    if (out)
        *out = std::move(image);
    return true;
}
