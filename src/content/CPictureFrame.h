#pragma once
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>

// The therapist's framing of a picture in the 4:3 photo frame: which part of
// the picture the frame shows. At zoom 1 the frame holds the largest 4:3 part
// of the picture; zooming in shows less of it. The part never leaves the
// picture.
class CPictureFrame
{
public:
    static constexpr double MaxZoom = 8.0;

    CPictureFrame() = default;
    explicit CPictureFrame(QImage picture);

    const QImage& Picture() const { return m_picture; }
    bool IsEmpty() const { return m_picture.isNull(); }
    double Zoom() const { return m_zoom; }
    // The part of the picture shown, in the picture's pixels.
    QRectF Shown() const;

    // Moves the shown part by a drag of (dx, dy) pixels on a view of
    // `viewSize` (the picture moves with the pointer).
    void Drag(double dx, double dy, QSize viewSize);
    // Zooms by `factor`, keeping the centre, within 1 to MaxZoom.
    void ZoomBy(double factor);
    void Reset();

    // The shown part at `size` (4:3), smoothly scaled.
    QImage Render(QSize size) const;

private:
    QSizeF BaseSize() const;
    void Clamp();

    QImage m_picture;
    QPointF m_centre;
    double m_zoom = 1.0;
};
