#include "graphics/CDelayCall.h"

CDelayCall::CDelayCall() : m_timer(std::make_unique<QTimer>())
{
    m_timer->setInterval(100);
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] { Tick(); });
}

CDelayCall::~CDelayCall() = default;

void CDelayCall::Call(int interval)
{
    if (m_pending)
        m_timer->stop();
    if (interval != 0 && interval != m_timer->interval())
        m_timer->setInterval(interval);
    m_pending = true;
    m_timer->start();
}

void CDelayCall::Tick()
{
    m_timer->stop();
    if (Callback)
        Callback();
    m_pending = false;
}
