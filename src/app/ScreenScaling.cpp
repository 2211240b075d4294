#include "app/ScreenScaling.h"

#include <cmath>
#include <numeric>

QSize DesignSizeFor(QSize screen)
{
    // Both tests are "or": a wide but low screen gets the smaller layout.
    if (screen.width() < 1024 || screen.height() < 768)
        return {800, 600};
    if (screen.width() < 1280 || screen.height() < 960)
        return {1024, 768};
    return {1280, 960};
}

SScreenScale ScaleForScreen(QSize screen, QSize design)
{
    SScreenScale scale;
    const int g = std::gcd(design.width(), design.height());
    const int unitW = design.width() / g;
    const int unitH = design.height() / g;
    const int units = std::min(screen.width() / unitW, screen.height() / unitH);
    QSize area(units * unitW, units * unitH);
    if (area.width() < design.width())
        area = design;
    else
        scale.Factor = static_cast<double>(area.width()) / design.width();
    // Signed halves truncated toward zero, as the offsets always were.
    scale.Area = QRect((screen.width() - area.width()) / 2, (screen.height() - area.height()) / 2,
                       area.width(), area.height());
    return scale;
}

int ScreenToDesign(int screenPixel, double factor)
{
    return static_cast<int>(std::floor((screenPixel + 0.5) / factor));
}

int DesignToScreen(int designPixel, double factor)
{
    return static_cast<int>(std::ceil(designPixel * factor - 0.5));
}
