#pragma once
#include "graphics/CPaintedCopy.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

// A paint box that shows a bitmap its owner keeps, at (0, 0). It remembers
// what it painted, so that showing the bitmap after a change repaints only
// the parts that changed: on a screen that shows the design larger each
// repainted pixel is a smoothed one, and a new task leaves much of the area
// (its background) as it was.
class CBitmapBox : public QWidget
{
public:
    // bitmap points at the owner's pointer to the bitmap (which may be null).
    CBitmapBox(QWidget* parent, const QImage* const* bitmap);

    // Repaints what differs from what the box last painted, at once or at
    // the next paint.
    void ShowChanges(bool now);
    // The parts of the bitmap (box coordinates) that differ from what the box
    // last painted, with the margin that smoothing reads across their edges.
    QRegion Changed() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage* const* m_bitmap;
    CPaintedCopy m_painted;
};
