#include "CBitmapsContainerWriter.h"
#include "FixedDisplay.h"
#include "app/CError.h"
#include "app/DisplayMode.h"
#include "common/TempDir.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CDynamicPlace.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransBitmap.h"

#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

using Enc = CBitmapsContainerWriter::Encoding;

QImage Filled(int w, int h, int b, int g, int r)
{
    QImage img(w, h, QImage::Format_BGR888);
    img.fill(QColor(r, g, b));
    return img;
}

QImage GreyMask(int w, int h, int v)
{
    QImage m(w, h, QImage::Format_Grayscale8);
    m.fill(static_cast<uint>(v));
    return m;
}

int Byte(const QImage& img, int x, int y, int c)
{
    return img.constScanLine(y)[x * (img.depth() / 8) + c];
}

// A BMP file of 4 or 8 bits per pixel with a palette, laid out byte by byte as
// a paint program saves it (Qt writes no 4-bit files); every pixel is palette
// entry 1.
QByteArray IndexedBmp(int bits, int w, int h, QColor colour)
{
    QByteArray b;
    auto put = [&b](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.append(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    const int colours = 1 << bits;
    const int rowBytes = (w * bits + 31) / 32 * 4;
    const int offset = 14 + 40 + colours * 4;
    b.append("BM");
    put(static_cast<uint32_t>(offset + rowBytes * h), 4);
    put(0, 4);
    put(static_cast<uint32_t>(offset), 4);
    for (uint32_t v : {40u, uint32_t(w), uint32_t(h)})
        put(v, 4);
    put(1, 2);
    put(static_cast<uint32_t>(bits), 2);
    for (uint32_t v : {0u, uint32_t(rowBytes * h), 2835u, 2835u, 0u, 0u})
        put(v, 4);
    for (int i = 0; i < colours; ++i) {
        const QColor c = i == 1 ? colour : QColor(Qt::black);
        put(static_cast<uint32_t>(c.blue() | c.green() << 8 | c.red() << 16), 4);
    }
    const char pixels = static_cast<char>(bits == 4 ? 0x11 : 0x01);
    b.append(QByteArray(rowBytes * h, pixels));
    return b;
}

void ExpectError(const std::function<void()>& f, const QString& message)
{
    try {
        f();
        ADD_FAILURE() << "no error, expected " << message.toStdString();
    } catch (const CError& e) {
        EXPECT_EQ(e.Message(), message);
    }
}

class PlacementTest : public ::testing::Test
{
protected:
    void SetUp() override { SetDisplayModeFor(1280, 960); }
    void TearDown() override { SetDisplayModeFor(1280, 960); }
    void Mode(int w, int h, int colourMode = CM_COLOR)
    {
        SetDisplayModeFor(w, h);
        ColorMode = colourMode;
    }
    SFixedDisplay fixedDisplay; // first: before any table
    CDynamicPlace dp;
};

TEST_F(PlacementTest, ValuesDeriveFromTheFirstWrittenMode)
{
    dp.Add(PT_POINT, 7);
    dp.SetPoint(DM_1280, 1199, 13, 20);
    dp.Add(PT_PLACE, 0);
    dp.SetPlace(DM_1024, 950, 100, 300, 200, -1);
    dp.Add(PT_RECT | PF_FIXEDSIZE, 0);
    dp.SetRect(DM_1280, 100, 200, 300, 400, -1);
    dp.SetRect(DM_1024, 1, 2, 3, 4, 5);
    dp.Add(PT_POINT, 0);
    dp.SetPoint(DM_800, 100, 50, 25);
    struct Row
    {
        int w, h;
        int x, y, size;          // entry 1
        int left, width, psize;  // entry 2
        int rleft, rbottom, rsz; // entry 3
        int px, psz;             // entry 4
    };
    const Row rows[] = {
        {1280, 960, 1199, 13, 20, 950 * 10 / 8, 375, -1, 100, 400, -1, 160,
         40}, // -1 * 10 / 8 truncates to -1
        {1024, 768, 959, 10, 16, 950, 300, -1, 1, 4, 5, 128, 32},
        {800, 600, 749, 8, 12, 742, 234, 0, 62, 250, -1, 100, 25},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.w);
        Mode(r.w, r.h);
        dp.Set_iCurrent(1);
        EXPECT_EQ(dp.Get_CX(), r.x);
        EXPECT_EQ(dp.Get_CY(), r.y);
        EXPECT_EQ(dp.Get_CSize(), r.size);
        EXPECT_EQ(dp.Get_CParam(), 7);
        dp.Next();
        EXPECT_EQ(dp.Get_CLeft(), r.left);
        EXPECT_EQ(dp.Get_CWidth(), r.width);
        EXPECT_EQ(dp.Get_CSize(), r.psize); // -1 scaled becomes 0
        dp.Next();
        EXPECT_EQ(dp.Get_CLeft(), r.rleft);
        EXPECT_EQ(dp.Get_CBottom(), r.rbottom);
        EXPECT_EQ(dp.Get_CSize(), r.rsz); // fixed size copied
        dp.Next();
        EXPECT_EQ(dp.Get_CX(), r.px);
        EXPECT_EQ(dp.Get_CSize(), r.psz);
        EXPECT_EQ(dp.Get_iCurrent(), 4);
        dp.Next();
        EXPECT_EQ(dp.Get_iCurrent(), 0);
    }
}

TEST_F(PlacementTest, CentredEntriesGetTheOffsets)
{
    Mode(1536, 960); // DM_1280, OffsetX 128
    ASSERT_EQ(OffsetX, 128);
    dp.Add(PT_PLACE | PF_CENTERED, 0);
    dp.SetPlace(DM_1280, 10, 20, 300, 40, 12);
    EXPECT_EQ(dp.Get_CLeft(), 138);
    EXPECT_EQ(dp.Get_CTop(), 20);
    EXPECT_EQ(dp.Get_CWidth(), 300);
    EXPECT_EQ(dp.Get_CHeight(), 40);
    const QRect r = dp.Get_CRect();
    EXPECT_EQ(r.x(), 138);
    EXPECT_EQ(r.x() + r.width(), 138 + 300); // right, exclusive
    EXPECT_EQ(r.y() + r.height(), 60);
    EXPECT_EQ(dp.Get_CPotint(), QPoint(138, 20));
    QWidget w;
    dp.PlaceComponent(&w);
    EXPECT_EQ(w.geometry(), QRect(138, 20, 300, 40));
    dp.Add(PT_RECT | PF_CENTERED, 0);
    dp.SetRect(DM_1280, 1, 2, 30, 40, 0);
    const QRect rr = dp.Get_CRect();
    EXPECT_EQ(rr.x() + rr.width(), 158);
    EXPECT_EQ(dp.Get_CBottom(), 40);
    dp.Add(PT_POINT, 0);
    dp.SetPoint(DM_1280, 1, 2, 3);
    EXPECT_EQ(dp.Get_CX(), 1); // no flag, no offset
}

TEST_F(PlacementTest, ColoursAndGrey)
{
    const int c = 161 | (212 << 8) | (149 << 16);
    dp.Add(PT_COLOR, 0);
    dp.SetColor(DM_1024, c, -1);
    dp.Add(PT_COLOR, 0);
    dp.SetColor(DM_1280, c, 0x00010203);
    Mode(800, 600);
    dp.Set_iCurrent(1);
    EXPECT_EQ(dp.Get_CColor(), static_cast<uint32_t>(c));
    ColorMode = CM_MONO;
    EXPECT_EQ(dp.Get_CColor(), 189u | (189u << 8) | (189u << 16));
    dp.Next();
    EXPECT_EQ(dp.Get_CColor(), 0x00010203u);
    uint32_t colour = static_cast<uint32_t>(c);
    MonoColor(colour);
    EXPECT_EQ(colour, 189u * 0x010101u);
    ColorMode = CM_COLOR;
    colour = static_cast<uint32_t>(c);
    MonoColor(colour);
    EXPECT_EQ(colour, static_cast<uint32_t>(c));
}

TEST_F(PlacementTest, ScaleValueAndMonoBitmap)
{
    Mode(1024, 768);
    EXPECT_EQ(ScaleValue(1199, DM_1280), 959);
    EXPECT_EQ(ScaleValue(100, DM_1024 | DM_1280), 100);
    EXPECT_EQ(ScaleValue(100, DM_800), 128);
    EXPECT_EQ(ScaleValue(100, 0), 100);
    Mode(800, 600);
    EXPECT_EQ(ScaleValue(950, DM_1024), 742);
    EXPECT_EQ(ScaleValue(-1, DM_1280), 0);
    QImage img = Filled(2, 1, 0, 0, 255);
    MonoBitmap(&img);
    EXPECT_EQ(Byte(img, 0, 0, 2), 255);
    ColorMode = CM_MONO;
    MonoBitmap(&img);
    EXPECT_EQ(Byte(img, 0, 0, 0), 77);
    EXPECT_EQ(Byte(img, 0, 0, 2), 77);
    MonoBitmap(nullptr);
}

TEST_F(PlacementTest, CursorRules)
{
    dp.Add(PT_POINT, 0);
    dp.SetPoint(DM_1280, 1, 2, 3);
    dp.Set_iCurrent(1);
    dp.Next();
    ExpectError([&] { dp.PlaceComponent(nullptr); },
                "CDynamicPlace::PlaceComponent - Nie ustawiona proporcja Current!");
    ExpectError([&] { dp.Next(); }, "CDynamicPlace::Next - Przekroszenie zakresu tablicy!");
    ExpectError([&] { dp.Prev(); }, "CDynamicPlace::Prev - Początek tablicy osiągnięty!");
    ExpectError([&] { dp.Set_iCurrent(0); },
                "CDynamicPlace::Set_iCurrent - Próba ustawiania kursora poza wielkością tablicy!");
    ExpectError([&] { dp.Set_iCurrent(2); },
                "CDynamicPlace::Set_iCurrent - Próba ustawiania kursora poza wielkością tablicy!");
    dp.Set_iCurrent(1);
    ExpectError([&] { dp.Prev(); }, "CDynamicPlace::Prev - Początek tablicy osiągnięty!");
    dp.Add(PT_POINT, 0);
    dp.Prev();
    EXPECT_EQ(dp.Get_iCurrent(), 1);
    SDynaPlace copy = dp.CurrentDP();
    copy.Slots[2][0] = 77;
    dp.Next();
    dp.Set_CurrentDP(copy);
    EXPECT_EQ(dp.Get_CX(), 77);
    SDynaPlace other;
    other.Flags = PT_RECT;
    ExpectError([&] { dp.Set_CurrentDP(other); },
                "CDynamicPlace::Set_CurrentDP - Niezgodność typów!");
}

TEST_F(PlacementTest, EveryMisuseMessage)
{
    const QString getType = "Próba pobrania wartości z innego DynaType!";
    const QString setType = "Próba ustawienia innego PlaceType!";
    ExpectError([&] { dp.Add(PF_CENTERED, 0); },
                "CDynamicPlace::Add - Należy określić typ miejsca (PlaceType)!");
    dp.Add(PT_COLOR, 0);  // 1: colour, nothing written
    dp.Add(PT_BITMAP, 0); // 2: bitmap, nothing written
    dp.Add(PT_POINT, 0);  // 3: point, nothing written
    auto at = [&](int pos, const std::function<void()>& f) {
        return [&, pos, f] {
            dp.Set_iCurrent(pos);
            f();
        };
    };
    ExpectError(at(1, [&] { dp.SetPoint(DM_1280, 0, 0, 0); }),
                "CDynamicPlace::SetPoint - " + setType);
    ExpectError(at(1, [&] { dp.SetRect(DM_1280, 0, 0, 0, 0, 0); }),
                "CDynamicPlace::SetRect - " + setType);
    ExpectError(at(1, [&] { dp.SetPlace(DM_1280, 0, 0, 0, 0, 0); }),
                "CDynamicPlace::SetPlace - " + setType);
    ExpectError(at(1, [&] { dp.SetBitmap(DM_1280, 0, 0, 0); }),
                "CDynamicPlace::SetBitmap - " + setType);
    ExpectError(at(2, [&] { dp.SetColor(DM_1280, 0, 0); }), "CDynamicPlace::SetColor - " + setType);
    const std::pair<const char*, std::function<void()>> getters[] = {
        {"Get_CLeft", [&] { dp.Get_CLeft(); }},     {"Get_CTop", [&] { dp.Get_CTop(); }},
        {"Get_CBottom", [&] { dp.Get_CBottom(); }}, {"Get_CWidth", [&] { dp.Get_CWidth(); }},
        {"Get_CHeight", [&] { dp.Get_CHeight(); }}, {"Get_CRect", [&] { dp.Get_CRect(); }},
        {"Get_CColor", [&] { dp.Get_CColor(); }},
    };
    for (const auto& [name, f] : getters)
        ExpectError(at(3, f), QString("CDynamicPlace::%1 - ").arg(name) + getType);
    ExpectError(at(1, [&] { dp.Get_CX(); }), "CDynamicPlace::Get_CX - " + getType);
    ExpectError(at(1, [&] { dp.Get_CY(); }), "CDynamicPlace::Get_CY - " + getType);
    ExpectError(at(1, [&] { dp.Get_CSize(); }), "CDynamicPlace::Get_CSize - " + getType);
    ExpectError(at(1, [&] { dp.Get_CPotint(); }), "CDynamicPlace::Get_CPotint - " + getType);
    ExpectError(at(3, [&] { dp.Get_CX(); }),
                "CDynamicPlace::GetSuitableDynaType - Brak zdefiniowanej jednej rozdzielczości!");
    ExpectError(at(1, [&] { dp.Get_CColor(); }),
                "CDynamicPlace::SuitableBitmap - Brak zdefiniowanej jednej rozdzielczości!");
    ExpectError(at(2, [&] { dp.GetSuitableDynaType(dp.CurrentDP()); }),
                "CDynamicPlace::GetSuitableDynaType - Niezgodność typu pobieranych danych!");
    ExpectError(at(3, [&] { dp.PlaceComponent(nullptr); }),
                "CDynamicPlace::PlaceComponent - Niezgodność typu pobieranych danych!");
    ExpectError(at(3, [&] { dp.SuitableBitmap(dp.CurrentDP(), false, 0, 0); }),
                "CDynamicPlace::SuitableBitmap - Niezgodność typu pobieranych danych!");
    ExpectError(
        at(2, [&] { dp.SuitableBitmap(dp.CurrentDP(), false, 0, 0); }),
        "CDynamicPlace::SuitableBitmap - Kontener bitmap nie ustawiony (właściwość Container)!");
    ExpectError(at(3, [&] { dp.GetBackground(); }),
                "CDynamicPlace::GetBackground - Niezgodność typu pobieranych danych!");
    ExpectError(
        at(2, [&] { dp.GetBackground(); }),
        "CDynamicPlace::GetBackground - Kontener bitmap nie ustawiony (proporcja Container)!");
    CTransBitmap tb;
    ExpectError(at(3, [&] { dp.GetTransBitmap(tb); }),
                "CDynamicPlace::GetTransBitmap - Niezgodność typu pobieranych danych!");
    CBitmapsContainer bc;
    dp.Container = &bc;
    ExpectError(at(2, [&] { dp.SuitableBitmap(dp.CurrentDP(), false, 0, 0); }),
                "CDynamicPlace::SuitableBitmap - Brak zdefiniowanej jednej rozdzielczości!");
    dp.Set_iCurrent(2);
    dp.SetBitmap(DM_1280, -1, -1, -1);
    ExpectError(at(2, [&] { dp.SuitableBitmap(dp.CurrentDP(), false, 0, 0); }),
                "CDynamicPlace::SuitableBitmap - Próba pobrania z źle ustawionego PT_BITMAP!");
    ExpectError(at(2, [&] { dp.SuitableBitmap(dp.CurrentDP(), true, 0, 0); }),
                "CDynamicPlace::SuitableBitmap - Próba pobrania z źle ustawionego PT_BITMAP!");
    ExpectError(at(2, [&] { dp.GetBackground(); }),
                "CDynamicPlace::GetBackground - Nie zdefiniowano zadnej bitmapy!");
}

TEST(MyArrayTest, GrowsByFive)
{
    MyArray<int> a;
    EXPECT_EQ(a.Capacity(), 0u);
    a.Add(1);
    EXPECT_EQ(a.Capacity(), 5u);
    for (int i = 2; i <= 6; ++i)
        a.Add(i);
    EXPECT_EQ(a.Capacity(), 10u);
    EXPECT_EQ(a.Count(), 6);
    EXPECT_EQ(a[5], 6);
}

// A container with images at known indices, for the bitmap rules.
class BitmapPlacementTest : public PlacementTest
{
protected:
    void SetUp() override
    {
        PlacementTest::SetUp();
        CBitmapsContainerWriter w;
        w.Set(3, Filled(40, 20, 0, 0, 255), Enc::Bmp);     // red
        w.Set(7, Filled(40, 20, 255, 0, 0), Enc::Bmp);     // blue
        w.Set(8, GreyMask(40, 20, 200), Enc::Bmp);         // mask
        w.Set(9, Filled(1280, 960, 10, 20, 30), Enc::Bmp); // background
        w.Set(10, GreyMask(30, 30, 9), Enc::Bmp);          // mask of another size
        ASSERT_TRUE(w.Save(dir.file("c.bc")));
        ASSERT_EQ(bc.Open(dir.file("c.bc"), false), 0);
        dp.Container = &bc;
    }
    std::unique_ptr<QImage> Suitable(bool mask = false, int w = 0, int h = 0)
    {
        return dp.SuitableBitmap(dp.CurrentDP(), mask, w, h);
    }
    TempDir dir;
    CBitmapsContainer bc;
};

TEST_F(BitmapPlacementTest, ColourAndMonochromeChoice)
{
    dp.Add(PT_BITMAP, 0);
    dp.SetBitmap(DM_1280, -1, 7, -1);
    dp.Add(PT_BITMAP, 0);
    dp.SetBitmap(DM_1280, 3, -1, -1);
    for (int cm : {CM_COLOR, CM_MONO}) {
        ColorMode = cm;
        dp.Set_iCurrent(1);
        auto img = Suitable();
        EXPECT_EQ(Byte(*img, 0, 0, 0), 255); // image 7 either way
        EXPECT_EQ(Byte(*img, 0, 0, 2), 0);
        dp.Next();
        img = Suitable();
        EXPECT_EQ(Byte(*img, 0, 0, 2), cm == CM_COLOR ? 255 : 77);
        EXPECT_EQ(Byte(*img, 0, 0, 0), cm == CM_COLOR ? 0 : 77);
    }
}

TEST_F(BitmapPlacementTest, DerivedModesResampleWrittenModesCheckSizes)
{
    dp.Add(PT_BITMAP, 0);
    dp.SetBitmap(DM_1280, 3, -1, 8);
    auto img = Suitable();
    EXPECT_EQ(img->size(), QSize(40, 20));
    EXPECT_EQ(Suitable(false, 40, 20)->size(), QSize(40, 20));
    ExpectError([&] { Suitable(false, 41, 20); },
                "CDynamicPlace::SuitableBitmap - Różne rozmiary bitmap (kontener vs. wpisane)!");
    Mode(1024, 768);
    img = Suitable();
    EXPECT_EQ(img->size(), QSize(32, 16));
    EXPECT_EQ(img->format(), QImage::Format_BGR888);
    EXPECT_EQ(Byte(*img, 5, 5, 2), 255);
    auto mask = Suitable(true, 33, 17);
    EXPECT_EQ(mask->size(), QSize(33, 17));
    EXPECT_EQ(mask->format(), QImage::Format_Grayscale8);
    EXPECT_EQ(mask->constScanLine(3)[3], 200);
    Mode(800, 600);
    EXPECT_EQ(Suitable()->size(), QSize(25, 12));
}

TEST_F(BitmapPlacementTest, TransBitmapFromTheTable)
{
    dp.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
    dp.SetBitmap(DM_1280, 3, -1, 8);
    dp.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
    dp.SetBitmap(DM_1280, 3, -1, -1);
    dp.Add(PT_BITMAP, 0);
    dp.SetBitmap(DM_1280, 3, -1, 10);
    CTransBitmap tb;
    dp.Set_iCurrent(1);
    dp.GetTransBitmap(tb);
    ASSERT_NE(tb.Mask(), nullptr);
    EXPECT_EQ(tb.Mask()->constScanLine(0)[0], 200);
    EXPECT_EQ(tb.Image()->size(), QSize(40, 20));
    dp.Next();
    dp.GetTransBitmap(tb);
    EXPECT_EQ(tb.Mask(), nullptr);
    dp.Next();
    ExpectError([&] { dp.GetTransBitmap(tb); },
                "CDynamicPlace::SuitableBitmap - Różne rozmiary bitmap (kontener vs. wpisane)!");
    Mode(1024, 768); // derived: the mask is resampled to the image
    dp.GetTransBitmap(tb);
    EXPECT_EQ(tb.Image()->size(), QSize(32, 16));
    EXPECT_EQ(tb.Mask()->size(), QSize(32, 16));
}

TEST_F(BitmapPlacementTest, BackgroundIsCentredOnTheScreen)
{
    dp.Add(PT_BITMAP, 0);
    dp.SetBitmap(DM_1280, 9, -1, -1);
    auto bg = dp.GetBackground();
    EXPECT_EQ(bg->size(), QSize(1280, 960));
    Mode(1920, 1080);
    bg = dp.GetBackground();
    ASSERT_EQ(bg->size(), QSize(1920, 1080));
    EXPECT_EQ(Byte(*bg, 319, 60, 0), 0);
    EXPECT_EQ(Byte(*bg, 320, 60, 0), 10);
    EXPECT_EQ(Byte(*bg, 320, 59, 0), 0);
    EXPECT_EQ(Byte(*bg, 1599, 1019, 2), 30);
    EXPECT_EQ(Byte(*bg, 1600, 1019, 2), 0);
    Mode(1024, 768);
    bg = dp.GetBackground();
    EXPECT_EQ(bg->size(), QSize(1024, 768));
    EXPECT_EQ(Byte(*bg, 500, 500, 1), 20);
}

// Only an 8-bit picture is turned into 8-bit grey; a 4-bit colour picture
// (which Qt reads as an 8-bit indexed one) keeps its colours.
TEST_F(BitmapPlacementTest, OnlyEightBitPicturesTurnGrey)
{
    CBitmapsContainerWriter w;
    w.SetRaw(0, IndexedBmp(4, 10, 6, QColor(255, 0, 0)), 1);
    w.SetRaw(1, IndexedBmp(8, 10, 6, QColor(255, 0, 0)), 1);
    ASSERT_TRUE(w.Save(dir.file("i.bc")));
    CBitmapsContainer indexed;
    ASSERT_EQ(indexed.Open(dir.file("i.bc"), false), 0);
    dp.Container = &indexed;
    dp.Add(PT_BITMAP, 0);
    dp.SetBitmap(DM_1280, 0, -1, -1);
    dp.Add(PT_BITMAP, 0);
    dp.SetBitmap(DM_1280, 1, -1, -1);
    const struct
    {
        int position, screenWidth, screenHeight, colourMode;
        QImage::Format format;
        int blue, red; // of pixel (2, 2)
    } cases[] = {
        {1, 1280, 960, CM_COLOR, QImage::Format_BGR888, 0, 255},
        {1, 1024, 768, CM_COLOR, QImage::Format_BGR888, 0, 255}, // resampled
        {1, 1280, 960, CM_MONO, QImage::Format_BGR888, 77, 77},  // no grey image: made grey
        {2, 1280, 960, CM_COLOR, QImage::Format_Grayscale8, 77, 77},
        {2, 1024, 768, CM_COLOR, QImage::Format_Grayscale8, 77, 77},
    };
    for (const auto& c : cases) {
        Mode(c.screenWidth, c.screenHeight, c.colourMode);
        dp.Set_iCurrent(c.position);
        const auto img = Suitable();
        const std::string what = "entry " + std::to_string(c.position) + " at " +
                                 std::to_string(c.screenWidth) + " in mode " +
                                 std::to_string(c.colourMode);
        ASSERT_EQ(img->format(), c.format) << what;
        EXPECT_EQ(img->size(), c.screenWidth == 1280 ? QSize(10, 6) : QSize(8, 4)) << what;
        const int last = c.format == QImage::Format_BGR888 ? 2 : 0;
        EXPECT_EQ(Byte(*img, 2, 2, 0), c.blue) << what;
        EXPECT_EQ(Byte(*img, 2, 2, last), c.red) << what;
    }
}

TEST_F(BitmapPlacementTest, SharedContextLetters)
{
    CBitmapsContainerWriter w;
    for (int i = 0; i < 32; ++i) {
        w.Set(272 + i, Filled(20, 30, i, 100, 230), Enc::Bmp);
        w.Set(240 + i, Filled(16, 24, i, 100, 230), Enc::Bmp);
    }
    ASSERT_TRUE(w.Save(dir.file("l.bc")));
    CBitmapsContainer letters;
    ASSERT_EQ(letters.Open(dir.file("l.bc"), false), 0);
    CSharedKomps sk(nullptr);
    EXPECT_EQ(sk.Count(), 32);
    EXPECT_EQ(sk.Letters.Count(), 32);
    EXPECT_EQ(sk.Letters[1].Letter, QChar(u'Ą'));
    EXPECT_EQ(CSharedKomps::LetterIndex(u'ż'), 31);
    EXPECT_EQ(CSharedKomps::LetterIndex(u'Ż'), 31);
    EXPECT_EQ(CSharedKomps::LetterIndex(u'ą'), 1);
    EXPECT_EQ(CSharedKomps::LetterIndex(u'Q'), -1);
    // Only the program's Polish upper case: characters whose Unicode capital
    // is a letter of the alphabet ("ı" to "I", "ſ" to "S") are none.
    for (QChar c : {u'ı', u'ſ', u'é', u'ö'})
        EXPECT_EQ(CSharedKomps::LetterIndex(c), -1) << QString(c).toStdString();
    EXPECT_EQ(CSharedKomps::LetterIndex(u'ł'), 15);
    EXPECT_EQ(CSharedKomps::LetterIndex(u'ó'), 20);
    const QString random = CSharedKomps::RandomLetters(50);
    EXPECT_EQ(random.size(), 50);
    for (QChar c : random)
        EXPECT_GE(CSharedKomps::LetterIndex(c), 0);
    sk.Container = &letters;
    for (auto [w2, h2, size] : {std::tuple{1280, 960, QSize(20, 30)},
                                {1024, 768, QSize(16, 24)},
                                {800, 600, QSize(12, 18)}}) {
        Mode(w2, h2);
        sk.LoadLetterBitmaps();
        const auto& l = sk.Letters[5];
        ASSERT_EQ(l.Bitmap->size(), size);
        EXPECT_EQ(Byte(*l.Bitmap, 1, 1, 0), 5);
        EXPECT_EQ(Byte(*l.BrightBitmap, 1, 1, 0), 45);
        EXPECT_EQ(Byte(*l.BrightBitmap, 1, 1, 2), 255);
    }
}

} // namespace
