#pragma once
#include <QColor>
#include <QImage>
#include <algorithm>
#include <cstdlib>

// Pixels whose channels differ by more than a rounding step: none in a window
// drawn in the grey mode.
inline int ColourfulPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::max({std::abs(c.red() - c.green()), std::abs(c.green() - c.blue()),
                               std::abs(c.red() - c.blue())}) > 8;
        }
    return count;
}
