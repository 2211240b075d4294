#pragma once
#include <QObject>
#include <memory>

class QSocketNotifier;

// Ends the program in order when the desktop or a terminal asks it to
// (SIGTERM at log-out or shutdown, SIGINT, SIGHUP): the event loops are left as
// when the main window is closed, so every window goes through its usual end
// and the active patient's record is saved. A signal handler may only write to
// a pipe; the quitting itself happens in the event loop.
class SignalQuit : public QObject
{
    Q_OBJECT
public:
    explicit SignalQuit(QObject* parent = nullptr);
    ~SignalQuit() override;
    SignalQuit(const SignalQuit&) = delete;
    SignalQuit& operator=(const SignalQuit&) = delete;

private:
    void OnSignal();

    std::unique_ptr<QSocketNotifier> m_notifier;
};
