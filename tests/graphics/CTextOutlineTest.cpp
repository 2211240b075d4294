#include "graphics/CTextOutline.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

// Large text filled from its outline in pieces looks as Qt's own drawText
// draws it: the same layout (alignment, wrapping), the same letters, their
// holes kept.
namespace {

QImage Page(double scale)
{
    QImage image(QSize(600, 160) * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    return image;
}

// The share of pixels whose red differs by more than a faint edge would.
double Differing(const QImage& a, const QImage& b)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += std::abs(qRed(a.pixel(x, y)) - qRed(b.pixel(x, y))) > 48;
    return static_cast<double>(differing) / (a.width() * a.height());
}

int Dark(const QImage& image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qRed(image.pixel(x, y)) < 128;
    return dark;
}

} // namespace

TEST(CTextOutline, FilledInPiecesAsDrawTextDrawsIt)
{
    struct Case
    {
        double scale;
        int pixels;
        int flags;
        const char* text;
    };
    const Case cases[] = {
        {2.25, 41, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
         "Łódka z wysokim masztem i płótnem, które wypełnia wiatr."},
        {2.25, 55, Qt::AlignCenter, "WŁÓCZKA"},
        {1.5, 55, Qt::AlignHCenter | Qt::AlignTop, "ĄĘ OBÓZ 80%"},
        {3.0, 30, Qt::AlignRight | Qt::AlignBottom | Qt::TextWordWrap,
         "Ala ma kota, a kot ma Alę."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(c.pixels);
        font.setBold(true);
        const QRect box(10, 5, 580, 150);
        const QString text = QString::fromUtf8(c.text);

        QImage expected = Page(c.scale);
        {
            QPainter p(&expected);
            EXPECT_TRUE(CTextOutline::DrawnFromOutlines(p, font));
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(box, c.flags, text);
        }
        QImage filled = Page(c.scale);
        {
            QPainter p(&filled);
            CTextOutline(font, box, c.flags, text).Fill(p, Qt::black);
        }
        EXPECT_GT(Dark(filled), Dark(expected) * 9 / 10);
        EXPECT_LT(Differing(filled, expected), 0.002);
    }
}

TEST(CTextOutline, EachLetterIsAPieceOfItsOwnWithItsHoles)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(60);
    const CTextOutline outline(font, QRect(0, 0, 400, 100), Qt::AlignLeft, QStringLiteral("O B"));
    ASSERT_EQ(outline.Pieces().size(), 2u);
    // The hole of the O is a hole: its middle is not filled.
    const QPainterPath& o = outline.Pieces().front();
    EXPECT_FALSE(o.contains(o.boundingRect().center()));
}

TEST(CTextOutline, SmallTextIsLeftToTheGlyphCache)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(40);
    for (const auto& [scale, outlines] :
         {std::pair{1.0, false}, {1.5, false}, {1.7, true}, {2.25, true}}) {
        QImage image = Page(scale);
        QPainter p(&image);
        EXPECT_EQ(CTextOutline::DrawnFromOutlines(p, font), outlines) << scale;
    }
}
