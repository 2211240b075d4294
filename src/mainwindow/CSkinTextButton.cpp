#include "mainwindow/CSkinTextButton.h"

#include "app/DisplayMode.h"
#include "app/ScreenPainter.h"
#include "graphics/BitmapTools.h"
#include "graphics/CDynamicPlace.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace {

// A picture stretched to `size` by nine pieces: the corners (`corner` square)
// as they are, the left and right edges stretched in height, and everything
// between them from the one column at `column`, which is clear of the
// picture's icon and caption.
QImage NineSlice(const QImage& s, QSize size, int corner, int column)
{
    QImage out(size, s.format());
    const int w = size.width(), h = size.height(), sw = s.width(), sh = s.height();
    const int k = std::min({corner, w / 2, h / 2});
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    auto piece = [&](QRect to, QRect from) {
        if (!to.isEmpty() && !from.isEmpty())
            p.drawImage(to, s, from);
    };
    for (const int side : {0, 1}) {
        const int tx = side ? w - k : 0, sx = side ? sw - k : 0;
        piece({tx, 0, k, k}, {sx, 0, k, k});
        piece({tx, k, k, h - 2 * k}, {sx, k, k, sh - 2 * k});
        piece({tx, h - k, k, k}, {sx, sh - k, k, k});
    }
    piece({k, 0, w - 2 * k, k}, {column, 0, 1, k});
    piece({k, k, w - 2 * k, h - 2 * k}, {column, k, 1, sh - 2 * k});
    piece({k, h - k, w - 2 * k, k}, {column, sh - k, 1, k});
    return out;
}

// The captions' bold font, as large as the main buttons' and no larger than
// lets every line fit.
QFont CaptionFont(const QString& caption, QSize room)
{
    const QStringList lines = caption.split(QLatin1Char('\n'));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    int pixels = std::min(17, room.height() * 2 / (3 * int(lines.size()) + 1));
    for (; pixels > 9; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        if (widest <= room.width())
            break;
    }
    font.setPixelSize(pixels);
    return font;
}

} // namespace

const CSkinTextButton::SSkin CSkinTextButton::MainButtonSkin = {
    {{18, 41, 19}, {20, 40, 21}, {22, 39, 23}}};

CSkinTextButton::CSkinTextButton(const QString& caption, QWidget* parent,
                                 CBitmapsContainer* buttons, const SSkin& skin)
    : QPushButton(caption, parent), m_buttons(buttons), m_skin(skin)
{
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

int CSkinTextButton::FaceShown() const
{
    if (isDown())
        return FacePressed;
    return underMouse() ? FaceHover : FaceNormal;
}

QImage CSkinTextButton::Face(int state) const
{
    CBitmapsContainer* buttons = m_buttons ? m_buttons : ButtonsContainer;
    if (!buttons || width() <= 0 || height() <= 0)
        return {};
    const int* images = m_skin.images[state];
    if (buttons->Count() <= std::max({images[0], images[1], images[2]}))
        return {};
    CDynamicPlace layout;
    layout.Container = buttons;
    layout.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
    layout.SetBitmap(DM_1024, images[0], images[1], images[2]);
    layout.Set_iCurrent(1);
    std::unique_ptr<QImage> colour = layout.SuitableBitmap(layout.CurrentDP(), false, 0, 0);
    std::unique_ptr<QImage> mask = layout.SuitableBitmap(layout.CurrentDP(), true, 0, 0);
    if (!colour || !mask || colour->isNull() || mask->size() != colour->size())
        return {};
    Make24(*colour);
    if (mask->format() != QImage::Format_Grayscale8)
        ToGrey8(*mask, true);
    // The corners' round and the edge; the column just inside the left edge.
    const int corner = std::max(4, colour->height() / 5);
    const QImage body =
        NineSlice(colour->convertToFormat(QImage::Format_RGB32), size(), corner, corner + 1);
    const QImage shape =
        NineSlice(mask->convertToFormat(QImage::Format_RGB32), size(), corner, corner + 1)
            .convertToFormat(QImage::Format_Grayscale8);
    QImage face = body.convertToFormat(QImage::Format_ARGB32);
    face.setAlphaChannel(shape);

    QPainter p(&face);
    const QRect area = face.rect().adjusted(corner / 2, 0, -corner / 2, 0);
    p.setFont(CaptionFont(text(), area.size()));
    p.setPen(QColor(0, 0, 0, 110));
    p.drawText(area.translated(1, 1), Qt::AlignCenter, text());
    p.setPen(Qt::white);
    p.drawText(area, Qt::AlignCenter, text());
    return face;
}

void CSkinTextButton::paintEvent(QPaintEvent* event)
{
    const QImage face = Face(FaceShown());
    if (face.isNull()) {
        // Without a skin the plain button stays usable.
        QPushButton::paintEvent(event);
        return;
    }
    ScreenPainter p(this);
    if (!isEnabled())
        p.setOpacity(0.5);
    p.drawImage(0, 0, face);
}
