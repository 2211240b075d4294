#pragma once
#include <QImage>
#include <QRect>
#include <QRegion>

class QWidget;

// A copy of what a widget last painted from a part of an image it shows, to
// find what has changed there since: on a screen that shows the design
// larger each repainted pixel is a smoothed one, and a new task leaves much
// of what is shown as it was. The changes are looked for in squares.
class CPaintedCopy
{
public:
    // The changed parts of the image's part `source`, in the part's own
    // coordinates, with the margin that smoothing reads across their edges;
    // all of it when what was painted cannot be compared.
    QRegion Changed(const QImage& image, const QRect& source) const;
    // Takes what was painted (the part's own coordinates) into the copy.
    void Remember(const QImage& image, const QRect& source, const QRegion& painted);
    void Forget();
    // Puts the changed parts of a widget up, at once or at its next paint.
    static void ShowOn(QWidget& widget, const QRegion& changed, bool now);

private:
    bool Comparable(const QImage& image, const QRect& source) const;

    QImage m_copy; // the part as painted, where it was painted
    QRect m_source;
};
