#pragma once
#include <QImage>
#include <QWidget>

// The surface on which a film's frames are shown: a child of the display
// widget covering the display rectangle, each frame stretched to fill it.
// Mouse events pass through to the widget below.
class CFilmView : public QWidget
{
    Q_OBJECT
public:
    explicit CFilmView(QWidget* parent);
    void SetFrame(const QImage& frame);
    const QImage& Frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_frame;
};
