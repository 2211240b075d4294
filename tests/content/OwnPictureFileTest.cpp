// Reading the therapist's pictures: every format, every EXIF orientation,
// big JPEGs decoded at a reduced size, and files that are no pictures.
#include "content/OwnPictureFile.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// Four quarters in four colours: any turn or mirror shows.
QImage Quarters(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB888);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::green);
    p.fillRect(0, h / 2, w / 2, h - h / 2, Qt::blue);
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, Qt::yellow);
    return image;
}

QByteArray Encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (QByteArray(format) == "webp")
        writer.setQuality(100);
    EXPECT_TRUE(writer.write(image)) << format << writer.errorString().toStdString();
    return bytes;
}

// The colour names of the four quarters' middles, left to right, top down.
QStringList QuarterColours(const QImage& image)
{
    QStringList names;
    const int w = image.width(), h = image.height();
    for (const QPoint& at : {QPoint(w / 4, h / 4), QPoint(3 * w / 4, h / 4),
                             QPoint(w / 4, 3 * h / 4), QPoint(3 * w / 4, 3 * h / 4)}) {
        const QColor c = image.pixelColor(at);
        names << QString("%1%2%3").arg(c.red() > 128).arg(c.green() > 128).arg(c.blue() > 128);
    }
    return names;
}

TEST(OwnPictureFile, EveryFormatIsReadUpright)
{
    const QImage upright = Quarters(400, 300);
    const QStringList expected = QuarterColours(upright);
    for (const char* format : {"jpeg", "png", "bmp", "webp"}) {
        QImage read;
        QString error;
        ASSERT_TRUE(
            OwnPictureFile::LoadData(Encode(upright, format), QSize(400, 300), &read, &error))
            << format << ": " << error.toStdString();
        EXPECT_EQ(read.size(), QSize(400, 300)) << format;
        EXPECT_EQ(QuarterColours(read), expected) << format;
    }
    const QByteArray svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="30">
        <rect x="0" y="0" width="20" height="15" fill="#f00"/>
        <rect x="20" y="0" width="20" height="15" fill="#0f0"/>
        <rect x="0" y="15" width="20" height="15" fill="#00f"/>
        <rect x="20" y="15" width="20" height="15" fill="#ff0"/></svg>)";
    QImage drawn;
    QString error;
    ASSERT_TRUE(OwnPictureFile::LoadData(svg, QSize(616, 462), &drawn, &error))
        << error.toStdString();
    // A drawing is drawn at the size it is needed, not at its own.
    EXPECT_GE(drawn.width(), 616);
    EXPECT_GE(drawn.height(), 462);
    EXPECT_EQ(QuarterColours(drawn), expected);
}

// A JPEG with an EXIF block that holds only the orientation (1 to 8), as
// cameras write it.
QByteArray WithOrientation(const QByteArray& jpeg, int orientation)
{
    const unsigned char exif[] = {0xFF,
                                  0xE1,
                                  0x00,
                                  0x22,
                                  'E',
                                  'x',
                                  'i',
                                  'f',
                                  0,
                                  0, // APP1, 34 bytes
                                  'I',
                                  'I',
                                  0x2A,
                                  0x00,
                                  0x08,
                                  0x00,
                                  0x00,
                                  0x00, // TIFF, little-endian
                                  0x01,
                                  0x00, // one entry
                                  0x12,
                                  0x01,
                                  0x03,
                                  0x00,
                                  0x01,
                                  0x00,
                                  0x00,
                                  0x00, // Orientation, SHORT, 1
                                  (unsigned char)orientation,
                                  0x00,
                                  0x00,
                                  0x00,
                                  0x00,
                                  0x00,
                                  0x00,
                                  0x00};
    return jpeg.left(2) + QByteArray(reinterpret_cast<const char*>(exif), sizeof exif) +
           jpeg.mid(2);
}

// The eight EXIF orientations of a photograph: the result is the picture as
// the camera meant it, as Qt's own reader turns it.
TEST(OwnPictureFile, EveryExifOrientationIsHonoured)
{
    const QByteArray plain = Encode(Quarters(400, 300), "jpeg");
    QSet<QString> seen;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const QByteArray jpeg = WithOrientation(plain, orientation);
        QBuffer buffer;
        buffer.setData(jpeg);
        QImageReader reference(&buffer);
        reference.setAutoTransform(true);
        const QImage expected = reference.read();
        ASSERT_FALSE(expected.isNull());

        QImage read;
        QString error;
        ASSERT_TRUE(OwnPictureFile::LoadData(jpeg, QSize(400, 400), &read, &error));
        EXPECT_EQ(read.size(), expected.size());
        EXPECT_EQ(QuarterColours(read), QuarterColours(expected));
        seen.insert(QuarterColours(read).join(" "));
    }
    EXPECT_EQ(seen.size(), 8) << "each orientation turns the picture its own way";
}

TEST(OwnPictureFile, BigJpegIsDecodedReducedButNoSmallerThanNeeded)
{
    const QByteArray jpeg = Encode(Quarters(4000, 3000), "jpeg");
    QImage read;
    QString error;
    ASSERT_TRUE(OwnPictureFile::LoadData(jpeg, QSize(616, 462), &read, &error));
    EXPECT_EQ(read.size(), QSize(1000, 750)); // a quarter: an eighth would be too small
    EXPECT_EQ(QuarterColours(read), QuarterColours(Quarters(4, 3)));

    // Turned a quarter, the need is measured on the turned picture.
    const QByteArray tall = WithOrientation(Encode(Quarters(4000, 3000), "jpeg"), 6);
    ASSERT_TRUE(OwnPictureFile::LoadData(tall, QSize(616, 462), &read, &error));
    EXPECT_EQ(read.size(), QSize(750, 1000));
}

TEST(OwnPictureFile, TransparencyIsShownOnWhiteAndNonPicturesAreRefused)
{
    QImage clear(40, 30, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    QImage read;
    QString error;
    ASSERT_TRUE(OwnPictureFile::LoadData(Encode(clear, "png"), QSize(4, 3), &read, &error));
    EXPECT_EQ(read.pixelColor(10, 10), QColor(Qt::white));

    for (const QByteArray& junk : {QByteArray(), QByteArray("to nie jest obrazek"),
                                   Encode(Quarters(40, 30), "png").left(60)}) {
        error.clear();
        EXPECT_FALSE(OwnPictureFile::LoadData(junk, QSize(4, 3), &read, &error));
        EXPECT_TRUE(error.contains("JPEG, PNG, WebP, BMP i SVG")) << error.toStdString();
    }
    EXPECT_FALSE(OwnPictureFile::Load("/nie/ma/takiego/pliku.jpg", QSize(4, 3), &read, &error));
    EXPECT_TRUE(error.contains("Nie można otworzyć")) << error.toStdString();
}

} // namespace
