#pragma once
#include <QTimer>
#include <functional>
#include <memory>

// Calls Callback once, a given time after the last Call; a new Call before it
// fired restarts the wait.
class CDelayCall
{
public:
    CDelayCall();
    ~CDelayCall();

    std::function<void()> Callback;

    void Call(int interval);
    bool IsPending() const { return m_pending; }
    int Interval() const { return m_timer->interval(); }

private:
    void Tick();

    std::unique_ptr<QTimer> m_timer;
    bool m_pending = false;
};
