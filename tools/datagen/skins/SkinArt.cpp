#include "SkinArt.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <vector>

namespace SkinArt {

namespace {
QImage Canvas(QSize size, const QColor& fill)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}
QImage Finish(const QImage& canvas)
{
    return canvas.convertToFormat(QImage::Format_BGR888);
}
QImage FinishMask(const QImage& canvas)
{
    return canvas.convertToFormat(QImage::Format_Grayscale8);
}
int Lum(const QColor& c)
{
    return (11 * c.blue() + 59 * c.green() + 30 * c.red() + 50) / 100;
}
QColor Mix(const QColor& a, const QColor& b, double t)
{
    return QColor(int(a.red() + (b.red() - a.red()) * t),
                  int(a.green() + (b.green() - a.green()) * t),
                  int(a.blue() + (b.blue() - a.blue()) * t));
}
} // namespace

QImage NewImage(QSize size, const QColor& fill)
{
    return Finish(Canvas(size, fill));
}

QImage NewMask(QSize size)
{
    QImage m(size, QImage::Format_Grayscale8);
    m.fill(0);
    return m;
}

QImage ToGrey(const QImage& image)
{
    QImage src = image.convertToFormat(QImage::Format_BGR888);
    for (int y = 0; y < src.height(); ++y) {
        uchar* row = src.scanLine(y);
        for (int x = 0; x < src.width(); ++x) {
            uchar* px = row + 3 * x; // blue, green, red
            const uchar g = uchar((11 * px[0] + 59 * px[1] + 30 * px[2] + 50) / 100);
            px[0] = px[1] = px[2] = g;
        }
    }
    return src;
}

QFont Font(int pixelSize, bool bold)
{
    QFont f("Arial");
    f.setPixelSize(std::max(1, pixelSize));
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

int FitFontPx(const QString& text, const QRect& rect, int maxPx, int flags, bool bold)
{
    for (int px = maxPx; px > 8; --px) {
        const QRect need = QFontMetrics(Font(px, bold)).boundingRect(rect, flags, text);
        if (need.width() <= rect.width() && need.height() <= rect.height())
            return px;
    }
    return 8;
}

void DrawFittedText(QPainter& p, const QRect& rect, const QString& text, int maxPx, int flags,
                    const QColor& colour, bool bold)
{
    p.save();
    p.setFont(Font(FitFontPx(text, rect, maxPx, flags, bold), bold));
    p.setPen(colour);
    p.drawText(rect, flags, text);
    p.restore();
}

void BoxBlur(QImage& grey, int radius)
{
    if (radius <= 0 || grey.format() != QImage::Format_Grayscale8)
        return;
    const int w = grey.width(), h = grey.height();
    std::vector<int> line(std::max(w, h));
    auto pass = [&](int count, int length, auto at) {
        for (int i = 0; i < count; ++i) {
            for (int k = 0; k < length; ++k)
                line[k] = *at(i, k);
            int sum = 0;
            for (int k = -radius; k <= radius; ++k)
                sum += line[std::clamp(k, 0, length - 1)];
            for (int k = 0; k < length; ++k) {
                *at(i, k) = uchar(sum / (2 * radius + 1));
                sum += line[std::min(k + radius + 1, length - 1)];
                sum -= line[std::max(k - radius, 0)];
            }
        }
    };
    pass(h, w, [&](int y, int x) { return grey.scanLine(y) + x; });
    pass(w, h, [&](int x, int y) { return grey.scanLine(y) + x; });
}

QPainterPath RoundedPath(const QRectF& r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QImage ShapeMask(QSize size, const QPainterPath& shape, int blur)
{
    QImage canvas = Canvas(size, Qt::black);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(shape, Qt::white);
    p.end();
    QImage mask = FinishMask(canvas);
    BoxBlur(mask, blur);
    return mask;
}

ImagePair Shaped(QSize size, const QPainterPath& shape, int shadowDx, int shadowDy, int shadowBlur,
                 const std::function<void(QPainter&)>& paintFace)
{
    // Mask: a blurred, half-strength shadow under the full-strength shape.
    QImage shadowCanvas = Canvas(size, Qt::black);
    {
        QPainter p(&shadowCanvas);
        p.setRenderHint(QPainter::Antialiasing);
        if (shadowDx || shadowDy)
            p.fillPath(shape.translated(shadowDx, shadowDy), QColor(120, 120, 120));
    }
    QImage shadow = FinishMask(shadowCanvas);
    BoxBlur(shadow, shadowBlur);
    QImage shapeMask = ShapeMask(size, shape, 0);
    QImage mask = NewMask(size);
    for (int y = 0; y < size.height(); ++y) {
        const uchar* s = shadow.constScanLine(y);
        const uchar* f = shapeMask.constScanLine(y);
        uchar* m = mask.scanLine(y);
        for (int x = 0; x < size.width(); ++x)
            m[x] = std::max(s[x], f[x]);
    }
    // Image: shadow colour everywhere, the face over it.
    QImage canvas = Canvas(size, Ink::Shadow);
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        paintFace(p);
    }
    return {Finish(canvas), mask};
}

QRectF CardRect(QSize size, Look look, bool sameShape)
{
    const qreal sh = std::max(3, std::min(size.width(), size.height()) / 18);
    QRectF r(1.5, 1.5, size.width() - 3 - sh, size.height() - 3 - sh);
    if (look == Look::Pressed && !sameShape)
        r.translate(sh / 2, sh / 2);
    return r;
}

namespace {
qreal Radius(const QRectF& r)
{
    return std::min<qreal>(18, std::min(r.width(), r.height()) * 0.2);
}
int ShadowOf(QSize size)
{
    return std::max(3, std::min(size.width(), size.height()) / 18);
}

void PaintFace(QPainter& p, const QRectF& r, const CardStyle& s)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, s.top);
    g.setColorAt(1, s.low);
    p.fillPath(RoundedPath(r, Radius(r)), g);
    const qreal w = s.borderWidth;
    p.setPen(QPen(s.border, w));
    p.setBrush(Qt::NoBrush);
    p.drawPath(RoundedPath(r.adjusted(w / 2, w / 2, -w / 2, -w / 2), Radius(r)));
}
} // namespace

CardStyle StyleFor(Look look, const QColor& face, QSize size)
{
    const bool plain = face == Ink::Face;
    CardStyle s;
    s.borderWidth = std::max<qreal>(2, std::min(size.width(), size.height()) / 26.0);
    switch (look) {
    case Look::Normal:
        s.top = plain ? Ink::Face : face.lighter(112);
        s.low = plain ? Ink::FaceLow : face;
        s.border = Ink::Border;
        break;
    case Look::Hot:
        s.top = plain ? Mix(Ink::Hot, Qt::white, 0.45) : face.lighter(135);
        s.low = plain ? Ink::Hot : face.lighter(118);
        s.border = Ink::HotBorder;
        s.borderWidth += 3;
        break;
    case Look::Pressed:
        s.top = plain ? Ink::Pressed.darker(112) : face.darker(125);
        s.low = plain ? Ink::Pressed : face.darker(108);
        s.border = Ink::Border.darker(120);
        break;
    }
    return s;
}

ImagePair StyledCard(QSize size, const CardStyle& style, bool shifted, const QString& text,
                     int textPx)
{
    const QRectF r = CardRect(size, shifted ? Look::Pressed : Look::Normal);
    const int sh = ShadowOf(size);
    const int dx = shifted ? sh / 2 : sh;
    return Shaped(size, RoundedPath(r, Radius(r)), dx, dx, std::max(1, sh / 2), [&](QPainter& p) {
        PaintFace(p, r, style);
        if (!text.isEmpty()) {
            const QRect tr = r.adjusted(6, 4, -6, -4).toRect();
            DrawFittedText(p, tr, text, textPx, Qt::AlignCenter, Ink::Text);
        }
    });
}

ImagePair Card(QSize size, Look look, const QString& text, int textPx, const QColor& face,
               bool sameShape)
{
    return StyledCard(size, StyleFor(look, face, size), look == Look::Pressed && !sameShape, text,
                      textPx);
}

ImagePair Button(QSize size, Look look, const QColor& face,
                 const std::function<void(QPainter&, const QRectF&, const QColor&)>& icon,
                 const QString& caption, bool grey)
{
    const QColor base = grey ? QColor(Lum(face), Lum(face), Lum(face)) : face;
    const QRectF r = CardRect(size, look);
    const int sh = ShadowOf(size);
    const int dx = look == Look::Pressed ? sh / 2 : sh;
    ImagePair pair =
        Shaped(size, RoundedPath(r, Radius(r)), dx, dx, std::max(1, sh / 2), [&](QPainter& p) {
            PaintFace(p, r, StyleFor(look, base, size));
            const QColor ink = Lum(base) < 150 ? QColor(Qt::white) : Ink::Text;
            QRectF box = r.adjusted(r.width() * 0.18, r.height() * 0.16, -r.width() * 0.18,
                                    -r.height() * 0.16);
            if (!caption.isEmpty()) {
                const qreal capH =
                    std::max<qreal>(14, std::min(r.height() * 0.26, r.width() * 0.3));
                box = QRectF(r.left() + r.width() * 0.2, r.top() + r.height() * 0.1,
                             r.width() * 0.6, r.height() - capH - r.height() * 0.14);
                const QRect capRect(int(r.left() + 3), int(r.bottom() - capH - 3),
                                    int(r.width() - 6), int(capH));
                DrawFittedText(p, capRect, caption, int(capH), Qt::AlignCenter, ink);
            }
            const qreal side = std::min(box.width(), box.height());
            icon(p, QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side),
                 ink);
        });
    if (grey)
        pair.image = ToGrey(pair.image);
    return pair;
}

namespace Icon {
namespace {
void Fill(QPainter& p, const QPainterPath& path, const QColor& ink)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.fillPath(path, ink);
    p.restore();
}
QPen Stroke(const QColor& ink, qreal w)
{
    return QPen(ink, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}
} // namespace

void Play(QPainter& p, const QRectF& b, const QColor& ink)
{
    QPainterPath t;
    t.moveTo(b.left() + b.width() * 0.22, b.top() + b.height() * 0.12);
    t.lineTo(b.right() - b.width() * 0.1, b.center().y());
    t.lineTo(b.left() + b.width() * 0.22, b.bottom() - b.height() * 0.12);
    t.closeSubpath();
    Fill(p, t, ink);
}

void Record(QPainter& p, const QRectF& b, const QColor&)
{
    QPainterPath c;
    c.addEllipse(
        b.adjusted(b.width() * 0.15, b.height() * 0.15, -b.width() * 0.15, -b.height() * 0.15));
    Fill(p, c, QColor(210, 40, 40));
}

void Stop(QPainter& p, const QRectF& b, const QColor& ink)
{
    Fill(p,
         RoundedPath(
             b.adjusted(b.width() * 0.18, b.height() * 0.18, -b.width() * 0.18, -b.height() * 0.18),
             b.width() * 0.06),
         ink);
}

void Trash(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = b.width();
    p.save();
    p.setPen(Stroke(ink, std::max<qreal>(2, w * 0.08)));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(b.left() + w * 0.15, b.top() + w * 0.22),
               QPointF(b.right() - w * 0.15, b.top() + w * 0.22));
    p.drawLine(QPointF(b.left() + w * 0.4, b.top() + w * 0.1),
               QPointF(b.right() - w * 0.4, b.top() + w * 0.1));
    QPainterPath can;
    can.moveTo(b.left() + w * 0.22, b.top() + w * 0.3);
    can.lineTo(b.left() + w * 0.3, b.bottom() - w * 0.08);
    can.lineTo(b.right() - w * 0.3, b.bottom() - w * 0.08);
    can.lineTo(b.right() - w * 0.22, b.top() + w * 0.3);
    p.drawPath(can);
    p.drawLine(QPointF(b.center().x(), b.top() + w * 0.4),
               QPointF(b.center().x(), b.bottom() - w * 0.2));
    p.restore();
}

void Plus(QPainter& p, const QRectF& b, const QColor& ink)
{
    p.save();
    p.setPen(Stroke(ink, std::max<qreal>(3, b.width() * 0.16)));
    p.drawLine(QPointF(b.center().x(), b.top() + b.height() * 0.15),
               QPointF(b.center().x(), b.bottom() - b.height() * 0.15));
    p.drawLine(QPointF(b.left() + b.width() * 0.15, b.center().y()),
               QPointF(b.right() - b.width() * 0.15, b.center().y()));
    p.restore();
}

void Pencil(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = b.width();
    QPainterPath body;
    body.moveTo(b.left() + w * 0.62, b.top() + w * 0.1);
    body.lineTo(b.right() - w * 0.1, b.top() + w * 0.38);
    body.lineTo(b.left() + w * 0.35, b.bottom() - w * 0.12);
    body.lineTo(b.left() + w * 0.1, b.bottom() - w * 0.1);
    body.lineTo(b.left() + w * 0.12, b.bottom() - w * 0.35);
    body.closeSubpath();
    Fill(p, body, ink);
}

void Info(QPainter& p, const QRectF& b, const QColor& ink)
{
    p.save();
    p.setPen(Stroke(ink, std::max<qreal>(2, b.width() * 0.08)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(
        b.adjusted(b.width() * 0.06, b.height() * 0.06, -b.width() * 0.06, -b.height() * 0.06));
    p.restore();
    p.save();
    p.setFont(Font(int(b.height() * 0.62), true));
    p.setPen(ink);
    p.drawText(b, Qt::AlignCenter, "i");
    p.restore();
}

void Question(QPainter& p, const QRectF& b, const QColor& ink)
{
    p.save();
    p.setPen(Stroke(ink, std::max<qreal>(2, b.width() * 0.08)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(
        b.adjusted(b.width() * 0.06, b.height() * 0.06, -b.width() * 0.06, -b.height() * 0.06));
    p.setFont(Font(int(b.height() * 0.62), true));
    p.setPen(ink);
    p.drawText(b, Qt::AlignCenter, "?");
    p.restore();
}

void Exit(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = b.width();
    p.save();
    p.setPen(Stroke(ink, std::max<qreal>(2, w * 0.08)));
    p.setBrush(Qt::NoBrush);
    // the door frame, open on the right
    QPainterPath door;
    door.moveTo(b.left() + w * 0.55, b.top() + w * 0.12);
    door.lineTo(b.left() + w * 0.12, b.top() + w * 0.12);
    door.lineTo(b.left() + w * 0.12, b.bottom() - w * 0.12);
    door.lineTo(b.left() + w * 0.55, b.bottom() - w * 0.12);
    p.drawPath(door);
    // the arrow going out
    p.drawLine(QPointF(b.left() + w * 0.35, b.center().y()),
               QPointF(b.right() - w * 0.1, b.center().y()));
    p.drawLine(QPointF(b.right() - w * 0.1, b.center().y()),
               QPointF(b.right() - w * 0.3, b.center().y() - w * 0.2));
    p.drawLine(QPointF(b.right() - w * 0.1, b.center().y()),
               QPointF(b.right() - w * 0.3, b.center().y() + w * 0.2));
    p.restore();
}

void Palette(QPainter& p, const QRectF& b, const QColor& ink, bool colour)
{
    const qreal r = b.width() * 0.2;
    const QColor dots[3] = {colour ? QColor(220, 50, 50) : QColor(60, 60, 60),
                            colour ? QColor(40, 160, 60) : QColor(130, 130, 130),
                            colour ? QColor(40, 90, 220) : QColor(200, 200, 200)};
    const QPointF c[3] = {{b.left() + b.width() * 0.3, b.top() + b.height() * 0.35},
                          {b.right() - b.width() * 0.3, b.top() + b.height() * 0.35},
                          {b.center().x(), b.bottom() - b.height() * 0.28}};
    p.save();
    p.setPen(QPen(ink, std::max<qreal>(1.5, b.width() * 0.04)));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(dots[i]);
        p.drawEllipse(c[i], r, r);
    }
    p.restore();
}

void ArrowRight(QPainter& p, const QRectF& b, const QColor& ink)
{
    QPainterPath a;
    const qreal w = b.width(), h = b.height();
    a.moveTo(b.left() + w * 0.1, b.top() + h * 0.36);
    a.lineTo(b.left() + w * 0.5, b.top() + h * 0.36);
    a.lineTo(b.left() + w * 0.5, b.top() + h * 0.12);
    a.lineTo(b.right() - w * 0.06, b.center().y());
    a.lineTo(b.left() + w * 0.5, b.bottom() - h * 0.12);
    a.lineTo(b.left() + w * 0.5, b.bottom() - h * 0.36);
    a.lineTo(b.left() + w * 0.1, b.bottom() - h * 0.36);
    a.closeSubpath();
    Fill(p, a, ink);
}

void ArrowLeft(QPainter& p, const QRectF& b, const QColor& ink)
{
    p.save();
    p.translate(b.center().x() * 2, 0);
    p.scale(-1, 1);
    ArrowRight(p, b, ink);
    p.restore();
}

void Bulb(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = b.width();
    QPainterPath glass;
    glass.addEllipse(QPointF(b.center().x(), b.top() + w * 0.38), w * 0.3, w * 0.3);
    p.save();
    p.setPen(QPen(ink, std::max<qreal>(2, w * 0.06)));
    p.setBrush(QColor(255, 214, 60));
    p.drawPath(glass);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(b.center().x() - w * 0.15, b.top() + w * 0.7, w * 0.3, w * 0.1), 2, 2);
    p.drawRoundedRect(QRectF(b.center().x() - w * 0.11, b.top() + w * 0.84, w * 0.22, w * 0.08), 2,
                      2);
    p.restore();
}

void Replay(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = b.width();
    p.save();
    p.setPen(QPen(ink, std::max<qreal>(3, w * 0.12), Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    const QRectF arc = b.adjusted(w * 0.16, w * 0.16, -w * 0.16, -w * 0.16);
    p.drawArc(arc, 100 * 16, 290 * 16);
    p.restore();
    // arrow head at the arc's start (top)
    QPainterPath head;
    const QPointF tip(arc.center().x() - w * 0.02, arc.top());
    head.moveTo(tip.x() - w * 0.2, tip.y());
    head.lineTo(tip.x() + w * 0.08, tip.y() - w * 0.16);
    head.lineTo(tip.x() + w * 0.08, tip.y() + w * 0.16);
    head.closeSubpath();
    Fill(p, head, ink);
    // a small play triangle inside
    Play(p, b.adjusted(w * 0.36, w * 0.36, -w * 0.32, -w * 0.36), ink);
}

void Close(QPainter& p, const QRectF& b, const QColor& ink)
{
    p.save();
    p.setPen(Stroke(ink, std::max<qreal>(3, b.width() * 0.14)));
    const QRectF r =
        b.adjusted(b.width() * 0.2, b.height() * 0.2, -b.width() * 0.2, -b.height() * 0.2);
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
    p.restore();
}

void Hourglass(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = b.width();
    QPainterPath g;
    g.moveTo(b.left() + w * 0.2, b.top() + w * 0.1);
    g.lineTo(b.right() - w * 0.2, b.top() + w * 0.1);
    g.lineTo(b.center().x() + w * 0.04, b.center().y());
    g.lineTo(b.right() - w * 0.2, b.bottom() - w * 0.1);
    g.lineTo(b.left() + w * 0.2, b.bottom() - w * 0.1);
    g.lineTo(b.center().x() - w * 0.04, b.center().y());
    g.closeSubpath();
    p.save();
    p.setPen(QPen(ink, std::max<qreal>(2, w * 0.06), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(240, 200, 110));
    p.drawPath(g);
    p.restore();
}

void Check(QPainter& p, const QRectF& b, const QColor& ink)
{
    p.save();
    p.setPen(Stroke(ink, std::max<qreal>(3, b.width() * 0.2)));
    QPainterPath c;
    c.moveTo(b.left() + b.width() * 0.15, b.top() + b.height() * 0.55);
    c.lineTo(b.left() + b.width() * 0.42, b.bottom() - b.height() * 0.15);
    c.lineTo(b.right() - b.width() * 0.1, b.top() + b.height() * 0.15);
    p.setBrush(Qt::NoBrush);
    p.drawPath(c);
    p.restore();
}

void People(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = b.width();
    QPainterPath ps;
    ps.addEllipse(QPointF(b.left() + w * 0.35, b.top() + w * 0.3), w * 0.14, w * 0.14);
    ps.addEllipse(QPointF(b.left() + w * 0.68, b.top() + w * 0.34), w * 0.12, w * 0.12);
    QPainterPath body;
    body.addRoundedRect(QRectF(b.left() + w * 0.12, b.top() + w * 0.5, w * 0.46, w * 0.4), w * 0.18,
                        w * 0.18);
    body.addRoundedRect(QRectF(b.left() + w * 0.5, b.top() + w * 0.52, w * 0.38, w * 0.34),
                        w * 0.15, w * 0.15);
    Fill(p, ps.united(body), ink);
}

void Chart(QPainter& p, const QRectF& b, const QColor& ink)
{
    const qreal w = b.width();
    QPainterPath bars;
    bars.addRect(QRectF(b.left() + w * 0.15, b.top() + w * 0.5, w * 0.18, w * 0.38));
    bars.addRect(QRectF(b.left() + w * 0.41, b.top() + w * 0.25, w * 0.18, w * 0.63));
    bars.addRect(QRectF(b.left() + w * 0.67, b.top() + w * 0.4, w * 0.18, w * 0.48));
    Fill(p, bars, ink);
}
} // namespace Icon

} // namespace SkinArt
