#pragma once
#include <QByteArray>
#include <QImage>

// Reads the two kinds of BMP the skin containers hold straight into the
// formats the skins use: uncompressed 24-bit pictures into Format_BGR888 and
// 8-bit pictures with the grey ramp as palette (masks) into Format_Grayscale8. The
// rows of such a file are already in that byte order, so a picture costs one
// copy per row instead of Qt's reader and a format conversion. Anything else
// (other depths, compression, other palettes, a file too short for its rows)
// is left to Qt's reader.
class BmpDecoder
{
public:
    // True with *out set when the data is one of the two kinds; false (and
    // *out untouched) when Qt's reader has to decide.
    static bool DecodeSimple(const QByteArray& data, QImage* out);

    // Bits per pixel that the file's header gives (both the Windows and the
    // old OS/2 header), 0 when the data is too short to tell.
    static int BitCount(const QByteArray& data);

    // Pictures larger than this on either side go to Qt's reader.
    static constexpr int MaxSide = 16384;
};
