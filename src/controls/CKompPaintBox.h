#pragma once
#include "graphics/CPaintedCopy.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

class ScreenPainter;

// Common ground of the exercise controls: each draws itself into the shared
// exercise bitmap (Target) and shows its own rectangle of it. Whatever a
// control draws straight on the screen (a hot tile, a tile in flight) is kept
// in a private canvas and shown over Target until the control copies Target
// there again, so that a repaint the control did not ask for still shows the
// exercise bitmap as it is.
class CKompPaintBox : public QWidget
{
public:
    // background may be null: the control then composes over target.
    CKompPaintBox(QWidget* owner, QImage* background, QImage* target);
    ~CKompPaintBox() override;

    int X = 0;
    int Y = 0;
    QImage* Target = nullptr;
    QImage* Background = nullptr;

    // The region of the control (own coordinates) that shows the screen
    // canvas instead of Target.
    const QRegion& ScreenOnly() const { return m_screenOnly; }

    // Repaints the parts of the control's rectangle of Target that differ
    // from what the control last painted there, at once or at the next paint.
    void ShowChanges(bool now);

protected:
    // Copies the control's rectangle (or a part of it, own coordinates) of
    // Target to the screen at once.
    void CopyTargetToScreen();
    void CopyTargetToScreen(const QRect& rect);
    // The canvas of the screen, the control's size, for drawing straight on
    // the screen; ShowCanvas then puts the drawn region up at once.
    QImage& ScreenCanvas();
    void ShowCanvas(const QRegion& region);
    // Shifts the control by the change of (X, Y) and takes the new position.
    void MoveBy(int x, int y);

    void paintEvent(QPaintEvent* event) override;
    // After the region of Target has been painted: what the control draws
    // over it on the screen (own coordinates).
    virtual void PaintOver(ScreenPainter& painter, const QRegion& fromTarget);
    // The part of the control (own coordinates) that PaintOver covers whole,
    // so that Target need not be painted there first.
    virtual QRegion PaintedOver() const;
    void hideEvent(QHideEvent* event) override;

private:
    QRect TargetPart() const { return QRect(X, Y, width(), height()); }

    QImage m_screen;
    QRegion m_screenOnly;
    CPaintedCopy m_painted; // of Target, while shown
};
