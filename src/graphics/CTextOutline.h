#pragma once
#include <QFont>
#include <QPainterPath>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;

// The outline of a text laid out exactly as QPainter::drawText(box, flags,
// text) lays it out, for drawing large text quickly. Qt draws glyphs larger
// than its glyph cache takes (64 screen pixels) from their outlines, filled
// as one path per line; the filling costs grow with the path's size, so a
// sentence of 50 letters at 4K takes several milliseconds. Filled in pieces
// of a glyph or so, the same outline takes a fraction of that.
class CTextOutline
{
public:
    CTextOutline(const QFont& font, const QRect& box, int flags, const QString& text);

    // Whether Qt would draw the font from outlines on this painter (its
    // glyph cache stops at 64 screen pixels).
    static bool DrawnFromOutlines(const QPainter& painter, const QFont& font);
    // Fills the outline with the colour, antialiased.
    void Fill(QPainter& painter, const QColor& colour) const;
    // The pieces: no two of them share an area.
    const std::vector<QPainterPath>& Pieces() const { return m_pieces; }

private:
    std::vector<QPainterPath> m_pieces;
};
