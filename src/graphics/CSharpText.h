#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <memory>

class CTextOutline;
class ScreenPainter;
class QRegion;

// Text drawn into a bitmap of design size. A screen that shows the design
// larger smooths the bitmap's pixels, and text magnified that way is soft; so
// the text is kept together with what lay under it, and the painter of such a
// screen draws it again at the screen's own resolution, for as long as the
// bitmap still holds exactly what was drawn there (anything drawn over it
// since leaves the bitmap's own, smoothed pixels on the screen).
class CSharpText
{
public:
    struct SText
    {
        QRect Box;  // where the text is laid out (QPainter::drawText), bitmap pixels
        QRect Clip; // what it may cover
        int Flags = 0;
        QString Text;
        QFont Font;
        QColor Colour;
    };

    CSharpText();
    ~CSharpText();

    // Draws the text into the bitmap; keeps it when keep is set (a screen
    // that shows the bitmap larger), else forgets what was kept.
    void Draw(QImage& bitmap, const SText& text, bool keep);
    void Forget();

    // On a painter whose origin lies at the bitmap's point origin: draws the
    // kept text again over area (painter coordinates) at the painter's own
    // resolution, when the bitmap still shows it.
    void DrawSharp(ScreenPainter& painter, const QImage& bitmap, QPoint origin,
                   const QRegion& area) const;
    // What DrawSharp covers whole (painter coordinates as there); nothing
    // when the bitmap no longer shows the text.
    QRect Covered(const QImage& bitmap, QPoint origin) const;

private:
    bool StillShown(const QImage& bitmap) const;

    SText m_text;
    QRect m_area;   // the clip with the margin that smoothing reads, within the bitmap
    QImage m_under; // the bitmap's pixels of m_area before the text
    QImage m_drawn; // and after it
    mutable std::unique_ptr<CTextOutline> m_outline; // made at the first paint that needs it
};
