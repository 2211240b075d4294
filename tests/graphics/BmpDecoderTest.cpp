#include "graphics/BmpDecoder.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct SBmp
{
    int width = 5;
    int height = 3; // negative: rows stored top first
    int bits = 24;
    int compression = 0;
    int infoSize = 40;
    int colours = 0;              // biClrUsed
    bool colourPalette = false;   // 8-bit: one palette entry not grey
    bool reversedPalette = false; // 8-bit: entry i is grey 255 - i
    int cutBytes = 0;             // bytes taken off the end
};

void Put32(QByteArray& b, int at, qint32 v)
{
    qToLittleEndian<qint32>(v, b.data() + at);
}

void Put16(QByteArray& b, int at, qint16 v)
{
    qToLittleEndian<qint16>(v, b.data() + at);
}

// A BMP file with random pixels laid out as the fields say.
QByteArray Make(const SBmp& s)
{
    const int h = std::abs(s.height);
    const int rowBytes = s.width * s.bits / 8;
    const int stride = (rowBytes + 3) & ~3;
    const int palette = s.bits == 8 ? 256 * 4 : 0;
    const int offset = 14 + s.infoSize + palette;
    QByteArray b(offset + stride * h, '\0');
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<qint32>(b.size()));
    Put32(b, 10, offset);
    Put32(b, 14, s.infoSize);
    Put32(b, 18, s.width);
    Put32(b, 22, s.height);
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<qint16>(s.bits));
    Put32(b, 30, s.compression);
    Put32(b, 34, stride * h);
    Put32(b, 46, s.colours);
    for (int i = 0; i < palette / 4; ++i) {
        char* e = b.data() + 14 + s.infoSize + i * 4;
        const char v = static_cast<char>(s.reversedPalette ? 255 - i : i);
        e[0] = e[1] = e[2] = v;
        if (s.colourPalette && i == 7)
            e[2] = static_cast<char>(v + 1);
    }
    QRandomGenerator rng(static_cast<quint32>(s.width * 31 + h));
    for (int i = offset; i < b.size(); ++i)
        b[i] = static_cast<char>(rng.bounded(256));
    b.chop(s.cutBytes);
    return b;
}

// What Qt's reader gives, in the formats the skins use.
QImage ByQt(const QByteArray& bytes)
{
    QImage img = QImage::fromData(bytes, "BMP");
    if (img.format() == QImage::Format_Indexed8 && img.isGrayscale())
        return img.convertToFormat(QImage::Format_Grayscale8);
    return img.convertToFormat(QImage::Format_BGR888);
}

bool SamePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.format() != b.format())
        return false;
    const size_t n = static_cast<size_t>(a.width()) * static_cast<size_t>(a.depth() / 8);
    for (int y = 0; y < a.height(); ++y)
        if (memcmp(a.constScanLine(y), b.constScanLine(y), n) != 0)
            return false;
    return true;
}

} // namespace

// The fast path reads every layout of the two kinds exactly as Qt's reader
// does: row padding, both row orders.
TEST(BmpDecoder, SameAsQtForColourPicturesAndGreyMasks)
{
    std::vector<SBmp> cases;
    for (int bits : {24, 8})
        for (int width : {1, 2, 3, 4, 5, 37})
            for (int height : {1, 6, -6})
                cases.push_back({width, height, bits});
    cases.push_back({9, 4, 8, 0, 40, 256});
    for (const SBmp& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << "-bit " << c.width << "x" << c.height);
        const QByteArray bytes = Make(c);
        QImage fast;
        ASSERT_TRUE(BmpDecoder::DecodeSimple(bytes, &fast));
        EXPECT_TRUE(SamePixels(fast, ByQt(bytes)));
    }
}

// Everything else is left to Qt's reader, and the target is not touched.
TEST(BmpDecoder, OtherFilesAreLeftToQt)
{
    const SBmp cases[] = {
        {5, 3, 24, 1},                         // compressed
        {5, 3, 32},                            // 32-bit
        {5, 3, 24, 0, 108},                    // a newer header
        {5, 3, 8, 0, 40, 0, true},             // a colour palette
        {5, 3, 8, 0, 40, 16},                  // a short palette
        {5, 3, 24, 0, 40, 0, false, false, 1}, // a row cut short
        {0, 3, 24},                            // no width
        {5, 0, 24},                            // no height
    };
    for (const SBmp& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << "-bit " << c.width << "x" << c.height
                                        << " compression " << c.compression);
        QImage target(2, 2, QImage::Format_BGR888);
        target.fill(Qt::red);
        EXPECT_FALSE(BmpDecoder::DecodeSimple(Make(c), &target));
        EXPECT_EQ(target.size(), QSize(2, 2));
        EXPECT_EQ(target.pixelColor(1, 1), QColor(Qt::red));
    }
    QImage target;
    EXPECT_FALSE(BmpDecoder::DecodeSimple(QByteArray("BM"), &target));
    EXPECT_FALSE(BmpDecoder::DecodeSimple(Make({5, 3, 24}).left(30), &target));
    EXPECT_TRUE(target.isNull());
}
