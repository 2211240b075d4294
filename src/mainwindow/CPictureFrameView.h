#pragma once
#include "content/CPictureFrame.h"

#include <QPoint>
#include <QWidget>
#include <functional>

// The photo frame of the material window: shows the framed part of a picture
// at the view's size; dragging with the mouse moves the picture, the wheel
// zooms it.
class CPictureFrameView : public QWidget
{
public:
    explicit CPictureFrameView(QWidget* parent);

    CPictureFrame& Frame() { return m_frame; }
    void SetFrame(CPictureFrame frame);
    void ZoomBy(double factor);
    // Called after every change of the framing.
    std::function<void()> OnChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Changed();

    CPictureFrame m_frame;
    QPoint m_last;
};
