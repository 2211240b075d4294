#pragma once
#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <memory>

// Where the design is scaled by a factor that is not whole, Qt maps a screen
// pixel x to the design position x / factor and rounds it, which gives the
// last screen pixels of an element to its right-hand neighbour. This filter
// moves each mouse event of the X window system, before Qt reads it, onto
// the screen position of the design pixel under the screen pixel's centre,
// so that every pixel drawn as part of a button hits that button.
class MouseGridFilter : public QAbstractNativeEventFilter
{
public:
    // factor: screen pixels per design pixel; inputOpcode: the major opcode
    // of the X input extension (0 when it is not there).
    MouseGridFilter(double factor, uint8_t inputOpcode);

    // Installs a filter on the running application when its screen is
    // scaled and the window system is X; the caller keeps it for as long as
    // the application runs (null when none is needed).
    static std::unique_ptr<MouseGridFilter> InstallIfScaled();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // The screen position, in X's 16.16 fixed point, that Qt maps to the design
    // pixel under the centre of the screen pixel at `position`.
    int32_t SnapFixed(int32_t position) const;
    int16_t SnapPixel(int16_t position) const;

private:
    double m_factor;
    uint8_t m_inputOpcode;
};
