#include "app/JpegDecoder.h"

#include <QBuffer>
#include <QColor>
#include <gtest/gtest.h>

namespace {

QByteArray EncodeJpeg(const QImage& image, int quality = 95)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "JPG", quality));
    return bytes;
}

QImage ColourPicture()
{
    QImage image(40, 24, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 40));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixelColor(x, y, QColor(20, 40, 220));
    return image;
}

} // namespace

TEST(JpegDecoder, ColourPictureComesOutBgrWithItsColours)
{
    QImage out;
    ASSERT_TRUE(JpegDecoder::Decode(EncodeJpeg(ColourPicture()), &out));
    EXPECT_EQ(out.format(), QImage::Format_BGR888);
    EXPECT_EQ(out.size(), QSize(40, 24));
    // Bytes in memory are blue, green, red.
    const uchar* blueRow = out.constScanLine(4);
    EXPECT_NEAR(blueRow[3 * 5 + 0], 220, 12);
    EXPECT_NEAR(blueRow[3 * 5 + 2], 20, 12);
    const QColor red = out.pixelColor(20, 20);
    EXPECT_NEAR(red.red(), 200, 12);
    EXPECT_NEAR(red.blue(), 40, 12);
}

TEST(JpegDecoder, GreyPictureComesOutGrayscale8)
{
    QImage grey(17, 9, QImage::Format_Grayscale8);
    grey.fill(120);
    QImage out;
    ASSERT_TRUE(JpegDecoder::Decode(EncodeJpeg(grey), &out));
    EXPECT_EQ(out.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(out.size(), QSize(17, 9));
    EXPECT_NEAR(out.constScanLine(8)[16], 120, 3);
}

TEST(JpegDecoder, BadDataIsRefusedWithoutEndingTheProcess)
{
    const QByteArray good = EncodeJpeg(ColourPicture());
    QByteArray corruptHeader = good;
    corruptHeader[1] = char(0x00); // no start-of-image marker
    QByteArray scrambled = good;
    for (qsizetype i = good.size() / 3; i < good.size() - 2; ++i)
        scrambled[i] = char(0xFF);

    struct Case
    {
        const char* name;
        QByteArray data;
    };
    const Case cases[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("not a picture at all")},
        {"bmp-like", QByteArray("BM\x36\x00\x00\x00", 6)},
        {"only the start marker", good.left(2)},
        {"cut in the header", good.left(40)},
        {"cut in the picture data", good.left(good.size() / 2)},
        {"end marker missing", good.left(good.size() - 2)},
        {"corrupt header", corruptHeader},
        {"scrambled data", scrambled},
    };
    for (const Case& c : cases) {
        QImage out(3, 3, QImage::Format_RGB32);
        EXPECT_FALSE(JpegDecoder::Decode(c.data, &out)) << c.name;
        EXPECT_TRUE(out.isNull()) << c.name;
    }
}
