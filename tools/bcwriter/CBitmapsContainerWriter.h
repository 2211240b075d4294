#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <map>

// Builds a bitmap container file: a directory of 24-byte records at the head,
// then each image as a complete BMP or JPEG file.
class CBitmapsContainerWriter
{
public:
    enum class Encoding
    {
        Bmp,
        Jpeg
    };
    static constexpr int MaxEntries = 5000;

    // Puts an image at index (0..4999). 24-bit images are written as 24-bit BMP or
    // JPEG; Format_Grayscale8 images as 8-bit grey BMP (palette) or grey JPEG.
    // Indices never set stay empty records (size 0, format 0).
    void Set(int index, const QImage& image, Encoding encoding, int jpegQuality = 90);
    // Raw bytes with a given format byte, for crafted test files.
    void SetRaw(int index, const QByteArray& bytes, int formatByte);
    int Count() const; // highest index set + 1
    // Writes the file atomically (temporary file, then rename). False and a message on failure.
    bool Save(const QString& path, QString* error = nullptr) const;

    // The encoders on their own (also handy for tests).
    static QByteArray EncodeBmp(const QImage& image);
    static QByteArray EncodeJpeg(const QImage& image, int quality);

private:
    struct SEntry
    {
        QByteArray bytes;
        int format = 0;
    };
    std::map<int, SEntry> m_entries;
};
