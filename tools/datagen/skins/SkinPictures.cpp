#include "SkinPictures.h"

#include "SkinMap.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>

using namespace SkinArt;

namespace {
QImage Canvas(QSize size, const QColor& fill)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}
QImage Bgr(const QImage& canvas)
{
    return canvas.convertToFormat(QImage::Format_BGR888);
}

// Paints on a BGR888 image through an RGB32 copy.
QImage PaintOver(const QImage& bgr, const std::function<void(QPainter&)>& paint)
{
    QImage canvas = bgr.convertToFormat(QImage::Format_RGB32);
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        paint(p);
    }
    return Bgr(canvas);
}

void Begin(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

void Panel(QPainter& p, const QRectF& r, qreal radius, const QColor& face, const QColor& border,
           qreal width, qreal shadow)
{
    if (shadow > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 40, 70, 40));
        p.drawRoundedRect(r.translated(shadow, shadow), radius, radius);
    }
    p.setBrush(face);
    p.setPen(QPen(border, width));
    p.drawRoundedRect(r, radius, radius);
}
} // namespace

QImage MenuStrip(QSize size, double s)
{
    QImage c = Canvas(size, Ink::WindowBg);
    QPainter p(&c);
    Begin(p);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(240, 245, 251));
    g.setColorAt(1, QColor(210, 222, 236));
    p.fillRect(QRect(QPoint(0, 0), size), g);
    p.fillRect(QRectF(0, size.height() - 2 * s, size.width(), 2 * s), Ink::Border);
    // the patient's name field (the name itself is a label of the window)
    Panel(p, QRectF(27 * s, 21 * s, 284 * s, 31 * s), 6 * s, Qt::white, QColor(150, 170, 200), 1.5,
          0);
    DrawFittedText(p, QRect(int(30 * s), int(3 * s), int(200 * s), int(17 * s)),
                   "Pacjent:", int(15 * s), Qt::AlignLeft | Qt::AlignVCenter, QColor(80, 90, 110));
    return Bgr(c);
}

ImagePair ComboBox(QSize size, Look look)
{
    ImagePair pair = Card(size, look);
    const QRectF r = CardRect(size, look);
    pair.image = PaintOver(pair.image, [&](QPainter& p) {
        const qreal zone = r.height() * 0.8;
        const qreal x = r.right() - zone;
        p.setPen(QPen(QColor(150, 170, 200), 1.5));
        p.drawLine(QPointF(x, r.top() + r.height() * 0.2),
                   QPointF(x, r.bottom() - r.height() * 0.2));
        QPainterPath arrow;
        const QPointF c(x + zone / 2, r.center().y());
        const qreal a = zone * 0.22;
        arrow.moveTo(c.x() - a, c.y() - a * 0.6);
        arrow.lineTo(c.x() + a, c.y() - a * 0.6);
        arrow.lineTo(c.x(), c.y() + a * 0.7);
        arrow.closeSubpath();
        p.fillPath(arrow, Ink::Border);
    });
    return pair;
}

ImagePair MenuEdge(QSize size, bool top)
{
    const qreal w = size.width(), h = size.height();
    const qreal rad = std::min<qreal>(10, h * 0.6);
    QPainterPath shape;
    QPainterPath rounded = RoundedPath(
        top ? QRectF(0.5, 0.5, w - 1, 2 * h) : QRectF(0.5, -h, w - 1, 2 * h - 0.5), rad);
    QPainterPath clip;
    clip.addRect(0, 0, w, h);
    shape = rounded.intersected(clip);
    return Shaped(size, shape, 0, 0, 0, [&](QPainter& p) {
        p.fillPath(shape, Qt::white);
        p.setClipRect(QRectF(0, 0, w, h));
        p.setPen(QPen(Ink::Border, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(
            RoundedPath(top ? QRectF(1, 1, w - 2, 2 * h) : QRectF(1, -h, w - 2, 2 * h - 1), rad));
    });
}

QImage MenuItemBack(QSize size, bool highlighted)
{
    QImage c = Canvas(size, highlighted ? Ink::Hot : QColor(Qt::white));
    QPainter p(&c);
    p.fillRect(QRect(0, 0, 2, size.height()), Ink::Border);
    p.fillRect(QRect(size.width() - 2, 0, 2, size.height()), Ink::Border);
    if (highlighted)
        p.fillRect(QRect(2, 0, 5, size.height()), Ink::HotBorder);
    return Bgr(c);
}

ImagePair TextPicture(QSize size, const QString& text, const QColor& ink)
{
    QImage m = Canvas(size, Qt::black);
    {
        QPainter p(&m);
        Begin(p);
        DrawFittedText(p, QRect(QPoint(0, 0), size), text, int(size.height() * 0.78),
                       Qt::AlignLeft | Qt::AlignVCenter, Qt::white);
    }
    return {NewImage(size, ink), m.convertToFormat(QImage::Format_Grayscale8)};
}

ImagePair PhotoFrame(QSize frame, QSize photo)
{
    const QRectF outer(0.5, 0.5, frame.width() - 1, frame.height() - 1);
    return Shaped(frame, RoundedPath(outer, 10), 0, 0, 0, [&](QPainter& p) {
        QLinearGradient g(outer.topLeft(), outer.bottomRight());
        g.setColorAt(0, QColor(78, 104, 146));
        g.setColorAt(1, QColor(44, 66, 104));
        p.fillPath(RoundedPath(outer, 10), g);
        const QRectF inner(5, 4, photo.width(), photo.height());
        p.fillPath(RoundedPath(inner, 8), QColor(232, 236, 242));
    });
}

QImage PhotoMask(QSize size)
{
    return ShapeMask(size, RoundedPath(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), 8),
                     1);
}

QImage Placeholder(QSize size)
{
    QImage c = Canvas(size, Qt::white);
    QPainter p(&c);
    Begin(p);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(238, 243, 250));
    g.setColorAt(1, QColor(208, 222, 240));
    p.fillRect(QRect(QPoint(0, 0), size), g);
    const qreal d = size.height() * 0.56;
    const QRectF circle(size.width() / 2.0 - d / 2, size.height() / 2.0 - d / 2, d, d);
    p.setPen(QPen(Ink::Border, std::max<qreal>(3, d / 40)));
    p.setBrush(Qt::white);
    p.drawEllipse(circle);
    p.setFont(Font(int(d * 0.66)));
    p.setPen(Ink::Navy);
    p.drawText(circle, Qt::AlignCenter, "?");
    return Bgr(c);
}

ImagePair TimerPicture(QSize size)
{
    const QRectF r(1.5, 1.5, size.width() - 5, size.height() - 5);
    QPainterPath circle;
    circle.addEllipse(r);
    return Shaped(size, circle, 2, 2, 1, [&](QPainter& p) {
        p.setBrush(Qt::white);
        p.setPen(QPen(Ink::Border, 3));
        p.drawEllipse(r.adjusted(1.5, 1.5, -1.5, -1.5));
        const QPointF c = r.center();
        p.setPen(QPen(Ink::Navy, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c, QPointF(c.x(), r.top() + r.height() * 0.2));
        p.drawLine(c, QPointF(c.x() + r.width() * 0.22, c.y() + r.height() * 0.08));
        p.setBrush(QColor(214, 132, 52));
        p.setPen(Qt::NoPen);
        p.drawEllipse(c, 3, 3);
    });
}

ImagePair DimOverlay(QSize size)
{
    QImage image = NewImage(size, QColor(214, 218, 226));
    QImage mask = NewMask(size);
    mask.fill(200);
    return {image, mask};
}

QImage LetterTile(QSize size, const QString& letter)
{
    QImage c = Canvas(size, Ink::Border);
    QPainter p(&c);
    Begin(p);
    const QRectF inner(2.5, 2.5, size.width() - 5, size.height() - 5);
    QLinearGradient g(inner.topLeft(), inner.bottomLeft());
    g.setColorAt(0, QColor(255, 252, 242));
    g.setColorAt(1, QColor(236, 226, 198));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(inner, size.width() * 0.14, size.width() * 0.14);
    DrawFittedText(p, inner.adjusted(2, 1, -2, -1).toRect(), letter, int(size.height() * 0.64),
                   Qt::AlignCenter, Ink::Text);
    return Bgr(c);
}

ImagePair SequenceCard(QSize size, CardKind kind, const QString& text, int number,
                       const QColor& band)
{
    const QRectF r = CardRect(size, Look::Normal);
    const int sh = std::max(3, std::min(size.width(), size.height()) / 18);
    return Shaped(size, RoundedPath(r, 18), sh, sh, sh / 2, [&](QPainter& p) {
        p.fillPath(RoundedPath(r, 18), QColor(253, 253, 250));
        QPainterPath top;
        top.addRect(r.left(), r.top(), r.width(), r.height() * 0.1);
        p.fillPath(RoundedPath(r, 18).intersected(top), band);
        p.setPen(QPen(Ink::Border, 3));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), 17, 17);
        const QRectF body = r.adjusted(12, r.height() * 0.12, -12, -12);
        switch (kind) {
        case CardKind::Word:
            DrawFittedText(p, body.toRect(), text, int(size.height() * 0.16), Qt::AlignCenter,
                           Ink::Text);
            break;
        case CardKind::Numeral:
            DrawFittedText(p, body.toRect(), QString::number(number), int(size.height() * 0.5),
                           Qt::AlignCenter, Ink::Text);
            break;
        case CardKind::Dots: {
            const int rows = (number + 1) / 2;
            const qreal cell = std::min(body.width() / 2.4, body.height() / 5.4);
            const qreal d = cell * 0.72;
            const qreal top0 = body.center().y() - rows * cell / 2;
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(200, 70, 40));
            for (int i = 0; i < number; ++i) {
                const int row = i / 2;
                const bool alone = (i == number - 1) && (number % 2 == 1);
                const qreal cx =
                    alone ? body.center().x()
                          : body.center().x() + (i % 2 == 0 ? -cell / 2 - 4 : cell / 2 + 4);
                p.drawEllipse(QPointF(cx, top0 + row * cell + cell / 2), d / 2, d / 2);
            }
            break;
        }
        }
    });
}

ImagePair TickMark(QSize size)
{
    QImage m = Canvas(size, Qt::black);
    {
        QPainter p(&m);
        Begin(p);
        Icon::Check(p, QRectF(QPointF(0, 0), size), Qt::white);
    }
    return {NewImage(size, QColor(20, 120, 40)), m.convertToFormat(QImage::Format_Grayscale8)};
}

QImage MainBackground(double s)
{
    const QSize size(int(1024 * s), int(768 * s));
    QImage c = Canvas(size, Ink::WindowBg);
    QPainter p(&c);
    Begin(p);
    QLinearGradient head(0, 0, 0, 70 * s);
    head.setColorAt(0, QColor(238, 245, 252));
    head.setColorAt(1, Ink::WindowBg);
    p.fillRect(QRectF(0, 0, size.width(), 70 * s), head);
    DrawFittedText(p, QRect(int(21 * s), int(12 * s), int(190 * s), int(48 * s)), "Loquena",
                   int(36 * s), Qt::AlignLeft | Qt::AlignVCenter, Ink::Navy);
    // the active patient's name field
    Panel(p, QRectF(349 * s, 22 * s, 530 * s, 34 * s), 8 * s, Qt::white, QColor(150, 170, 200), 1.5,
          0);
    // the pages (patients, statistics, settings)
    Panel(p, QRectF(242 * s, 92 * s, 598 * s, 570 * s), 12 * s,
          s > 1.1 ? Ink::Panel1280 : Ink::Panel1024, Ink::Border, 2, 4 * s);
    // the column of main buttons
    Panel(p, QRectF(908 * s, 90 * s, 110 * s, 638 * s), 12 * s, QColor(206, 222, 240), Ink::Border,
          1.5, 3 * s);
    return Bgr(c);
}

namespace {
struct HelpSection
{
    const char* title;
    const char* text;
};
const HelpSection kHelp[] = {
    {"Pacjenci",
     "Na zakładce „Pacjenci” dodaj pacjenta przyciskiem z plusem i wpisz jego nazwisko i imię. "
     "Kliknij nazwisko na liście, aby wybrać pacjenta."},
    {"Wybór ćwiczeń",
     "Po lewej stronie są zakładki ćwiczeń. Kliknij mały kwadracik przy ćwiczeniu, aby je "
     "wybrać lub odznaczyć. Ćwiczenia odbędą się w kolejności zaznaczania."},
    {"Ustawienia",
     "Kliknij nazwę ćwiczenia, aby otworzyć jego ustawienia: liczbę zadań, kategorie obrazków, "
     "przysłów lub czynności oraz sposób przewijania."},
    {"Start",
     "Przycisk „Start” po prawej stronie rozpoczyna terapię. Strzałki przechodzą do następnego "
     "lub poprzedniego zadania, a przycisk „Stop” pokazuje wyniki."},
    {"Statystyka",
     "Wyniki każdej terapii zapisują się na zakładce „Statystyka”. Kliknij datę terapii, aby "
     "zobaczyć wyniki, albo numer ćwiczenia, aby zobaczyć szczegóły."},
    {"Nagrania", "Na zakładce „Statystyka” nagrasz wypowiedź pacjenta i swój komentarz do terapii, "
                 "a potem odsłuchasz je lub usuniesz."},
};
} // namespace

QImage HelpBackground(double s)
{
    const QSize size(int(1024 * s), int(768 * s));
    QImage c = Canvas(size, Ink::WindowBg);
    QPainter p(&c);
    Begin(p);
    DrawFittedText(p, QRect(int(40 * s), int(24 * s), int(944 * s), int(64 * s)),
                   "Pomoc – jak korzystać z programu", int(42 * s), Qt::AlignCenter, Ink::Navy);
    Panel(p, QRectF(48 * s, 100 * s, 928 * s, 566 * s), 14 * s, QColor(252, 253, 255), Ink::Border,
          2, 4 * s);
    const qreal colW = 430 * s, rowH = 178 * s;
    for (int i = 0; i < 6; ++i) {
        const qreal x = (72 + (i % 2) * 456) * s;
        const qreal y = (116 + (i / 2) * 182) * s;
        p.setPen(Qt::NoPen);
        p.setBrush(Ink::Panel1024);
        p.drawEllipse(QPointF(x + 18 * s, y + 20 * s), 17 * s, 17 * s);
        DrawFittedText(p, QRect(int(x), int(y + 3 * s), int(36 * s), int(34 * s)),
                       QString::number(i + 1), int(24 * s), Qt::AlignCenter, Ink::Navy);
        DrawFittedText(p, QRect(int(x + 46 * s), int(y), int(colW - 46 * s), int(40 * s)),
                       kHelp[i].title, int(28 * s), Qt::AlignLeft | Qt::AlignVCenter, Ink::Navy);
        DrawFittedText(p, QRect(int(x), int(y + 44 * s), int(colW), int(rowH - 50 * s)),
                       QString::fromUtf8(kHelp[i].text), int(21 * s),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Ink::Text, false);
    }
    return Bgr(c);
}

QImage InfoBackground(double s)
{
    const QSize size(int(1024 * s), int(768 * s));
    QImage c = Canvas(size, Ink::WindowBg);
    QPainter p(&c);
    Begin(p);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(236, 244, 252));
    g.setColorAt(1, QColor(206, 222, 240));
    p.fillRect(QRect(QPoint(0, 0), size), g);
    // The titles are centred over the panel, which surrounds the window's
    // text block (208..720 at 1024 x 768) rather than the screen's middle.
    DrawFittedText(p, QRect(int(112 * s), int(70 * s), int(704 * s), int(100 * s)), "Loquena",
                   int(88 * s), Qt::AlignCenter, Ink::Navy);
    DrawFittedText(p, QRect(int(112 * s), int(170 * s), int(704 * s), int(44 * s)),
                   "Część I – program do terapii mowy", int(28 * s), Qt::AlignCenter,
                   QColor(60, 70, 110));
    // the block of the notice and credits lines
    Panel(p, QRectF(192 * s, 245 * s, 544 * s, 392 * s), 14 * s, QColor(252, 253, 255), Ink::Border,
          2, 4 * s);
    return Bgr(c);
}

QImage BookmarkStrip(bool big, int raised, const QStringList& titles)
{
    const double f = big ? 1.0 : 0.8;
    const QSize size = big ? QSize(260, 796) : QSize(210, 638);
    static const int bounds[12] = {157, 222, 283, 341, 395, 452, 510, 565, 623, 678, 734, 788};
    static const int sq1280[11] = {177, 238, 298, 353, 410, 466, 521, 576, 636, 691, 746};
    static const int sq1024[11] = {142, 192, 239, 283, 329, 374, 418, 462, 510, 554, 599};
    const int tick = big ? 26 : 20;
    QImage c = Canvas(size, Ink::WindowBg);
    QPainter p(&c);
    Begin(p);
    auto drawMark = [&](int i) {
        int left = 18, top = 0, bottom = 0;
        if (i == 0) {
            left = 0, top = 3, bottom = 81;
        } else if (i == 1) {
            top = 81, bottom = 153;
        } else {
            top = bounds[i - 2], bottom = bounds[i - 1];
        }
        const bool up = i == raised;
        QRectF r(left * f + 1, top * f + 1.5, size.width() - left * f + 20, (bottom - top) * f - 3);
        if (up)
            r.adjust(-std::min<qreal>(8 * f, r.left() - 0.5), -1, 0, 1);
        const qreal rad = 10 * f;
        if (up) {
            p.setPen(QPen(Ink::Navy, 2.5));
            p.setBrush(big ? Ink::Panel1280 : Ink::Panel1024);
        } else {
            QLinearGradient g(r.topLeft(), r.bottomLeft());
            g.setColorAt(0, QColor(248, 251, 254));
            g.setColorAt(1, QColor(224, 234, 246));
            p.setPen(QPen(Ink::Border, 1.5));
            p.setBrush(g);
        }
        p.drawRoundedRect(r, rad, rad);
        const QColor ink = up ? Ink::Text : Ink::Navy;
        if (i < 2) {
            const qreal icon = std::min<qreal>(40 * f, r.height() * 0.6);
            const QRectF ib(r.left() + 12 * f, r.center().y() - icon / 2, icon, icon);
            if (i == 0)
                Icon::People(p, ib, ink);
            else
                Icon::Chart(p, ib, ink);
            DrawFittedText(p,
                           QRect(int(ib.right() + 10 * f), int(r.top()),
                                 int(size.width() - ib.right() - 16 * f), int(r.height())),
                           titles[i], int(26 * f), Qt::AlignLeft | Qt::AlignVCenter, ink);
            return;
        }
        const int e = i - 2;
        const int sx = big ? (e == 1 ? 56 : 54) : (e == 1 ? 45 : 44);
        const int sy = big ? sq1280[e] : sq1024[e];
        p.setPen(QPen(Ink::Border, 2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(sx + 1, sy + 1, tick - 2, tick - 2));
        const QRect tr(int(sx + tick + 8 * f), int(r.top() + 2),
                       int(size.width() - sx - tick - 14 * f), int(r.height() - 4));
        DrawFittedText(p, tr, titles[i], int(21 * f),
                       Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, ink);
    };
    for (int i = 0; i < 13; ++i)
        if (i != raised)
            drawMark(i);
    if (raised >= 0)
        drawMark(raised);
    return Bgr(c);
}

QImage FrameSource(QSize size)
{
    // Corners are 65 wide, the top band 125 high, the bottom band 65 high; rows
    // 65 to 125 and the middle columns repeat, so they carry no detail.
    QImage c = Canvas(size, QColor(250, 251, 254));
    QPainter p(&c);
    Begin(p);
    const qreal w = size.width(), h = size.height();
    p.fillRect(QRectF(0, 0, w, 36), QColor(206, 224, 244));
    p.fillRect(QRectF(0, 36, w, 2), QColor(150, 178, 214));
    p.setPen(QPen(Ink::Border, 4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(2, 2, w - 4, h - 4), 14, 14);
    p.setPen(QPen(QColor(170, 196, 228), 2));
    p.drawRoundedRect(QRectF(7, 7, w - 14, h - 14), 10, 10);
    return Bgr(c);
}

ImagePair WaitPicture(QSize size)
{
    const QRectF r = CardRect(size, Look::Normal);
    return Shaped(size, RoundedPath(r, 18), 5, 5, 3, [&](QPainter& p) {
        p.setPen(QPen(Ink::Border, 3));
        p.setBrush(QColor(252, 253, 255));
        p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), 16, 16);
        const qreal icon = r.height() * 0.6;
        Icon::Hourglass(p, QRectF(r.left() + 24, r.center().y() - icon / 2, icon, icon), Ink::Navy);
        DrawFittedText(p,
                       QRect(int(r.left() + 36 + icon), int(r.top()), int(r.width() - 52 - icon),
                             int(r.height())),
                       "Proszę czekać…", 34, Qt::AlignLeft | Qt::AlignVCenter, Ink::Navy);
    });
}

QImage PaintSplash()
{
    const QSize size(592, 296);
    QImage c = Canvas(size, QColor(0, 0, 128));
    QPainter p(&c);
    Begin(p);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor(12, 30, 96));
    g.setColorAt(1, QColor(28, 70, 150));
    p.fillRect(QRect(QPoint(0, 0), size), g);
    // quiet speech bubbles
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 22));
    p.drawEllipse(QPointF(470, 70), 120, 90);
    p.drawEllipse(QPointF(540, 210), 70, 55);
    DrawFittedText(p, QRect(40, 48, 520, 110), "Loquena", 96, Qt::AlignLeft | Qt::AlignVCenter,
                   Qt::white);
    DrawFittedText(p, QRect(44, 156, 300, 44), "Część I", 34, Qt::AlignLeft | Qt::AlignVCenter,
                   QColor(255, 110, 96));
    DrawFittedText(p, QRect(44, 214, 520, 40), "Program do terapii mowy dla osób z afazją", 22,
                   Qt::AlignLeft | Qt::AlignVCenter, QColor(208, 222, 244), false);
    return Bgr(c);
}
