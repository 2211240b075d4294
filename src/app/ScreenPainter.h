#pragma once
#include <QPainter>

// The painter of a window's paint event. Where the screen shows the design
// larger (a device pixel ratio above 1), pictures drawn in design pixels are
// resampled smoothly instead of having their pixels repeated; at the design's
// own size it draws exactly as a plain painter.
class ScreenPainter : public QPainter
{
public:
    explicit ScreenPainter(QPaintDevice* device);

    // Draws the source rectangle of the image at target's top-left corner.
    // Scaled, the rest of the image still feeds the smoothing at the edges,
    // so that pieces painted one by one join without seams.
    void DrawImagePart(const QRect& target, const QImage& image, const QRect& source);

private:
    bool m_scaled = false;
};
