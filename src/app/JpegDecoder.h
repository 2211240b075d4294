#pragma once
#include <QByteArray>
#include <QImage>

// Decodes JPEG data held in memory with libjpeg-turbo. Every libjpeg error,
// and a file cut short, comes back as false: the library's own handler would
// end the process.
class JpegDecoder
{
public:
    // Colour pictures become Format_BGR888, grey ones Format_Grayscale8.
    // On failure *out is left null and the result is false.
    static bool Decode(const QByteArray& data, QImage* out);
    static bool Decode(const unsigned char* data, size_t size, QImage* out);
    // The same, decoded at a reduced size (1/2, 1/4 or 1/8) when that still
    // covers `atLeast` on both sides; big photographs decode much faster so.
    static bool DecodeScaled(const QByteArray& data, QSize atLeast, QImage* out);
    static bool DecodeScaled(const unsigned char* data, size_t size, QSize atLeast, QImage* out);

    // Pictures larger than this on either side are refused as damaged.
    static constexpr int MaxSide = 16384;
    // libjpeg's own working memory for one picture (a progressive picture
    // needs about two bytes for each of its samples).
    static constexpr long MaxWorkingMemory = 256L * 1024 * 1024;
};
