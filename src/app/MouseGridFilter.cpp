#include "app/MouseGridFilter.h"

#include "app/ScreenScaling.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <xcb/xcb.h>
#include <xcb/xinput.h>

MouseGridFilter::MouseGridFilter(double factor, uint8_t inputOpcode)
    : m_factor(factor), m_inputOpcode(inputOpcode)
{
}

std::unique_ptr<MouseGridFilter> MouseGridFilter::InstallIfScaled()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!screen || !x11 || screen->devicePixelRatio() <= 1.0)
        return nullptr;
    const xcb_query_extension_reply_t* input =
        xcb_get_extension_data(x11->connection(), &xcb_input_id);
    auto filter = std::make_unique<MouseGridFilter>(
        screen->devicePixelRatio(), input && input->present ? input->major_opcode : 0);
    qGuiApp->installNativeEventFilter(filter.get());
    return filter;
}

int32_t MouseGridFilter::SnapFixed(int32_t position) const
{
    const int pixel = static_cast<int>(std::floor(position / 65536.0));
    const int design = ScreenToDesign(pixel, m_factor);
    return static_cast<int32_t>(std::lround(design * m_factor * 65536.0));
}

int16_t MouseGridFilter::SnapPixel(int16_t position) const
{
    // Qt divides and rounds: the nearest whole screen pixel to the design
    // pixel's own position rounds back to it (the factor is above 1).
    return static_cast<int16_t>(std::lround(ScreenToDesign(position, m_factor) * m_factor));
}

bool MouseGridFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE:
    case XCB_MOTION_NOTIFY: {
        // The three core events share this layout.
        auto* e = reinterpret_cast<xcb_button_press_event_t*>(event);
        e->event_x = SnapPixel(e->event_x);
        e->event_y = SnapPixel(e->event_y);
        e->root_x = SnapPixel(e->root_x);
        e->root_y = SnapPixel(e->root_y);
        break;
    }
    case XCB_GE_GENERIC: {
        auto* e = reinterpret_cast<xcb_input_button_press_event_t*>(event);
        if (m_inputOpcode == 0 || e->extension != m_inputOpcode)
            break;
        if (e->event_type != XCB_INPUT_BUTTON_PRESS && e->event_type != XCB_INPUT_BUTTON_RELEASE &&
            e->event_type != XCB_INPUT_MOTION)
            break;
        e->event_x = SnapFixed(e->event_x);
        e->event_y = SnapFixed(e->event_y);
        e->root_x = SnapFixed(e->root_x);
        e->root_y = SnapFixed(e->root_y);
        break;
    }
    default:
        break;
    }
    return false; // Qt goes on with the event, moved
}
