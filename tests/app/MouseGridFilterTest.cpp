#include "app/MouseGridFilter.h"

#include "app/ScreenScaling.h"

#include <QByteArray>
#include <cmath>
#include <gtest/gtest.h>
#include <xcb/xcb.h>
#include <xcb/xinput.h>

namespace {

constexpr uint8_t InputOpcode = 131;
const QByteArray XcbEvent("xcb_generic_event_t");

// Qt's own step from a screen position to a design pixel: divide, round.
int QtDesignPixel(double screenPosition, double factor)
{
    return static_cast<int>(std::lround(screenPosition / factor));
}

xcb_input_button_press_event_t InputEvent(uint16_t type, int x, int y)
{
    xcb_input_button_press_event_t e{};
    e.response_type = XCB_GE_GENERIC;
    e.extension = InputOpcode;
    e.event_type = type;
    e.event_x = x * 65536;
    e.event_y = y * 65536;
    e.root_x = (x + 7) * 65536;
    e.root_y = (y + 7) * 65536;
    return e;
}

} // namespace

// At every factor, each screen pixel of a mouse event reaches the design
// pixel under its centre after Qt divides and rounds: a click on the last
// screen pixel of a button lands on the button, not on its neighbour.
TEST(MouseGridFilterTest, EveryScreenPixelReachesTheDesignPixelUnderIt)
{
    for (double f : {1.09375, 1.125, 1.171875, 1.5, 2.0, 2.25}) {
        SCOPED_TRACE(testing::Message() << "factor " << f);
        const MouseGridFilter filter(f, InputOpcode);
        int misses = 0;
        for (int s = 0; s < 2880; ++s) {
            const int want = ScreenToDesign(s, f);
            EXPECT_EQ(QtDesignPixel(filter.SnapFixed(s * 65536) / 65536.0, f), want) << s;
            EXPECT_EQ(QtDesignPixel(filter.SnapPixel(static_cast<int16_t>(s)), f), want) << s;
            misses += QtDesignPixel(s, f) != want;
        }
        // Without the filter Qt's rounding gives some pixels to a neighbour
        // (the fault the filter is there for).
        if (f == 2.25) {
            EXPECT_GT(misses, 0);
        }
    }
}

TEST(MouseGridFilterTest, MovesPressesReleasesAndMotionsOnly)
{
    const double f = 2.25;
    MouseGridFilter filter(f, InputOpcode);
    // 143 is the last screen pixel of design pixel 63 (the right edge of a
    // 64-pixel button at 0); Qt alone would round it to 64.
    for (uint16_t type : {XCB_INPUT_BUTTON_PRESS, XCB_INPUT_BUTTON_RELEASE, XCB_INPUT_MOTION}) {
        auto e = InputEvent(type, 143, 143);
        EXPECT_FALSE(filter.nativeEventFilter(XcbEvent, &e, nullptr));
        EXPECT_EQ(QtDesignPixel(e.event_x / 65536.0, f), 63);
        EXPECT_EQ(QtDesignPixel(e.event_y / 65536.0, f), 63);
        EXPECT_EQ(QtDesignPixel(e.root_x / 65536.0, f), ScreenToDesign(150, f));
    }
    auto enter = InputEvent(XCB_INPUT_ENTER, 143, 143);
    filter.nativeEventFilter(XcbEvent, &enter, nullptr);
    EXPECT_EQ(enter.event_x, 143 * 65536);
    auto other = InputEvent(XCB_INPUT_BUTTON_PRESS, 143, 143);
    other.extension = InputOpcode + 1;
    filter.nativeEventFilter(XcbEvent, &other, nullptr);
    EXPECT_EQ(other.event_x, 143 * 65536);

    xcb_button_press_event_t core{};
    core.response_type = XCB_BUTTON_PRESS | 0x80; // sent by another client
    core.event_x = 143;
    core.root_y = 143;
    filter.nativeEventFilter(XcbEvent, &core, nullptr);
    EXPECT_EQ(QtDesignPixel(core.event_x, f), 63);
    EXPECT_EQ(QtDesignPixel(core.root_y, f), 63);
    xcb_key_press_event_t key{};
    key.response_type = XCB_KEY_PRESS;
    key.event_x = 143;
    filter.nativeEventFilter(XcbEvent, &key, nullptr);
    EXPECT_EQ(key.event_x, 143);
}
