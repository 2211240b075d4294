#include "CBitmapsContainerWriter.h"

#include <QSaveFile>
#include <QtEndian>
#include <csetjmp>
#include <cstdlib>
#include <cstdio>
#include <jpeglib.h>
#include <stdexcept>

namespace {

constexpr char Magic[4] = {0x42, 0x43, 0x01, 0x31};
constexpr int RecordSize = 24;
constexpr int FormatBmp = 1;
constexpr int FormatJpeg = 2;

void PutInt32(QByteArray& out, int pos, qint32 value)
{
    qToLittleEndian<qint32>(value, out.data() + pos);
}

void PutInt16(QByteArray& out, int pos, qint16 value)
{
    qToLittleEndian<qint16>(value, out.data() + pos);
}

// Anything that is not a grey mask is stored as 24-bit blue-green-red.
QImage Normalised(const QImage& image)
{
    if (image.format() == QImage::Format_Grayscale8 || image.format() == QImage::Format_BGR888)
        return image;
    return image.convertToFormat(QImage::Format_BGR888);
}

struct SJpegError
{
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<SJpegError*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

void JpegSilent(j_common_ptr) {}

// Compresses into a malloc'ed buffer; returns false on any libjpeg error.
// Kept free of C++ objects with destructors because of the longjmp.
bool CompressJpeg(const QImage& img, int quality, unsigned char** buffer, unsigned long* size)
{
    jpeg_compress_struct cinfo;
    SJpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegErrorExit;
    err.mgr.output_message = JpegSilent;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    const bool grey = img.format() == QImage::Format_Grayscale8;
    cinfo.image_width = static_cast<JDIMENSION>(img.width());
    cinfo.image_height = static_cast<JDIMENSION>(img.height());
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(img.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

QByteArray CBitmapsContainerWriter::EncodeBmp(const QImage& image)
{
    const QImage img = Normalised(image);
    const bool grey = img.format() == QImage::Format_Grayscale8;
    const int w = img.width();
    const int h = img.height();
    const int rowBytes = grey ? w : w * 3;
    const int stride = (rowBytes + 3) & ~3;
    const int paletteBytes = grey ? 256 * 4 : 0;
    const int dataOffset = 14 + 40 + paletteBytes;
    QByteArray out(dataOffset + stride * h, '\0');
    out[0] = 'B';
    out[1] = 'M';
    PutInt32(out, 2, static_cast<qint32>(out.size()));
    PutInt32(out, 10, dataOffset);
    PutInt32(out, 14, 40);
    PutInt32(out, 18, w);
    PutInt32(out, 22, h); // positive height: rows stored bottom first
    PutInt16(out, 26, 1);
    PutInt16(out, 28, grey ? 8 : 24);
    PutInt32(out, 34, stride * h);
    PutInt32(out, 38, 2835);
    PutInt32(out, 42, 2835);
    if (grey) {
        PutInt32(out, 46, 256);
        for (int i = 0; i < 256; ++i) {
            char* entry = out.data() + 54 + i * 4;
            entry[0] = entry[1] = entry[2] = static_cast<char>(i);
        }
    }
    for (int y = 0; y < h; ++y) {
        const uchar* src = img.constScanLine(h - 1 - y);
        std::copy(src, src + rowBytes, out.data() + dataOffset + y * stride);
    }
    return out;
}

QByteArray CBitmapsContainerWriter::EncodeJpeg(const QImage& image, int quality)
{
    const QImage img = Normalised(image);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = CompressJpeg(img, quality, &buffer, &size);
    QByteArray out;
    if (ok)
        out = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    if (!ok)
        throw std::runtime_error("CBitmapsContainerWriter: JPEG encoding failed");
    return out;
}

void CBitmapsContainerWriter::Set(int index, const QImage& image, Encoding encoding,
                                  int jpegQuality)
{
    if (image.isNull())
        throw std::invalid_argument("CBitmapsContainerWriter::Set: empty image");
    if (encoding == Encoding::Bmp)
        SetRaw(index, EncodeBmp(image), FormatBmp);
    else
        SetRaw(index, EncodeJpeg(image, jpegQuality), FormatJpeg);
}

void CBitmapsContainerWriter::SetRaw(int index, const QByteArray& bytes, int formatByte)
{
    if (index < 0 || index >= MaxEntries)
        throw std::out_of_range("CBitmapsContainerWriter: index outside 0..4999");
    m_entries[index] = SEntry{bytes, formatByte};
}

int CBitmapsContainerWriter::Count() const
{
    return m_entries.empty() ? 0 : m_entries.rbegin()->first + 1;
}

bool CBitmapsContainerWriter::Save(const QString& path, QString* error) const
{
    const int count = Count();
    const int dirSize = 4 + count * RecordSize;
    const int headSize = 13 + dirSize;
    QByteArray head(headSize, '\0');
    std::copy(Magic, Magic + 4, head.data());
    PutInt32(head, 9, dirSize);
    PutInt32(head, 13, count);
    qint64 offset = headSize;
    for (int i = 0; i < count; ++i) {
        const int rec = 17 + i * RecordSize;
        auto it = m_entries.find(i);
        const qint64 size = it == m_entries.end() ? 0 : it->second.bytes.size();
        PutInt32(head, rec, it == m_entries.end() ? 0 : static_cast<qint32>(offset));
        PutInt32(head, rec + 4, static_cast<qint32>(size));
        PutInt32(head, rec + 16, -1);
        head[rec + 20] = static_cast<char>(it == m_entries.end() ? 0 : it->second.format);
        head[rec + 22] = 1;
        offset += size;
    }
    if (offset > 0x7fffffff) {
        if (error)
            *error = QStringLiteral("container larger than 2 GB");
        return false;
    }
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly) && file.write(head) == head.size();
    for (auto it = m_entries.begin(); ok && it != m_entries.end(); ++it)
        ok = file.write(it->second.bytes) == it->second.bytes.size();
    ok = ok && file.commit();
    if (!ok) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        file.cancelWriting();
    }
    return ok;
}
