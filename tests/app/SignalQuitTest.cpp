#include "app/SignalQuit.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

namespace {

// Each signal a desktop or terminal sends to end a program leaves the running
// event loops, a nested one (an open box, a therapy) included, instead of
// killing the process before the windows could save.
class SignalQuitTest : public ::testing::TestWithParam<int>
{
};

TEST_P(SignalQuitTest, LeavesTheEventLoopsInsteadOfKilling)
{
    const int signal = GetParam();
    SignalQuit quit;
    QTimer guard; // a signal that did nothing must not hang the test
    guard.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&guard, &QTimer::timeout, [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    guard.start(5000);
    bool nestedLeft = false;
    QTimer::singleShot(0, [&nestedLeft, signal] {
        QEventLoop nested;
        QTimer::singleShot(0, [signal] { ::raise(signal); });
        nested.exec();
        nestedLeft = true;
    });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(nestedLeft);
}

INSTANTIATE_TEST_SUITE_P(EndSignals, SignalQuitTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

} // namespace
