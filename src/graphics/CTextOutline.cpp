#include "graphics/CTextOutline.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>

namespace {

// Qt's glyph cache takes glyphs up to this many screen pixels.
constexpr double LargestCachedGlyph = 64.0;

// A paint engine that keeps the outlines of the text drawn on it: text it
// cannot draw itself reaches it as filled paths, placed by the painter.
class COutlineEngine : public QPaintEngine
{
public:
    COutlineEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    QPainterPath Outline;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPath(const QPainterPath& path) override
    {
        Outline.addPath(painter()->combinedTransform().map(path));
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    Type type() const override { return QPaintEngine::User; }
};

class COutlineDevice : public QPaintDevice
{
public:
    QPaintEngine* paintEngine() const override { return &m_engine; }
    QPainterPath Outline() const { return m_engine.Outline; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return 1 << 20;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        case PdmDepth:
            return 32;
        default:
            return 0;
        }
    }

private:
    mutable COutlineEngine m_engine;
};

// The figures of the outline (curves kept), joined where their bounding
// boxes meet: a letter's hole and its outer edge always go together, because
// the hole lies within the edge's box.
std::vector<QPainterPath> Split(const QPainterPath& outline)
{
    std::vector<QPainterPath> figures;
    for (int i = 0; i < outline.elementCount(); ++i) {
        const QPainterPath::Element e = outline.elementAt(i);
        if (e.isMoveTo() || figures.empty()) {
            figures.emplace_back();
            figures.back().moveTo(e);
        } else if (e.isLineTo()) {
            figures.back().lineTo(e);
        } else if (e.isCurveTo() && i + 2 < outline.elementCount()) {
            figures.back().cubicTo(e, outline.elementAt(i + 1), outline.elementAt(i + 2));
            i += 2;
        }
    }
    std::vector<QPainterPath> pieces;
    QRectF pieceBox;
    for (const QPainterPath& figure : figures) {
        const QRectF box = figure.controlPointRect();
        if (pieces.empty() || !box.intersects(pieceBox)) {
            pieces.emplace_back();
            pieces.back().setFillRule(Qt::WindingFill);
            pieceBox = QRectF();
        }
        pieces.back().addPath(figure);
        pieceBox |= box;
    }
    return pieces;
}

} // namespace

CTextOutline::CTextOutline(const QFont& font, const QRect& box, int flags, const QString& text)
{
    COutlineDevice device;
    QPainter painter(&device);
    painter.setFont(font);
    painter.drawText(box, flags, text);
    painter.end();
    m_pieces = Split(device.Outline());
}

bool CTextOutline::DrawnFromOutlines(const QPainter& painter, const QFont& font)
{
    // Qt's own test: the glyph's area in screen pixels.
    const double pixels = font.pixelSize();
    return pixels * pixels * std::abs(painter.deviceTransform().determinant()) >=
           LargestCachedGlyph * LargestCachedGlyph;
}

void CTextOutline::Fill(QPainter& painter, const QColor& colour) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (const QPainterPath& piece : m_pieces)
        painter.drawPath(piece);
    painter.restore();
}
