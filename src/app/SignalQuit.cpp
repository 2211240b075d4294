#include "app/SignalQuit.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};
// [0] is written by the handler, [1] read by the event loop.
int g_fds[2] = {-1, -1};

extern "C" void OnQuitSignal(int)
{
    const char byte = 1;
    // Nothing to do when the pipe is full: a quit is already on its way.
    [[maybe_unused]] const ssize_t written = ::write(g_fds[0], &byte, 1);
}

} // namespace

SignalQuit::SignalQuit(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_fds) != 0)
        return; // without the pipe the signals keep their default action
    ::fcntl(g_fds[0], F_SETFL, O_NONBLOCK);
    m_notifier = std::make_unique<QSocketNotifier>(g_fds[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SignalQuit::OnSignal);
    struct sigaction action = {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

SignalQuit::~SignalQuit()
{
    if (!m_notifier)
        return;
    for (int signal : kSignals)
        ::signal(signal, SIG_DFL);
    m_notifier.reset();
    ::close(g_fds[0]);
    ::close(g_fds[1]);
    g_fds[0] = g_fds[1] = -1;
}

void SignalQuit::OnSignal()
{
    char buffer[16];
    while (::read(g_fds[1], buffer, sizeof buffer) == static_cast<ssize_t>(sizeof buffer)) {
    }
    // Leaves every running event loop, the main one included; a box open at
    // that moment counts as cancelled.
    QCoreApplication::exit(0);
}
