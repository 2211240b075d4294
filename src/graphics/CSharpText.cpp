#include "graphics/CSharpText.h"

#include "app/ScreenPainter.h"
#include "graphics/CTextOutline.h"

#include <QPainter>
#include <QRegion>
#include <cstring>

namespace {

// Smoothing reads this far past the edges of the part it magnifies.
constexpr int SmoothingMargin = 2;

void DrawInto(QImage& bitmap, const CSharpText::SText& text)
{
    QPainter p(&bitmap);
    p.setFont(text.Font);
    p.setPen(text.Colour);
    p.setBrush(Qt::NoBrush);
    p.setClipRect(text.Clip);
    p.drawText(text.Box, text.Flags, text.Text);
}

} // namespace

CSharpText::CSharpText() = default;
CSharpText::~CSharpText() = default;

void CSharpText::Draw(QImage& bitmap, const SText& text, bool keep)
{
    Forget();
    const QRect area =
        text.Clip.adjusted(-SmoothingMargin, -SmoothingMargin, SmoothingMargin, SmoothingMargin) &
        bitmap.rect();
    if (!keep || area.isEmpty() || bitmap.depth() % 8 != 0) {
        DrawInto(bitmap, text);
        return;
    }
    m_under = bitmap.copy(area);
    DrawInto(bitmap, text);
    m_drawn = bitmap.copy(area);
    m_area = area;
    m_text = text;
}

void CSharpText::Forget()
{
    m_area = QRect();
    m_under = QImage();
    m_drawn = QImage();
    m_outline.reset();
}

bool CSharpText::StillShown(const QImage& bitmap) const
{
    if (m_area.isEmpty() || !bitmap.rect().contains(m_area) || bitmap.format() != m_drawn.format())
        return false;
    const qsizetype offset = static_cast<qsizetype>(m_area.x()) * bitmap.depth() / 8;
    const size_t bytes = static_cast<size_t>(m_area.width()) * bitmap.depth() / 8;
    for (int y = 0; y < m_area.height(); ++y)
        if (std::memcmp(bitmap.constScanLine(m_area.y() + y) + offset, m_drawn.constScanLine(y),
                        bytes) != 0)
            return false;
    return true;
}

QRect CSharpText::Covered(const QImage& bitmap, QPoint origin) const
{
    if (!StillShown(bitmap))
        return QRect();
    return (m_text.Clip & m_area).translated(origin);
}

void CSharpText::DrawSharp(ScreenPainter& painter, const QImage& bitmap, QPoint origin,
                           const QRegion& area) const
{
    const QRegion covered = area & m_text.Clip.translated(origin);
    if (covered.isEmpty() || !StillShown(bitmap))
        return;
    painter.save();
    painter.setClipRegion(covered, Qt::IntersectClip);
    const QRect clip = m_text.Clip & m_area;
    painter.DrawImagePart(clip.translated(origin), m_under, clip.translated(-m_area.topLeft()));
    if (CTextOutline::DrawnFromOutlines(painter, m_text.Font)) {
        // Laid out once; filled in pieces at every paint.
        if (!m_outline)
            m_outline =
                std::make_unique<CTextOutline>(m_text.Font, m_text.Box, m_text.Flags, m_text.Text);
        painter.translate(origin);
        m_outline->Fill(painter, m_text.Colour);
    } else {
        painter.setFont(m_text.Font);
        painter.setPen(m_text.Colour);
        painter.setBrush(Qt::NoBrush);
        painter.drawText(m_text.Box.translated(origin), m_text.Flags, m_text.Text);
    }
    painter.restore();
}
