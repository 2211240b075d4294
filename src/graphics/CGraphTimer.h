#pragma once
#include "graphics/CTransBitmap.h"

#include <QTimer>
#include <functional>
#include <memory>

class CDynamicPlace;

// The automatic-paging timer of the repetition exercises, with the small timer
// picture the active exercise draws while it runs.
class CGraphTimer
{
public:
    CGraphTimer(int x, int y);
    ~CGraphTimer();

    void Start(int interval);
    void Stop();
    void Pause();
    void Resume();
    void SetOnTimer(std::function<void()> handler);
    void LoadImage(CDynamicPlace& table);
    void Draw(QImage& dest, const QImage& background);

    bool IsRunning() const { return m_timer->isActive(); }
    bool IsPaused() const { return m_paused; }
    int Interval() const { return m_timer->interval(); }
    CTransBitmap& Picture() { return m_picture; }

private:
    std::unique_ptr<QTimer> m_timer;
    int m_x;
    int m_y;
    CTransBitmap m_picture;
    bool m_paused = false;
    std::function<void()> m_onTimer;
};
