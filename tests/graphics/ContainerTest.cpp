#include "CBitmapsContainerWriter.h"
#include "app/CError.h"
#include "common/TempDir.h"
#include "graphics/CBitmapsContainer.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QByteArray Header(int32_t dirSize)
{
    QByteArray b("\x42\x43\x01\x31", 4);
    b.append(5, '\0');
    char n[4];
    qToLittleEndian<qint32>(dirSize, n);
    b.append(n, 4);
    return b;
}

QByteArray Int32(int32_t v)
{
    char n[4];
    qToLittleEndian<qint32>(v, n);
    return QByteArray(n, 4);
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QImage RandomImage(int w, int h, QImage::Format format, quint32 seed)
{
    QImage img(w, h, format);
    QRandomGenerator rng(seed);
    for (int y = 0; y < h; ++y) {
        uchar* row = img.scanLine(y);
        for (qsizetype i = 0; i < img.bytesPerLine(); ++i)
            row[i] = static_cast<uchar>(rng.bounded(256));
    }
    return img;
}

bool SamePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.format() != b.format())
        return false;
    const qsizetype n = static_cast<qsizetype>(a.width()) * (a.depth() / 8);
    for (int y = 0; y < a.height(); ++y)
        if (memcmp(a.constScanLine(y), b.constScanLine(y), static_cast<size_t>(n)) != 0)
            return false;
    return true;
}

class ContainerTest : public ::testing::Test
{
protected:
    TempDir dir;
    CBitmapsContainer bc;
    QString Path(const char* name) { return dir.file(name); }
};

TEST_F(ContainerTest, OpenResultCodes)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        int code;
    };
    QByteArray dir5001 = Header(4 + 5000 * 24) + Int32(5001);
    dir5001.append(5000 * 24, '\0');
    QByteArray dir5000 = Header(4 + 5000 * 24) + Int32(5000);
    dir5000.append(5000 * 24, '\0');
    QByteArray dirOver = Header(120005) + Int32(1);
    dirOver.append(120001, '\0');
    const Case cases[] = {
        {"short", QByteArray("\x42\x43\x01", 3), 9},
        {"magic", QByteArray("BM\x01\x31xxxxx\x04\0\0\0\x01\0\0\0", 17), 5},
        {"nosize", Header(4).left(11), 9},
        {"over", dirOver, 4},
        {"max", dir5000, 0},
        {"dirshort", Header(28) + Int32(1), 9},
        {"zero", Header(4) + Int32(0), 15},
        {"negative", Header(4) + Int32(-3), 15},
        {"toomany", dir5001, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(Path(c.name), c.bytes);
        EXPECT_EQ(bc.Open(Path(c.name), false), c.code);
        EXPECT_EQ(bc.IsFileOpen(), c.code == 0);
        EXPECT_EQ(bc.Count(), c.code == 0 ? 5000 : 0);
    }
    EXPECT_EQ(bc.Open(Path("missing"), false), 2);
    EXPECT_FALSE(bc.IsFileOpen());
}

TEST_F(ContainerTest, ShortDirectoryKeepsFreshRecords)
{
    // Count 3 but room for one record: the others stay empty and read as format 0.
    QByteArray rec(24, '\0');
    QByteArray bytes = Header(4 + 24) + Int32(3) + rec;
    WriteFile(Path("c"), bytes);
    ASSERT_EQ(bc.Open(Path("c"), false), 0);
    EXPECT_EQ(bc.Count(), 3);
    QImage img;
    EXPECT_EQ(bc.LoadTo(&img, 2), 5);
    QByteArray raw("x");
    EXPECT_EQ(bc.LoadTo(&raw, 2), 0);
    EXPECT_TRUE(raw.isEmpty());
}

TEST_F(ContainerTest, RoundTripOfEveryEncoding)
{
    const QImage colour = RandomImage(37, 19, QImage::Format_BGR888, 1);
    const QImage mask = RandomImage(13, 7, QImage::Format_Grayscale8, 2);
    CBitmapsContainerWriter w;
    w.Set(0, colour, CBitmapsContainerWriter::Encoding::Bmp);
    w.Set(1, mask, CBitmapsContainerWriter::Encoding::Bmp);
    w.Set(3, colour, CBitmapsContainerWriter::Encoding::Jpeg, 95);
    w.Set(4, mask, CBitmapsContainerWriter::Encoding::Jpeg, 95);
    w.SetRaw(5, QByteArray("garbage"), 3);
    w.SetRaw(6, QByteArray("not a jpeg"), 2);
    w.SetRaw(7, QByteArray("BMnot a bmp"), 1);
    ASSERT_EQ(w.Count(), 8);
    ASSERT_TRUE(w.Save(Path("c.bc")));
    for (bool closeAfterRead : {false, true}) {
        SCOPED_TRACE(closeAfterRead);
        ASSERT_EQ(bc.Open(Path("c.bc"), closeAfterRead), 0);
        EXPECT_EQ(bc.IsFileOpen(), !closeAfterRead);
        QImage img;
        ASSERT_EQ(bc.LoadTo(&img, 0), 0);
        EXPECT_TRUE(SamePixels(img, colour));
        ASSERT_EQ(bc.LoadTo(&img, 1), 0);
        EXPECT_TRUE(SamePixels(img, mask)); // masks come back as exact grey
        ASSERT_EQ(bc.LoadTo(&img, 3), 0);
        EXPECT_EQ(img.format(), QImage::Format_BGR888);
        EXPECT_EQ(img.size(), colour.size());
        ASSERT_EQ(bc.LoadTo(&img, 4), 0);
        EXPECT_EQ(img.format(), QImage::Format_Grayscale8);
        EXPECT_EQ(img.size(), mask.size());
        const QImage before = img;
        EXPECT_EQ(bc.LoadTo(&img, 2), 5); // never set: format 0
        EXPECT_EQ(bc.LoadTo(&img, 5), 5);
        EXPECT_EQ(bc.LoadTo(&img, 6), 1);
        EXPECT_EQ(bc.LoadTo(&img, 7), 1);
        EXPECT_EQ(bc.LoadTo(&img, -1), 16);
        EXPECT_EQ(bc.LoadTo(&img, 8), 16);
        EXPECT_TRUE(SamePixels(img, before)); // failures leave the target alone
        EXPECT_EQ(bc.IsFileOpen(), !closeAfterRead);
        QByteArray raw;
        ASSERT_EQ(bc.LoadTo(&raw, 5), 0);
        EXPECT_EQ(raw, QByteArray("garbage"));
    }
}

TEST_F(ContainerTest, DataPastTheEndAndBadRecords)
{
    QByteArray bytes = Header(4 + 3 * 24) + Int32(3);
    auto rec = [](int32_t off, int32_t size) {
        QByteArray r = Int32(off) + Int32(size);
        r.append(12, '\0');
        r.append('\x01');
        r.append(3, '\0');
        return r;
    };
    const int dataStart = 13 + 4 + 3 * 24;
    bytes += rec(dataStart, 100) + rec(-5, 4) + rec(dataStart, 0x7fffffff);
    bytes.append(10, 'x');
    WriteFile(Path("c"), bytes);
    ASSERT_EQ(bc.Open(Path("c"), false), 0);
    QByteArray raw;
    EXPECT_EQ(bc.LoadTo(&raw, 0), 9);
    EXPECT_EQ(bc.LoadTo(&raw, 1), 9);
    EXPECT_EQ(bc.LoadTo(&raw, 2), 9);
}

TEST_F(ContainerTest, OpenCompleteRefusesACopyCutShort)
{
    CBitmapsContainerWriter w;
    for (int i = 0; i < 3; ++i)
        w.Set(i, RandomImage(16, 16, QImage::Format_BGR888, quint32(10 + i)),
              CBitmapsContainerWriter::Encoding::Bmp);
    ASSERT_TRUE(w.Save(Path("whole.bc")));
    ASSERT_EQ(bc.OpenComplete(Path("whole.bc")), 0);
    EXPECT_TRUE(bc.IsFileOpen());
    QImage img;
    EXPECT_EQ(bc.LoadTo(&img, 2), 0);

    QFile whole(Path("whole.bc"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    // Cut within the last image, and within the first: the directory is
    // whole, so Open alone accepts both.
    for (const qsizetype cut : {bytes.size() - 1, bytes.size() / 3}) {
        WriteFile(Path("cut.bc"), bytes.left(cut));
        EXPECT_EQ(bc.Open(Path("cut.bc"), false), 0) << cut;
        EXPECT_EQ(bc.OpenComplete(Path("cut.bc")), 9) << cut;
        EXPECT_FALSE(bc.IsFileOpen());
        EXPECT_EQ(bc.Count(), 0);
    }
    // The codes of Open come through unchanged.
    EXPECT_EQ(bc.OpenComplete(Path("nothing.bc")), 2);
}

TEST_F(ContainerTest, FailedSecondOpenEmptiesTheContainer)
{
    CBitmapsContainerWriter w;
    w.Set(0, RandomImage(4, 4, QImage::Format_BGR888, 3), CBitmapsContainerWriter::Encoding::Bmp);
    ASSERT_TRUE(w.Save(Path("a.bc")));
    ASSERT_EQ(bc.Open(Path("a.bc"), false), 0);
    EXPECT_EQ(bc.FileName(), Path("a.bc"));
    EXPECT_EQ(bc.Open(Path("nothing.bc"), false), 2);
    QImage img;
    EXPECT_EQ(bc.LoadTo(&img, 0), 15);
    EXPECT_TRUE(bc.FileName().isEmpty());
    EXPECT_FALSE(bc.IsFileOpen());
}

TEST_F(ContainerTest, ClosedFileIsReopenedAndNullTargetsRaise)
{
    CBitmapsContainerWriter w;
    w.Set(0, RandomImage(4, 4, QImage::Format_BGR888, 3), CBitmapsContainerWriter::Encoding::Bmp);
    ASSERT_TRUE(w.Save(Path("a.bc")));
    ASSERT_EQ(bc.Open(Path("a.bc"), true), 0);
    QFile::remove(Path("a.bc"));
    QImage img;
    EXPECT_EQ(bc.LoadTo(&img, 0), 2);
    try {
        bc.LoadTo(static_cast<QImage*>(nullptr), 0);
        FAIL();
    } catch (const CError& e) {
        EXPECT_EQ(e.Message(),
                  QString("Nieprawidłowy obiekt _TBitmap w parametrze funkcji LoadTo!"));
    }
    try {
        bc.LoadTo(static_cast<QByteArray*>(nullptr), 0);
        FAIL();
    } catch (const CError& e) {
        EXPECT_EQ(e.Message(), QString("Nieprawidłowy obiekt TMemoryStream w parametrze LoadTo!"));
    }
}

TEST_F(ContainerTest, EmptyWriterGivesAnEmptyContainer)
{
    CBitmapsContainerWriter w;
    EXPECT_EQ(w.Count(), 0);
    ASSERT_TRUE(w.Save(Path("e.bc")));
    EXPECT_EQ(bc.Open(Path("e.bc"), false), 15);
    QString error;
    EXPECT_FALSE(w.Save(dir.file("no/such/dir/x.bc"), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
