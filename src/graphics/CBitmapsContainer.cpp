#include "graphics/CBitmapsContainer.h"

#include "app/CError.h"
#include "app/JpegDecoder.h"
#include "graphics/BmpDecoder.h"

#include <QFile>
#include <cstring>

CBitmapsContainer* WindowsContainer = nullptr;
CBitmapsContainer* ButtonsContainer = nullptr;

namespace {
constexpr unsigned char Magic[4] = {0x42, 0x43, 0x01, 0x31};

int32_t Int32At(const char* p)
{
    int32_t v;
    std::memcpy(&v, p, 4); // the files are little-endian, as is this platform
    return v;
}

// One 24-byte directory record, field by field.
void ReadRecord(CBitmapsContainer::CBitmapInfo& info, const char* p)
{
    info.offset = Int32At(p);
    info.size = Int32At(p + 4);
    std::memcpy(info.unused8, p + 8, 8);
    info.unused16 = Int32At(p + 16);
    info.format = static_cast<uint8_t>(p[20]);
    std::memcpy(info.unused21, p + 21, 3);
}

// Colour images as 24-bit blue-green-red; 8-bit grey-palette images (masks) as
// grey; other 8-bit images keep their palette for the caller to normalise.
// Qt reads 1- and 4-bit pictures as 8-bit indexed ones too: they are colour
// pictures like any other, and nobody may take them for 8-bit ones.
QImage Normalised(QImage img, bool belowEightBits)
{
    if (belowEightBits)
        return img.convertToFormat(QImage::Format_BGR888);
    switch (img.format()) {
    case QImage::Format_BGR888:
    case QImage::Format_Grayscale8:
        return img;
    case QImage::Format_Indexed8:
        if (img.isGrayscale())
            return img.convertToFormat(QImage::Format_Grayscale8);
        return img;
    default:
        return img.convertToFormat(QImage::Format_BGR888);
    }
}
} // namespace

CBitmapsContainer::CBitmapsContainer() = default;

CBitmapsContainer::~CBitmapsContainer()
{
    Clear();
}

void CBitmapsContainer::Fail(int code)
{
    throw static_cast<TBitmapError>(code);
}

void CBitmapsContainer::Clear()
{
    m_file.reset();
    m_directory.clear();
    m_fileName.clear();
}

void CBitmapsContainer::OpenFile(const QString& fileName)
{
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::ReadOnly))
        Fail(BC_CANNOT_OPEN);
    m_file = std::move(file);
}

void CBitmapsContainer::ReadExactly(char* target, qint64 size)
{
    if (size > 0 && m_file->read(target, size) != size)
        Fail(BC_READ);
}

void CBitmapsContainer::DoOpen(const QString& fileName)
{
    OpenFile(fileName);
    char head[4];
    ReadExactly(head, 4);
    if (std::memcmp(head, Magic, 4) != 0)
        Fail(BC_BAD_FORMAT);
    char skipped[5];
    ReadExactly(skipped, 5);
    char sizeBytes[4];
    ReadExactly(sizeBytes, 4);
    const int32_t dirSize = Int32At(sizeBytes);
    if (dirSize > MaxDirectorySize)
        Fail(BC_TOO_LARGE);
    // A directory too short to hold even the count is a short read.
    if (dirSize < 4)
        Fail(BC_READ);
    QByteArray block(dirSize, '\0');
    ReadExactly(block.data(), dirSize);
    const int32_t count = Int32At(block.constData());
    if (count < 1)
        Fail(BC_EMPTY);
    if (count > MaxEntries)
        Fail(BC_TOO_LARGE);
    m_directory.assign(static_cast<size_t>(count), CBitmapInfo{});
    // Records the block is too short for keep their fresh values.
    const int available = std::min(count, (dirSize - 4) / RecordSize);
    for (int i = 0; i < available; ++i)
        ReadRecord(m_directory[static_cast<size_t>(i)], block.constData() + 4 + i * RecordSize);
    m_fileName = fileName;
}

int CBitmapsContainer::Open(const QString& fileName, bool closeAfterRead)
{
    Clear();
    int result = BC_OK;
    try {
        DoOpen(fileName);
    } catch (TBitmapError code) {
        result = static_cast<int>(code);
    }
    m_closeAfterRead = closeAfterRead;
    if (closeAfterRead)
        m_file.reset();
    if (result != BC_OK)
        Clear();
    return result;
}

int CBitmapsContainer::OpenComplete(const QString& fileName)
{
    const int result = Open(fileName, false);
    if (result != BC_OK)
        return result;
    const qint64 size = m_file->size();
    for (const CBitmapInfo& info : m_directory) {
        if (RunsPastEnd(info, size)) {
            Clear();
            return BC_READ;
        }
    }
    return BC_OK;
}

// Negative fields or data past the end can never be read in full.
bool CBitmapsContainer::RunsPastEnd(const CBitmapInfo& info, qint64 fileSize)
{
    return info.offset < 0 || info.size < 0 ||
           static_cast<qint64>(info.offset) + info.size > fileSize;
}

void CBitmapsContainer::DoLoad(QByteArray& stream, int index)
{
    if (m_directory.empty())
        Fail(BC_EMPTY);
    if (index < 0 || index >= Count())
        Fail(BC_INDEX);
    if (!m_file)
        OpenFile(m_fileName);
    const CBitmapInfo& info = m_directory[static_cast<size_t>(index)];
    if (RunsPastEnd(info, m_file->size()))
        Fail(BC_READ);
    if (!m_file->seek(info.offset))
        Fail(BC_READ);
    stream.clear();
    stream.resize(info.size);
    ReadExactly(stream.data(), info.size);
}

int CBitmapsContainer::LoadTo(QByteArray* memoryStream, int index)
{
    if (!memoryStream)
        throw CError(QStringLiteral("Nieprawidłowy obiekt TMemoryStream w parametrze LoadTo!"));
    int result = BC_OK;
    try {
        DoLoad(*memoryStream, index);
    } catch (TBitmapError code) {
        result = static_cast<int>(code);
    }
    if (m_closeAfterRead)
        m_file.reset();
    return result;
}

int CBitmapsContainer::LoadTo(QImage* bitmap, int index)
{
    if (!bitmap)
        throw CError(QStringLiteral("Nieprawidłowy obiekt _TBitmap w parametrze funkcji LoadTo!"));
    QByteArray bytes;
    const int code = LoadTo(&bytes, index);
    if (code != BC_OK)
        return code;
    QImage decoded;
    bool belowEightBits = false;
    switch (m_directory[static_cast<size_t>(index)].format) {
    case 1:
        if (BmpDecoder::DecodeSimple(bytes, &decoded))
            break;
        if (!decoded.loadFromData(bytes, "BMP"))
            return BC_PLATFORM;
        belowEightBits = BmpDecoder::BitCount(bytes) < 8;
        break;
    case 2:
        if (!JpegDecoder::Decode(bytes, &decoded))
            return BC_PLATFORM;
        break;
    default:
        return BC_BAD_FORMAT;
    }
    *bitmap = Normalised(std::move(decoded), belowEightBits);
    return BC_OK;
}
