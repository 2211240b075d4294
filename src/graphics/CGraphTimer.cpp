#include "graphics/CGraphTimer.h"

#include "graphics/BlendKernels.h"
#include "graphics/CDynamicPlace.h"

CGraphTimer::CGraphTimer(int x, int y) : m_timer(std::make_unique<QTimer>()), m_x(x), m_y(y)
{
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] {
        if (m_onTimer)
            m_onTimer();
    });
}

CGraphTimer::~CGraphTimer() = default;

void CGraphTimer::Start(int interval)
{
    m_timer->stop();
    if (interval >= 0)
        m_timer->setInterval(interval);
    m_timer->start();
    m_paused = false;
}

void CGraphTimer::Stop()
{
    m_timer->stop();
    m_paused = false;
}

void CGraphTimer::Pause()
{
    if (!m_timer->isActive())
        return;
    m_paused = true;
    m_timer->stop();
}

void CGraphTimer::Resume()
{
    if (m_timer->isActive()) {
        m_timer->start(); // the interval starts anew
    } else if (m_paused) {
        m_paused = false;
        m_timer->start();
    }
}

void CGraphTimer::SetOnTimer(std::function<void()> handler)
{
    const bool running = m_timer->isActive();
    m_timer->stop();
    m_onTimer = std::move(handler);
    if (running)
        m_timer->start();
}

void CGraphTimer::LoadImage(CDynamicPlace& table)
{
    table.GetTransBitmap(m_picture);
    table.Next();
}

void CGraphTimer::Draw(QImage& dest, const QImage& background)
{
    const QImage* image = m_picture.Image();
    const QImage* mask = m_picture.Mask();
    if (!m_timer->isActive() || !image || !mask)
        return;
    BlendClipped(dest, m_x, m_y, 255, background, m_x, m_y,
                 QRect(0, 0, image->width(), image->height()), *mask, *image);
}
